// The audio cues: the process-wide effects and music players, and the
// operations the scenes and the gameplay call.
#include "audio/cues.h"

#include "audio/sequencer.h"
#include "audio/sound_effect.h"

namespace {

const char* const effect_files[SoundEffectCount] = {
    "res/carsol_1.wav", "res/coffin_1.wav", "res/dead.wav",   "res/enter_2.wav",
    "res/fire_4.wav",   "res/ice_1.wav",    "res/jump_1.wav", "res/walk_1.wav",
    "res/star_1.wav",   "res/star_2.wav",   "res/point.wav",  "res/star_4.wav",
};

SoundEffect effects[SoundEffectCount];

// One player per track. Defined in this order, they are torn down at exit
// in the reverse one: result, game, title.
MidiSequencer title_music;
MidiSequencer game_music;
MidiSequencer result_music;

void play_track(MidiSequencer* seq, const char* file) {
    sequencer_load(seq, file);
    sequencer_play(seq);
}

}  // namespace

void audio_setup() {
    for (SoundEffect& effect : effects) effect_bind(&effect);
    sequencer_init(&title_music);
    sequencer_init(&game_music);
    sequencer_init(&result_music);
    for (int id = 0; id < SoundEffectCount; ++id) effect_load(&effects[id], effect_files[id]);
}

void play_effect(int id) {
    if (id < 0 || id >= SoundEffectCount) return;
    effect_play(&effects[id], 0);
}

void play_title_music() { play_track(&title_music, "res/title.MID"); }
void stop_title_music() { sequencer_unload(&title_music); }
void play_game_music() { play_track(&game_music, "res/game.MID"); }
void stop_game_music() { sequencer_unload(&game_music); }
void play_result_music() { play_track(&result_music, "res/result.mid"); }
void stop_result_music() { sequencer_unload(&result_music); }
