// The WinMM timer service, file replacement, keys and joystick of the Win32
// backend under Wine.
#include <gtest/gtest.h>

#include <atomic>
#include <cstdio>
#include <string>

#include "platform/files.h"
#include "platform/joystick.h"
#include "platform/keys.h"
#include "platform/timer.h"
#include "platform/window.h"
#include "platform/win32/win32_backend.h"

namespace {

struct Ticks {
    std::atomic<int> count{0};
    std::atomic<unsigned> last_id{0};
};

void count_tick(unsigned id, void* user) {
    Ticks* ticks = static_cast<Ticks*>(user);
    ticks->last_id = id;
    ticks->count += 1;
}

// Waits up to `ms` milliseconds for at least `count` ticks.
int wait_for_ticks(const Ticks& ticks, int count, int ms) {
    for (int waited = 0; waited < ms && ticks.count < count; waited += 5) Sleep(5);
    return ticks.count;
}

TEST(Win32Timer, PeriodicTimerTicksWithItsIdUntilKilled) {
    TimerCaps caps = {0, 0};
    ASSERT_EQ(timer_get_caps(&caps), 0u);
    EXPECT_GE(caps.period_min, 1u);
    EXPECT_GE(caps.period_max, caps.period_min);

    timer_begin_period(1);
    Ticks ticks;
    const unsigned id = timer_set_event(1, 1, count_tick, &ticks);
    ASSERT_NE(id, 0u);
    EXPECT_GE(wait_for_ticks(ticks, 20, 2000), 20);
    EXPECT_EQ(ticks.last_id, id);
    timer_kill_event(id);
    Sleep(20);  // an event already on its way may still land
    const int after_kill = ticks.count;
    Sleep(60);
    EXPECT_EQ(ticks.count, after_kill);
    timer_end_period(1);

    EXPECT_EQ(timer_set_event(1, 1, nullptr, nullptr), 0u);
    EXPECT_EQ(timer_set_event(0, 1, count_tick, &ticks), 0u);
}

// A timer whose callback kills itself and starts its successor, as the music
// does at every tempo change and at the loop of a song.
struct Relay {
    std::atomic<unsigned> first{0};
    std::atomic<unsigned> second{0};
    Ticks successor;
    std::atomic<int> first_calls{0};
};

void relay_tick(unsigned id, void* user) {
    Relay* relay = static_cast<Relay*>(user);
    relay->first_calls += 1;
    if (relay->second != 0) return;  // a late event of the killed timer
    timer_kill_event(id);
    relay->second = timer_set_event(1, 1, count_tick, &relay->successor);
}

TEST(Win32Timer, CallbackKillsItsOwnTimerAndStartsANewOneWithAFreshId) {
    Relay relay;
    relay.first = timer_set_event(1, 1, relay_tick, &relay);
    ASSERT_NE(relay.first, 0u);
    EXPECT_GE(wait_for_ticks(relay.successor, 10, 2000), 10);
    const unsigned second = relay.second;
    EXPECT_GT(second, relay.first.load());  // ids are never reused
    EXPECT_EQ(relay.successor.last_id, second);
    const int first_calls = relay.first_calls;
    Sleep(50);
    EXPECT_EQ(relay.first_calls, first_calls);  // the killed timer stays dead
    timer_kill_event(second);
    timer_kill_event(second);  // killing twice is harmless
    timer_kill_event(0);
}

std::string read_file(const char* path) {
    std::string text;
    if (FILE* f = std::fopen(path, "rb")) {
        char buffer[64];
        size_t n;
        while ((n = std::fread(buffer, 1, sizeof buffer, f)) > 0) text.append(buffer, n);
        std::fclose(f);
    }
    return text;
}

void write_file(const char* path, const char* text) {
    FILE* f = std::fopen(path, "wb");
    ASSERT_NE(f, nullptr);
    std::fputs(text, f);
    std::fclose(f);
}

TEST(Win32Files, ReplaceTakesTheNewFileOrLeavesTheOldOne) {
    const char from[] = "test_windows_new.txt";
    const char to[] = "test_windows_ranking.txt";
    write_file(to, "00100\n");
    write_file(from, "00250\n");
    EXPECT_EQ(file_replace(from, to), 1);
    EXPECT_EQ(read_file(to), "00250\n");
    EXPECT_EQ(GetFileAttributesA(from), INVALID_FILE_ATTRIBUTES);  // moved, not copied

    EXPECT_EQ(file_replace("test_windows_missing.txt", to), 0);
    EXPECT_EQ(read_file(to), "00250\n");
    write_file(from, "00300\n");
    EXPECT_EQ(file_replace(from, to), 1);  // a target that exists is replaced
    EXPECT_EQ(read_file(to), "00300\n");
    DeleteFileA(to);
}

void send_key(WORD key, bool down) {
    INPUT input = {};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = key;
    input.ki.dwFlags = down ? 0 : KEYEVENTF_KEYUP;
    SendInput(1, &input, sizeof input);
}

TEST(Win32Keys, KeyStateIsReadAtTheMomentOfTheQuery) {
    // As in the game, the keys are read while its window is in front.
    ASSERT_EQ(window_create(0), 1);
    HWND window = win32_main_window();
    SetForegroundWindow(window);
    while (window_pump_message() == PumpDispatched) {
    }
    for (int code : {0, -1, 256, 1000}) EXPECT_EQ(keys_down(code), 0) << code;
    send_key('Z', true);
    EXPECT_EQ(keys_down('Z'), 1);
    EXPECT_EQ(keys_down('X'), 0);
    send_key('Z', false);
    EXPECT_EQ(keys_down('Z'), 0);
    DestroyWindow(window);
    for (int pass = 0; pass < 1000 && window_pump_message() != PumpQuit; ++pass) {
    }
}

TEST(Win32Joystick, NoJoystickFailsBothQueriesAndLeavesTheRecords) {
    // Wine under Xvfb has no joystick, like a machine with none plugged in.
    JoystickCaps caps = {7, 9};
    JoystickReading reading = {1, 2, 3};
    EXPECT_NE(joystick_get_caps(15, &caps), 0u);
    EXPECT_NE(joystick_get_reading(15, &reading), 0u);
    EXPECT_EQ(caps.x_max, 7u);
    EXPECT_EQ(reading.buttons, 3u);
}

}  // namespace
