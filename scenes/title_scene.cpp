// The title screen: a still picture with a looping seven-frame effect over
// it and a five-frame start prompt. The decide button fades to black and
// asks for the game. Its initialise also prepares the whole run: the sound
// effects, the music players and the game's sprites.
#include "scenes/title_scene.h"

#include "audio/cues.h"
#include "game/corpses.h"
#include "game/game_state.h"
#include "input/input.h"
#include "render/sprite.h"
#include "scenes/fade.h"
#include "scenes/scene_manager.h"

namespace {

// scene_phase as the title uses it.
enum TitlePhase {
    TitleFadingIn = 1,   // from black
    TitleShown = 2,      // waiting for the decide button
    TitleFadingOut = 3,  // to black, then the game
};

// Animation steps in frames of the strip per update, and the strip ends.
// With these float steps the effect shows its frames 0..6 for 5, 5, 5, 5,
// 6, 5, 5 updates and the prompt its frames 0..4 for 8, 7, 7, 7, 7: both
// cycles last 36 updates, and frame 7 of the effect and frame 5 of the
// prompt never show.
constexpr double effect_step = 0.2;
constexpr double effect_end = 7.0;
constexpr double prompt_step = 0.14;
constexpr double prompt_end = 5.0;

constexpr float prompt_x = 140.0f;  // pixels
constexpr float prompt_y = 360.0f;

// One animation step: the sum is formed in double and stored as a float,
// and a value past the end starts the strip again.
float advance_frame(float counter, double step, double end) {
    const float next = static_cast<float>(static_cast<double>(counter) + step);
    return next > end ? 0.0f : next;
}

}  // namespace

int title_scene_init() {
    audio_setup();
    reset_stage();
    game.scene_phase = TitleFadingIn;
    sprite_init(game.title_background);
    sprite_load(game.title_background, "res/title.png", 640, 480, 1, 1, 0);
    sprite_init(game.title_effect);
    sprite_load(game.title_effect, "res/title_efect_1.png", 640, 480, 7, 1, 0);
    sprite_init(game.title_start);
    sprite_load(game.title_start, "res/title_start.png", 340, 75, 1, 5, 0);
    play_title_music();
    sprite_set_position(game.title_start, prompt_x, prompt_y);
    return 1;
}

void title_scene_update() {
    if (game.scene_phase == TitleFadingIn) {
        if (fade_in_step()) game.scene_phase = TitleShown;
    } else if (game.scene_phase == TitleFadingOut) {
        if (fade_out_step()) {
            game.scene_phase = TitleFadingIn;
            request_scene(Game);
        }
    }

    // The animations run in every phase.
    game.title_effect_frame = advance_frame(game.title_effect_frame, effect_step, effect_end);
    game.title_start_frame = advance_frame(game.title_start_frame, prompt_step, prompt_end);
    sprite_set_frame(game.title_effect, static_cast<int32_t>(game.title_effect_frame));
    sprite_set_frame(game.title_start, static_cast<int32_t>(game.title_start_frame));

    // Only a press seen while the title is shown counts; the phase is
    // checked after the fade step, so a press in the frame the fade-in
    // ends starts the fade-out at once.
    if (button_pressed(game.input, Button2) && game.scene_phase == TitleShown) {
        play_effect(Enter);
        game.scene_phase = TitleFadingOut;
    }
}

void title_scene_draw() {
    sprite_draw(game.title_background);
    sprite_draw(game.title_effect);
    sprite_draw(game.title_start);
    sprite_draw(game.fade_sprite);
}

// The effect and prompt textures stay loaded: the next reset_stage releases
// them before the title loads them again.
void title_scene_release() {
    sprite_release(game.title_background);
    stop_title_music();
}
