// Corpse selection, burning and freezing. The selection compares the
// corpse positions snapshotted at the start of this frame's player steps
// with the player's position at that moment (prev_x). The two directions
// break ties differently, which decides the order a stack is visited in.
#include "game/selection.h"

#include "audio/cues.h"
#include "game/corpses.h"
#include "game/game_state.h"

namespace {

constexpr float marker_dx = 7.0f;  // the marker stands over the corpse, pixels
constexpr float marker_dy = -5.0f;
constexpr float fire_dx = -11.0f, fire_dy = -41.0f;  // the fire over a burned corpse
constexpr float ice_dx = -10.0f, ice_dy = -18.0f;    // the ice block around a frozen one
constexpr float burned_y = 1000.0f;                  // a burned corpse leaves the screen

int usable(int i, int skip) { return game.corpse_on_screen[i] == 1 && i != skip; }

void select_right_from_none() {
    const float p = game.prev_x;
    const float* x = game.corpse_x;
    const float* y = game.corpse_y;
    int found = 0;
    for (int i = 0; i < corpse_slots; ++i) {
        if (!usable(i, game.selected_corpse)) continue;
        const int sel = game.selected_corpse;
        if (x[i] > p && found == 0) {
            game.selected_corpse = i;
            found = 1;
            place_marker_on(i);
        } else if (found == 1 && x[sel] >= x[i] && x[i] >= p) {
            if (x[i] != x[sel] || y[i] > y[sel]) {
                game.selected_corpse = i;
                place_marker_on(i);
            }
        }
    }
}

void select_right_from(int c) {
    const float* x = game.corpse_x;
    const float* y = game.corpse_y;
    int best = c;
    int found = 0;
    for (int i = 0; i < corpse_slots; ++i) {
        if (!usable(i, c)) continue;
        if (y[i] > y[c] && x[i] == x[c]) continue;  // below c in its column
        if (x[i] >= x[best] && found == 0) {
            best = i;
            found = 1;
            continue;
        }
        if (found == 1 && x[c] <= x[i] && x[i] <= x[best]) {
            if (x[i] != x[best])
                best = i;
            else if (y[i] < y[c] && y[i] > y[best])
                best = i;
        }
    }
    game.selected_corpse = best;
    place_marker_on(best);
}

void select_left_from_none() {
    const float p = game.prev_x;
    const float* x = game.corpse_x;
    const float* y = game.corpse_y;
    int found = 0;
    for (int i = 0; i < corpse_slots; ++i) {
        if (!usable(i, game.selected_corpse)) continue;
        const int sel = game.selected_corpse;
        if (p > x[i] && found == 0) {
            game.selected_corpse = i;
            found = 1;
            place_marker_on(i);
        } else if (found == 1 && x[sel] <= x[i] && x[i] <= p) {
            if (x[i] != x[sel] || y[i] < y[sel]) {
                game.selected_corpse = i;
                place_marker_on(i);
            }
        }
    }
}

void select_left_from(int c) {
    const float* x = game.corpse_x;
    const float* y = game.corpse_y;
    int best = c;
    int found = 0;
    for (int i = 0; i < corpse_slots; ++i) {
        if (!usable(i, c)) continue;
        if (y[i] < y[c] && x[i] == x[c]) continue;  // above c in its column
        if (x[i] <= x[best] && found == 0) {
            best = i;
            found = 1;
            continue;
        }
        if (found == 1 && x[best] <= x[i] && x[i] <= x[c]) {
            if (x[i] != x[c])
                best = i;
            else if (y[i] > y[c] && y[i] < y[best])
                best = i;
        }
    }
    game.selected_corpse = best;
    place_marker_on(best);
}

int valid_slot(int s) { return s >= 0 && s < corpse_slots; }

}  // namespace

void place_marker_on(int slot) {
    if (!valid_slot(slot)) return;
    sprite_set_position(game.selection_marker, sprite_get_x(game.corpse[slot]) + marker_dx,
                        sprite_get_y(game.corpse[slot]) + marker_dy);
}

void select_right() {
    if (game.selected_corpse == -1)
        select_right_from_none();
    else if (valid_slot(game.selected_corpse))
        select_right_from(game.selected_corpse);
}

void select_left() {
    if (game.selected_corpse == -1)
        select_left_from_none();
    else if (valid_slot(game.selected_corpse))
        select_left_from(game.selected_corpse);
}

void start_area_actions() {
    if (game.selected_corpse != -1) place_marker_on(game.selected_corpse);
    // The cursor sounds even when the selection does not change.
    if (button_pressed(game.input, Button6)) {
        play_effect(Cursor);
        select_right();
    } else if (button_pressed(game.input, Button5)) {
        play_effect(Cursor);
        select_left();
    }
    const int s = game.selected_corpse;
    if (button_pressed(game.input, Up) && valid_slot(s) && game.corpse_on_screen[s] == 1 &&
        game.corpse_frozen[s] == 0) {
        play_effect(Fire);
        game.fire_anim[s] = 0.0f;
        park_sprite(game.selection_marker);
        sprite_set_position(game.fire[s], sprite_get_x(game.corpse[s]) + fire_dx,
                            sprite_get_y(game.corpse[s]) + fire_dy);
        sprite_set_y(game.corpse[s], burned_y);
    }
    if (button_pressed(game.input, Down) && valid_slot(s) && game.corpse_on_screen[s] == 1) {
        play_effect(Ice);
        park_sprite(game.selection_marker);
        game.corpse_frozen[s] = 1;
        game.corpse_fall[s] = 0.0f;
        sprite_set_position(game.ice[s], sprite_get_x(game.corpse[s]) + ice_dx,
                            sprite_get_y(game.corpse[s]) + ice_dy);
    }
}
