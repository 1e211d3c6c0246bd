// Headless timer: periodic timers that run only when the caller advances
// time, so tests step a sequencer millisecond by millisecond.
#include <atomic>
#include <chrono>
#include <mutex>
#include <thread>

#include "platform/headless/headless.h"
#include "platform/headless/headless_audio.h"
#include "platform/timer.h"

namespace {

struct HeadlessTimer {
    unsigned id;  // 0: free slot
    unsigned delay_ms;
    unsigned elapsed_ms;
    TimerCallback callback;
    void* user;
};

enum { timer_capacity = 64 };
HeadlessTimer timers[timer_capacity];
unsigned next_id = 1;
int periods = 0;
std::recursive_mutex timer_lock;

}  // namespace

unsigned timer_get_caps(TimerCaps* caps) {
    caps->period_min = 1;
    caps->period_max = 1000000;
    return 0;
}

void timer_begin_period(unsigned) {
    std::lock_guard<std::recursive_mutex> hold(timer_lock);
    periods += 1;
}

void timer_end_period(unsigned) {
    std::lock_guard<std::recursive_mutex> hold(timer_lock);
    periods -= 1;
}

unsigned timer_set_event(unsigned delay_ms, unsigned, TimerCallback callback, void* user) {
    std::lock_guard<std::recursive_mutex> hold(timer_lock);
    if (!callback || delay_ms == 0) return 0;
    for (HeadlessTimer& t : timers) {
        if (t.id == 0) {
            t.id = next_id++;
            t.delay_ms = delay_ms;
            t.elapsed_ms = 0;
            t.callback = callback;
            t.user = user;
            return t.id;
        }
    }
    return 0;
}

void timer_kill_event(unsigned timer_id) {
    std::lock_guard<std::recursive_mutex> hold(timer_lock);
    if (timer_id == 0) return;
    for (HeadlessTimer& t : timers)
        if (t.id == timer_id) t.id = 0;
}

void headless_timer_advance(unsigned ms) {
    for (unsigned step = 0; step < ms; ++step) {
        // Callbacks may kill or set timers: walk by id, re-checking each slot.
        for (int i = 0; i < timer_capacity; ++i) {
            unsigned id;
            TimerCallback callback;
            void* user;
            {
                std::lock_guard<std::recursive_mutex> hold(timer_lock);
                HeadlessTimer& t = timers[i];
                if (t.id == 0) continue;
                t.elapsed_ms += 1;
                if (t.elapsed_ms < t.delay_ms) continue;
                t.elapsed_ms = 0;
                id = t.id;
                callback = t.callback;
                user = t.user;
            }
            callback(id, user);
        }
    }
}

int headless_timers_armed() {
    std::lock_guard<std::recursive_mutex> hold(timer_lock);
    int n = 0;
    for (const HeadlessTimer& t : timers)
        if (t.id != 0) n += 1;
    return n;
}

int headless_timer_periods() {
    std::lock_guard<std::recursive_mutex> hold(timer_lock);
    return periods;
}

// A real timer thread, for tests of the music against the main thread.
namespace {
std::thread timer_thread;
std::atomic<int> thread_running{0};
}  // namespace

void headless_timer_start_thread(unsigned pace_us) {
    if (thread_running.exchange(1)) return;
    timer_thread = std::thread([pace_us] {
        while (thread_running.load()) {
            headless_timer_advance(1);
            std::this_thread::sleep_for(std::chrono::microseconds(pace_us));
        }
    });
}

void headless_timer_stop_thread() {
    if (!thread_running.exchange(0)) return;
    timer_thread.join();
}
