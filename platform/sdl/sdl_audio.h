#pragma once
// The one SDL audio device the MIDI output and the sound output share, and
// what its callback renders: the synthesizer with the MIDI messages due in
// the buffer placed at their own sample offsets, then the effect voices.

// The stream: 48000 frames a second, two float channels (left, right).
constexpr int sdl_audio_rate = 48000;
// Frames per device buffer: 512 frames are 10.7 ms, short enough that an
// effect starts within a frame of the game (16.7 ms) of its cue.
constexpr int sdl_audio_buffer_frames = 512;

// Opens the device on first use (later calls only report). 1 while it runs.
int sdl_audio_open();
// Closes the device (tests and tools: the disk driver's file is complete
// afterwards); the next use opens it again.
void sdl_audio_close();

// Seconds on the steady clock: the time stamps of the MIDI messages.
double sdl_audio_clock();
// Renders `frames` interleaved stereo frames of the buffer whose callback
// runs at `now` (sdl_audio_clock seconds). The device callback calls this;
// the timing benchmark calls it directly at a pace of its own.
void sdl_audio_render(float* out, int frames, double now);
// Seconds between a MIDI message's time stamp and the moment its sample
// is handed to the device: one buffer plus a margin for callback jitter.
double sdl_audio_latency();
// Forgets the stream clock, as for a newly opened device.
void sdl_audio_restart_clock();

// sdl_midi.cpp: renders the synthesizer over out (silence without one),
// applying each queued message at the frame its time stamp maps to; frame
// 0 of the buffer stands for messages stamped `first_frame_time`.
void sdl_midi_render(float* out, int frames, double first_frame_time);
// sdl_sound.cpp: adds the sounding voices into out.
void sdl_sound_mix(float* out, int frames);
