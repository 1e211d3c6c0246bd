#pragma once
// The table between the game and its audio: the scenes start and stop
// their music here, and gameplay plays effects by id.

// The twelve effects, in the order they are bound and loaded.
enum SoundEffectId {
    Cursor = 0,  // "res/carsol_1.wav": a corpse-selection button pressed
    Coffin,      // "res/coffin_1.wav": the coffin is reached
    Dead,        // "res/dead.wav": a death by a hazard or by self-destruction
    Enter,       // "res/enter_2.wav": the decide button taken by a scene
    Fire,        // "res/fire_4.wav": a corpse is burned
    Ice,         // "res/ice_1.wav": a corpse is frozen
    Jump,        // "res/jump_1.wav": a jump starts
    Walk,        // "res/walk_1.wav": loaded, never played
    Star1,       // "res/star_1.wav": each star of the clear display
    Star2,       // "res/star_2.wav": the star display is complete
    Point,       // "res/point.wav": the count-up reaches the total
    Star4,       // "res/star_4.wav": each step of the score count-up
    SoundEffectCount
};

// Binds and loads the twelve effects and resets the three music players.
void audio_setup();
void play_effect(int id);
void play_title_music();
void stop_title_music();
void play_game_music();
void stop_game_music();
void play_result_music();
void stop_result_music();
