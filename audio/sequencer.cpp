// The music sequencer and its timer. Every millisecond the timer callback
// works out how many MIDI ticks should have passed since the song (or its
// last tempo change) started and plays the missing ones, at most ten per
// event, so a timer thread that fell behind catches up without a burst.
#include "audio/sequencer.h"

#include <cstring>
#include <new>

#include "audio/data_source.h"

namespace {

constexpr uint32_t controller_bank_select = 0;
constexpr uint32_t controller_volume = 7;
constexpr uint32_t controller_pan = 10;
constexpr uint32_t controller_reverb = 91;
constexpr uint32_t controller_chorus = 93;
constexpr uint32_t controller_all_sound_off = 120;

uint32_t control_change(uint32_t channel, uint32_t controller, uint32_t value) {
    return (0xB0 + channel) | controller << 8 | value << 16;
}

uint8_t clamp_volume(uint8_t v) { return v > 127 ? 127 : v; }

void send(MidiSequencer* seq, uint32_t message) {
    if (seq->device) midi_out_short(seq->device, message);
}

void clear_channels(MidiSequencer* seq) { std::memset(seq->channels, 0, sizeof seq->channels); }

// Stops the timer and waits for a tick still running on the timer thread;
// from then on nothing of the sequencer is touched there.
void halt(MidiSequencer* seq) {
    {
        std::lock_guard<std::mutex> hold(seq->handshake);
        seq->stopped = 1;
    }
    seq->timer.Stop();
    {
        std::unique_lock<std::mutex> hold(seq->handshake);
        seq->tick_done.wait(hold, [seq] { return seq->busy.load() == 0; });
    }
    // A tick that was running as the stop began may have armed a new timer
    // (a tempo record, or the loop) before it saw the stop. That one goes
    // too, so that after a stop no timer is armed and no period is held.
    seq->timer.Stop();
}

// Reads a whole item through a data source into a new buffer.
unsigned char* read_item(const char* name, uint32_t* size) {
    DataSource source = {};
    data_source_set_type(&source, nullptr);
    unsigned char* bytes = nullptr;
    if (data_source_open(&source, name)) {
        *size = data_source_size(&source);
        if (*size) bytes = new (std::nothrow) unsigned char[*size];
        if (bytes) {
            const uint32_t read = data_source_read(&source, bytes, *size);
            if (read != (source.kind == SourceFile ? *size : 1u)) {
                delete[] bytes;
                bytes = nullptr;
            }
        }
    }
    data_source_close(&source);
    return bytes;
}

}  // namespace

// ---------------------------------------------------------------- timer

CDxMTimer::CDxMTimer() : timer_id(0), period_held(0) {
    caps.period_min = 1;
    caps.period_max = 1;
    timer_get_caps(&caps);
}

CDxMTimer::~CDxMTimer() { Stop(); }

void CDxMTimer::OnTimer() {}

void CDxMTimer::own_callback(unsigned, void* user) { static_cast<CDxMTimer*>(user)->OnTimer(); }

unsigned CDxMTimer::Start(unsigned delay_ms, TimerCallback callback, void* user) {
    Stop();
    if (!period_held.exchange(1)) timer_begin_period(caps.period_min);
    const unsigned id = callback ? timer_set_event(delay_ms, caps.period_min, callback, user)
                                 : timer_set_event(delay_ms, caps.period_min, own_callback, this);
    timer_id = id;
    return id;
}

void CDxMTimer::Stop() {
    const unsigned id = timer_id.exchange(0);
    if (id) timer_kill_event(id);
    if (period_held.exchange(0)) timer_end_period(caps.period_min);
}

// ---------------------------------------------------------------- main thread

MidiSequencer::MidiSequencer()
    : busy(0),
      stopped(0),
      timer_delay(1),
      rate_numerator(0),
      ms_count(0),
      target_tick(0),
      done_ticks(0),
      tempo(sequencer_default_tempo),
      wait(0),
      channels(),
      sequence(),
      device(nullptr) {}

MidiSequencer::~MidiSequencer() {
    halt(this);
    if (device) {
        midi_out_reset(device);
        midi_out_close(device);
        device = nullptr;
    }
    midi_clear(&sequence);
}

void sequencer_init(MidiSequencer* seq) { seq->busy = 0; }

int sequencer_load(MidiSequencer* seq, const char* name) {
    sequencer_stop(seq);
    uint32_t size = 0;
    unsigned char* image = read_item(name, &size);
    if (!image) return 0;
    const int parsed = midi_parse(&seq->sequence, image, size);
    delete[] image;
    if (!parsed) return 0;
    clear_channels(seq);
    seq->wait = 0;
    seq->tempo = sequencer_default_tempo;
    return 1;
}

int sequencer_play(MidiSequencer* seq) {
    // A song without a single record would only loop: it has nothing to play.
    if (!seq->sequence.records || seq->sequence.count == 0) return 0;
    sequencer_stop(seq);
    seq->stopped = 0;
    clear_channels(seq);
    seq->wait = 0;
    seq->tempo = sequencer_default_tempo;
    seq->sequence.play_index = 0;
    if (!midi_out_open(&seq->device)) seq->device = nullptr;
    sequencer_retime(seq);
    return 1;
}

int sequencer_stop(MidiSequencer* seq) {
    halt(seq);
    if (seq->device) {
        for (uint32_t n = 0; n < 16; ++n) send(seq, control_change(n, controller_volume, 0));
        midi_out_reset(seq->device);
        midi_out_close(seq->device);
        seq->device = nullptr;
    }
    return 1;
}

int sequencer_unload(MidiSequencer* seq) {
    if (!seq->sequence.records) return 0;
    sequencer_stop(seq);
    midi_clear(&seq->sequence);
    return 1;
}

// ---------------------------------------------------------------- timer thread

void sequencer_timer_callback(unsigned timer_id, void* user) {
    MidiSequencer* seq = static_cast<MidiSequencer*>(user);
    std::unique_lock<std::mutex> hold(seq->handshake);
    if (seq->stopped) {
        // A timer a tick armed while a stop was under way ends itself here.
        hold.unlock();
        timer_kill_event(timer_id);
        return;
    }
    if (timer_id != seq->timer.timer_id) return;  // an event of a replaced timer
    seq->ms_count += 1;
    if (seq->busy) return;
    seq->busy = 1;
    hold.unlock();
    sequencer_tick(seq);
    hold.lock();
    seq->busy = 0;
    seq->tick_done.notify_all();
}

void sequencer_tick(MidiSequencer* seq) {
    if (seq->sequence.play_index < seq->sequence.count) {
        const uint32_t tempo = seq->tempo ? seq->tempo : sequencer_default_tempo;
        seq->target_tick = uint32_t(uint64_t(seq->ms_count) * seq->rate_numerator / tempo);
        for (uint32_t i = 0; i < sequencer_catch_up_ticks; ++i) {
            if (seq->done_ticks >= seq->target_tick) break;
            sequencer_step(seq);
            seq->done_ticks += 1;
        }
    } else {
        // The end of the list: the song loops.
        seq->timer.Stop();
        seq->sequence.play_index = 0;
        seq->wait = 0;
        sequencer_restart(seq);
    }
}

void sequencer_step(MidiSequencer* seq) {
    if (seq->wait > 0) {
        seq->wait -= 1;
        return;
    }
    MidiSequence& s = seq->sequence;
    for (;;) {
        if (s.play_index >= s.count) return;
        const MidiEvent& r = s.records[s.play_index];
        const uint8_t status = r.status;
        if (status == 0xF0) {
            const uint32_t index = midi_event_value(r);
            if (seq->device && index < s.sysex_count) {
                midi_out_prepare(seq->device, &s.sysex[index]);
                midi_out_long(seq->device, &s.sysex[index]);
            }
        } else if (status == 0xFF) {
            // A tempo pair: the low half here, the high half in the next record.
            seq->tempo = midi_event_value(r) | midi_event_value(s.records[s.play_index + 1]) << 16;
            s.play_index += 1;
            sequencer_retime(seq);
        } else if (status >= 0xC0 && status <= 0xCF) {
            seq->channels[status & 0x0F].program = r.data1;
            send(seq, midi_event_message(r));
        } else if (status >= 0xB0 && status <= 0xBF) {
            ChannelState& c = seq->channels[status & 0x0F];
            MidiEvent sent = r;
            switch (r.data1) {
                case controller_bank_select:
                    c.bank_select = r.data2;
                    break;
                case controller_volume:
                    c.volume = r.data2;
                    sent.data2 = clamp_volume(r.data2);
                    break;
                case controller_pan:
                    c.pan = r.data2;
                    break;
                case controller_reverb:
                    c.reverb = r.data2;
                    break;
                case controller_chorus:
                    c.chorus = r.data2;
                    break;
                default:
                    break;
            }
            send(seq, midi_event_message(sent));
        } else {
            send(seq, midi_event_message(r));
        }
        s.play_index += 1;
        seq->wait = s.records[s.play_index].delta;
        if (seq->wait != 0) {
            seq->wait -= 1;
            return;
        }
    }
}

void sequencer_retime(MidiSequencer* seq) {
    if (seq->stopped) return;  // a stop under way: the timer stays dead
    seq->timer_delay = 1;
    seq->rate_numerator = uint32_t(seq->sequence.division) * 1000;
    seq->ms_count = 0;
    seq->done_ticks = 0;
    seq->timer.Start(seq->timer_delay, sequencer_timer_callback, seq);
}

int sequencer_restart(MidiSequencer* seq) {
    if (!seq->sequence.records) return 0;
    if (!seq->device) {
        // No output when the song started: try again at every loop.
        if (midi_out_open(&seq->device)) {
            for (uint32_t n = 0; n < 16; ++n)
                send(seq, control_change(n, controller_all_sound_off, 0));
        } else {
            seq->device = nullptr;
        }
    }
    for (uint32_t n = 0; n < 16; ++n)
        send(seq, (0xC0 + n) | uint32_t(seq->channels[n].program) << 8);
    for (uint32_t n = 0; n < 16; ++n)
        send(seq, control_change(n, controller_bank_select, seq->channels[n].bank_select));
    for (uint32_t n = 0; n < 16; ++n)
        send(seq, control_change(n, controller_pan, seq->channels[n].pan));
    for (uint32_t n = 0; n < 16; ++n)
        send(seq, control_change(n, controller_reverb, seq->channels[n].reverb));
    for (uint32_t n = 0; n < 16; ++n)
        send(seq, control_change(n, controller_chorus, seq->channels[n].chorus));
    for (uint32_t n = 0; n < 16; ++n)
        send(seq, control_change(n, controller_volume, clamp_volume(seq->channels[n].volume)));
    sequencer_retime(seq);
    return 1;
}
