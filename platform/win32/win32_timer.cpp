// The millisecond timer service over WinMM: timer resolution periods and
// periodic multimedia timers. WinMM runs the callbacks on its timer thread;
// each event is forwarded to the service callback with the id the timer was
// given here.
//
// The service's ids are our own, counted from 1 and never reused, because
// the music code tells a replaced timer's late events from the live timer's
// by their id. A table maps each live id to its WinMM timer and callback; an
// event whose id is no longer in the table (its timer was killed while the
// event was on its way) is dropped.
#include "platform/timer.h"
#include "platform/win32/win32_backend.h"

// After windows.h, which it builds on.
#include <mmsystem.h>

namespace {

struct Win32Timer {
    unsigned id;            // the service id; 0: free slot
    UINT system_id;         // WinMM's id; 0 while timeSetEvent has not returned yet
    TimerCallback callback;
    void* user;
};

enum { timer_capacity = 64 };
Win32Timer timers[timer_capacity];
unsigned next_id = 1;

// Guards the table. It is held only to read or change slots, never across a
// callback or a WinMM call, so a callback may kill or start timers itself.
CRITICAL_SECTION table_lock;
INIT_ONCE table_once = INIT_ONCE_STATIC_INIT;

BOOL CALLBACK init_table_lock(PINIT_ONCE, PVOID, PVOID*) {
    InitializeCriticalSection(&table_lock);
    return TRUE;
}

void lock_table() {
    InitOnceExecuteOnce(&table_once, init_table_lock, nullptr, nullptr);
    EnterCriticalSection(&table_lock);
}

void unlock_table() { LeaveCriticalSection(&table_lock); }

Win32Timer* find_timer(unsigned id) {
    if (id == 0) return nullptr;
    for (Win32Timer& t : timers)
        if (t.id == id) return &t;
    return nullptr;
}

// The WinMM callback; its user value carries the service id.
void CALLBACK timer_event(UINT, UINT, DWORD_PTR user, DWORD_PTR, DWORD_PTR) {
    const unsigned id = static_cast<unsigned>(user);
    TimerCallback callback = nullptr;
    void* callback_user = nullptr;
    lock_table();
    if (Win32Timer* t = find_timer(id)) {
        callback = t->callback;
        callback_user = t->user;
    }
    unlock_table();
    if (callback) callback(id, callback_user);
}

}  // namespace

unsigned timer_get_caps(TimerCaps* caps) {
    TIMECAPS system_caps;
    const MMRESULT result = timeGetDevCaps(&system_caps, sizeof system_caps);
    if (result == TIMERR_NOERROR && caps) {
        caps->period_min = system_caps.wPeriodMin;
        caps->period_max = system_caps.wPeriodMax;
    }
    return result;
}

void timer_begin_period(unsigned ms) { timeBeginPeriod(ms); }

void timer_end_period(unsigned ms) { timeEndPeriod(ms); }

unsigned timer_set_event(unsigned delay_ms, unsigned resolution_ms, TimerCallback callback,
                         void* user) {
    if (!callback || delay_ms == 0) return 0;
    lock_table();
    Win32Timer* slot = nullptr;
    for (Win32Timer& t : timers) {
        if (t.id == 0) {
            slot = &t;
            break;
        }
    }
    if (!slot) {
        unlock_table();
        return 0;
    }
    const unsigned id = next_id++;
    slot->id = id;
    slot->system_id = 0;
    slot->callback = callback;
    slot->user = user;
    unlock_table();

    const UINT system_id = timeSetEvent(delay_ms, resolution_ms, timer_event, id,
                                        TIME_PERIODIC | TIME_CALLBACK_FUNCTION);
    lock_table();
    Win32Timer* t = find_timer(id);
    if (system_id == 0) {
        if (t) t->id = 0;  // WinMM refused: the slot is free again
        unlock_table();
        return 0;
    }
    if (t) t->system_id = system_id;
    unlock_table();
    // Killed by its own first event before timeSetEvent returned: the WinMM
    // timer would otherwise go on ticking for nobody.
    if (!t) timeKillEvent(system_id);
    return id;
}

void timer_kill_event(unsigned timer_id) {
    lock_table();
    Win32Timer* t = find_timer(timer_id);
    UINT system_id = 0;
    if (t) {
        system_id = t->system_id;
        t->id = 0;
    }
    unlock_table();
    if (system_id != 0) timeKillEvent(system_id);
}
