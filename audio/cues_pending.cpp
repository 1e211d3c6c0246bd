// Placeholder cues until the audio code lands: the game plays silently.
#include "audio/cues.h"

void audio_setup() {}
void play_effect(int) {}
void play_title_music() {}
void stop_title_music() {}
void play_game_music() {}
void stop_game_music() {}
void play_result_music() {}
void stop_result_music() {}
