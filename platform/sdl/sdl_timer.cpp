// Periodic millisecond timers on one service thread, as the system's
// multimedia timer runs them: every timer's callback in turn on the same
// thread, deadlines kept absolute so the period does not drift, ids never
// reused. A callback may kill its own timer or start a new one.
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

#include "platform/timer.h"

namespace {

using Clock = std::chrono::steady_clock;

struct PeriodicTimer {
    unsigned id;  // 0: free slot
    std::chrono::microseconds period;
    Clock::time_point deadline;
    TimerCallback callback;
    void* user;
};

// A timer that falls further behind than this (the machine was suspended,
// a debugger stopped it) starts again from now instead of firing a burst.
constexpr std::chrono::milliseconds longest_catch_up{100};

enum { timer_capacity = 64 };

struct TimerService {
    std::mutex lock;
    std::condition_variable changed;
    PeriodicTimer timers[timer_capacity] = {};
    unsigned next_id = 1;
    std::thread thread;

    void run() {
        std::unique_lock<std::mutex> hold(lock);
        for (;;) {
            PeriodicTimer* due = nullptr;
            for (PeriodicTimer& t : timers)
                if (t.id != 0 && (!due || t.deadline < due->deadline)) due = &t;
            if (!due) {
                changed.wait(hold);
                continue;
            }
            const Clock::time_point deadline = due->deadline;
            if (Clock::now() < deadline) {
                changed.wait_until(hold, deadline);
                continue;  // look again: timers may have changed meanwhile
            }
            const unsigned id = due->id;
            TimerCallback callback = due->callback;
            void* user = due->user;
            due->deadline += due->period;
            const Clock::time_point now = Clock::now();
            if (due->deadline + longest_catch_up < now) due->deadline = now + due->period;
            hold.unlock();
            callback(id, user);
            hold.lock();
        }
    }
};

// Made on first use and never destroyed: timers may still be killed by
// objects torn down at process exit, after every other static is gone.
TimerService& service() {
    static TimerService* s = [] {
        TimerService* made = new TimerService;
        made->thread = std::thread([made] { made->run(); });
        made->thread.detach();
        return made;
    }();
    return *s;
}

}  // namespace

unsigned timer_get_caps(TimerCaps* caps) {
    caps->period_min = 1;
    caps->period_max = 1000000;
    return 0;
}

// Sleeps and waits here are already fine-grained: a period asks for nothing.
void timer_begin_period(unsigned) {}
void timer_end_period(unsigned) {}

unsigned timer_set_event(unsigned delay_ms, unsigned, TimerCallback callback, void* user) {
    if (!callback || delay_ms == 0) return 0;
    TimerService& s = service();
    std::lock_guard<std::mutex> hold(s.lock);
    for (PeriodicTimer& t : s.timers) {
        if (t.id != 0) continue;
        t.id = s.next_id++;
        if (s.next_id == 0) s.next_id = 1;
        t.period = std::chrono::milliseconds(delay_ms);
        t.deadline = Clock::now() + t.period;
        t.callback = callback;
        t.user = user;
        s.changed.notify_one();
        return t.id;
    }
    return 0;
}

void timer_kill_event(unsigned timer_id) {
    if (timer_id == 0) return;
    TimerService& s = service();
    std::lock_guard<std::mutex> hold(s.lock);
    for (PeriodicTimer& t : s.timers)
        if (t.id == timer_id) t.id = 0;
    s.changed.notify_one();
}
