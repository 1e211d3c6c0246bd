// The result screen: the run's score enters the ten-place ranking, which is
// saved at once and shown in two columns with the new entry marked; the
// decide button fades back to the title.
#include "scenes/result_scene.h"

#include <cstdio>

#include "audio/cues.h"
#include "game/game_state.h"
#include "input/input.h"
#include "render/font.h"
#include "render/sprite.h"
#include "scenes/fade.h"
#include "scenes/ranking.h"
#include "scenes/scene_manager.h"

namespace {

// scene_phase as the result screen uses it.
enum ResultPhase {
    ResultShown = 0,      // idle
    ResultFadingOut = 1,  // after the decide button
    ResultBlack = 2,      // black reached: leave, or fade back in; never outlasts the frame
    ResultFadingIn = 3,   // the phase the game hands over with
};

constexpr int result_font_height = 36;  // pixels
constexpr int column_left[2] = {120, 400};  // places 1-5, places 6-10
constexpr int first_line_top = 180;         // pixels
constexpr int line_spacing = 50;            // pixels between places
constexpr int places_per_column = 5;
// The marker stands 90 pixels left of its line.
constexpr float marker_left[2] = {30.0f, 310.0f};

// Text colours of places 1, 2, 3; every lower place is translucent white.
constexpr uint32_t place_colors[3] = {0xFFC8C800u, 0xFFC8C8FFu, 0xFFC82828u};
constexpr uint32_t lower_place_color = 0xC8FFFFFFu;

// "%2d位 %05d": the place right-aligned in two, 位, a space, the score in five.
const char ranking_line_format[] = "%2d\x88\xca %05d";

}  // namespace

int result_scene_init() {
    game.leave_requested = 0;
    sprite_init(game.result_background);
    sprite_load(game.result_background, "res/result.png", 640, 480, 1, 1, 0);
    sprite_init(game.you_marker);
    sprite_load(game.you_marker, "res/you.png", 80, 40, 1, 1, 0);
    play_result_music();
    font_init(game.result_font);
    font_create(game.result_font, result_font_height, "");

    // Saved before anything is shown, so quitting here loses nothing. A
    // failed save keeps the old files; the screen shows the new ranking
    // all the same.
    ranking_load(game.ranking);
    ranking_insert(game.ranking, game.score);
    ranking_save(game.ranking);
    return 1;
}

void result_scene_update() {
    if (game.scene_phase == ResultFadingOut) {
        if (fade_out_step()) game.scene_phase = ResultBlack;
    }
    if (game.scene_phase == ResultBlack) {
        if (game.leave_requested) {
            request_scene(Title);
            game.leave_requested = 0;
        }
        game.scene_phase = ResultFadingIn;
    }
    if (game.scene_phase == ResultFadingIn) {
        if (fade_in_step()) game.scene_phase = ResultShown;
    }
    if (button_pressed(game.input, Button2)) {
        play_effect(Enter);
        game.leave_requested = 1;
        game.scene_phase = ResultFadingOut;
    }
}

void result_scene_draw() {
    sprite_draw(game.result_background);
    char line[32];
    for (int i = 0; i < ranking_places; ++i) {
        const int place = i + 1;
        // The lowest place holding the score wins.
        if (game.ranking[i] == game.score) game.highlight_rank = i;
        std::snprintf(line, sizeof line, ranking_line_format, place, static_cast<int>(game.ranking[i]));
        const int left = column_left[i / places_per_column];
        const int top = first_line_top + line_spacing * (i % places_per_column);
        const uint32_t color = place <= 3 ? place_colors[i] : lower_place_color;
        font_draw_text(game.result_font, line, left, top, color);
    }
    if (game.ranking[ranking_places - 1] <= game.score && game.score <= game.ranking[0]) {
        const int h = game.highlight_rank;
        if (h < places_per_column) {
            sprite_set_position(game.you_marker, marker_left[0],
                                static_cast<float>(first_line_top + line_spacing * h));
        } else {
            sprite_set_position(game.you_marker, marker_left[1], static_cast<float>(line_spacing * h - 70));
        }
        sprite_draw(game.you_marker);
    }
    sprite_draw(game.fade_sprite);
}

void result_scene_release() {
    stop_result_music();
    sprite_release(game.result_background);
    font_release(game.result_font);
}
