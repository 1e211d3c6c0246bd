#pragma once
// The system's millisecond timer service: timer resolution periods and
// periodic timers whose callbacks run one at a time on the timer thread.

struct TimerCaps {
    unsigned period_min;  // finest resolution in milliseconds
    unsigned period_max;
};

// Called on the timer thread with the id the timer was given.
typedef void (*TimerCallback)(unsigned timer_id, void* user);

// 0 on success.
unsigned timer_get_caps(TimerCaps* caps);
// Ask for (and give back) a system timer resolution of ms milliseconds.
void timer_begin_period(unsigned ms);
void timer_end_period(unsigned ms);
// Starts a periodic timer of delay_ms; returns its id (never reused), 0 on
// failure. A callback may kill its own timer or start another.
unsigned timer_set_event(unsigned delay_ms, unsigned resolution_ms, TimerCallback callback,
                         void* user);
void timer_kill_event(unsigned timer_id);
