#pragma once
// The music sequencer: plays one parsed MIDI file through the MIDI output
// under a periodic 1 ms timer, looping for as long as it plays. Load, play
// and stop run on the main thread; every event is sent from the timer
// callback on the timer thread.
#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <mutex>

#include "audio/midi_file.h"
#include "platform/midi_out.h"
#include "platform/timer.h"

// A periodic timer of the system's timer service. Start replaces a running
// timer; with no callback given the timer calls OnTimer.
class CDxMTimer {
public:
    CDxMTimer();
    virtual ~CDxMTimer();
    virtual void OnTimer();

    // Returns the new timer's id (0 when the service refused).
    unsigned Start(unsigned delay_ms, TimerCallback callback, void* user);
    void Stop();

    // The armed timer's id, 0 when none. Read by the timer thread's
    // callback while the main thread may stop the timer.
    std::atomic<unsigned> timer_id;
    TimerCaps caps;  // read once at construction

private:
    static void own_callback(unsigned timer_id, void* user);
    // 1 while this timer holds a timer period; each begin has one end.
    std::atomic<int> period_held;
};

// What the sequencer remembers of one MIDI channel, to send again when the
// song loops.
struct ChannelState {
    uint8_t program;
    uint8_t bank_select;
    uint8_t pan;
    uint8_t reverb;
    uint8_t chorus;
    uint8_t volume;
};

// Microseconds per quarter note until the song's first tempo record.
constexpr uint32_t sequencer_default_tempo = 400000;
// Most ticks played in one timer event when the timer thread fell behind.
constexpr uint32_t sequencer_catch_up_ticks = 10;

struct MidiSequencer {
    MidiSequencer();
    // At process exit: stop the timer, wait for a running tick, reset and
    // close the device, free the song.
    ~MidiSequencer();

    std::atomic<int> busy;     // 1 while the timer thread is inside sequencer_tick
    std::atomic<int> stopped;  // set by sequencer_stop, cleared by sequencer_play
    uint32_t timer_delay;      // timer period in ms: always 1
    uint32_t rate_numerator;   // division x 1000
    uint32_t ms_count;         // timer events since the last retime
    uint32_t target_tick;      // ticks due since the last retime
    uint32_t done_ticks;       // ticks played since the last retime
    uint32_t tempo;            // microseconds per quarter note
    uint32_t wait;             // ticks before the record at play_index is due
    ChannelState channels[16];
    MidiSequence sequence;
    CDxMTimer timer;
    MidiOutDevice* device;  // open output, or null

    // The handshake between stop and the timer thread: the callback tests
    // `stopped` and sets `busy` under it, stop waits under it for `busy`
    // to clear.
    std::mutex handshake;
    std::condition_variable tick_done;
};

// Main thread.
void sequencer_init(MidiSequencer* seq);
int sequencer_load(MidiSequencer* seq, const char* name);
int sequencer_play(MidiSequencer* seq);
int sequencer_stop(MidiSequencer* seq);
int sequencer_unload(MidiSequencer* seq);

// Timer thread.
void sequencer_timer_callback(unsigned timer_id, void* user);
void sequencer_tick(MidiSequencer* seq);
void sequencer_step(MidiSequencer* seq);
void sequencer_retime(MidiSequencer* seq);
int sequencer_restart(MidiSequencer* seq);
