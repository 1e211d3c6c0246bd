// Corpses, death and respawn, the stage reset and the game objects'
// animations and drawing.
#include "game/corpses.h"

#include "audio/cues.h"
#include "game/collision.h"
#include "game/game_state.h"
#include "game/player.h"
#include "game/stage.h"
#include "scenes/fade.h"

namespace {

constexpr float corpse_fall_speed = 1.5f;  // pixels per frame while unsupported
constexpr float corpse_fall_after_reset = 0.5f;
constexpr float blood_growth = 0.06f;  // scale per frame: 17 frames to full size
constexpr float corpse_dx = 10.0f;     // a corpse lies this far from the player's
constexpr float corpse_dy = 40.0f;     // position at the start of the frame
constexpr float blood_dy = 20.0f;
constexpr int marker_tick_frames = 6;  // frames per selection marker frame

// Where the HUD's corpse counter and boards stand, pixels.
constexpr float digit_hundreds_x = 110.0f, digit_tens_x = 130.0f, digit_ones_x = 150.0f;
constexpr float digit_y = 425.0f;
constexpr float corpse_board_x = 15.0f, death_board_x = 180.0f, board_y = 400.0f;

void load(Sprite& sprite, const char* path, int w, int h, int columns, int rows) {
    sprite_init(sprite);
    sprite_load(sprite, path, w, h, columns, rows, 0);
}

float start_x() { return static_cast<float>(find_tile_x(TileStart)); }
float start_y() { return static_cast<float>(find_tile_y(TileStart)); }

int oldest_unfrozen_on_screen() {
    int best = -1;
    for (int s = 0; s < corpse_slots; ++s) {
        if (!game.corpse_on_screen[s] || game.corpse_frozen[s]) continue;
        if (best < 0 || game.corpse_seq[s] < game.corpse_seq[best]) best = s;
    }
    return best;
}

}  // namespace

void park_sprite(Sprite& sprite) { sprite_set_position(sprite, parked_position, parked_position); }

float respawn_x() { return start_x() - 10.0f; }
float respawn_y() { return start_y() - 64.0f; }
void place_player_at_respawn() { sprite_set_position(game.player, respawn_x(), respawn_y()); }

void release_game_sprites() {
    sprite_release(game.player);
    sprite_release(game.you_marker);
    sprite_release(game.opening_picture);
    sprite_release(game.background);
    sprite_release(game.ending_picture);
    sprite_release(game.result_background);
    sprite_release(game.title_background);
    sprite_release(game.start_area);
    sprite_release(game.fade_sprite);
    sprite_release(game.selection_marker);
    sprite_release(game.death_board);
    sprite_release(game.digit_hundreds);
    sprite_release(game.digit_tens);
    sprite_release(game.digit_ones);
    sprite_release(game.corpse_board);
    sprite_release(game.title_effect);
    sprite_release(game.title_start);
    sprite_release(game.coffin);
    sprite_release(game.respawn_marker);
    sprite_release(game.blood);
    sprite_release(game.core_sensor);
    sprite_release(game.head_sensor);
    sprite_release(game.feet_sensor);
    sprite_release(game.left_sensor);
    sprite_release(game.right_sensor);
    for (int s = 0; s < corpse_slots; ++s) {
        sprite_release(game.corpse[s]);
        sprite_release(game.corpse_foot[s]);
        sprite_release(game.corpse_body[s]);
        sprite_release(game.fire[s]);
        sprite_release(game.ice[s]);
    }
}

void reset_stage() {
    release_game_sprites();
    load(game.background, "res/game.png", 640, 480, 1, 1);
    fade_make_sprite();

    const float sx = start_x(), sy = start_y();
    const float gx = static_cast<float>(find_tile_x(TileGoal));
    const float gy = static_cast<float>(find_tile_y(TileGoal));
    load(game.coffin, "res/coffin.png", 40, 60, 1, 1);
    sprite_set_position(game.coffin, gx, gy - 60.0f);
    load(game.respawn_marker, "res/resp.png", 40, 60, 4, 1);
    sprite_set_position(game.respawn_marker, sx, sy - 60.0f);

    load(game.blood, "res/blood.png", 64, 64, 1, 1);
    sprite_set_pivot(game.blood, 32, 32);  // grows about its centre
    sprite_set_scale(game.blood, 0.0f);
    park_sprite(game.blood);

    for (int s = 0; s < corpse_slots; ++s) {
        load(game.fire[s], "res/fire.png", 60, 60, 6, 1);
        park_sprite(game.fire[s]);
        load(game.ice[s], "res/ice.png", 60, 60, 6, 1);
        park_sprite(game.ice[s]);
    }

    load(game.digit_hundreds, "res/num_100.png", 40, 40, 10, 1);
    sprite_set_position(game.digit_hundreds, digit_hundreds_x, digit_y);
    load(game.digit_tens, "res/num_010.png", 40, 40, 10, 1);
    sprite_set_position(game.digit_tens, digit_tens_x, digit_y);
    load(game.digit_ones, "res/num_001.png", 40, 40, 10, 1);
    sprite_set_position(game.digit_ones, digit_ones_x, digit_y);
    load(game.corpse_board, "res/num_bord.png", 200, 70, 1, 1);
    sprite_set_position(game.corpse_board, corpse_board_x, board_y);
    load(game.death_board, "res/death_bord.png", 200, 70, 1, 1);
    sprite_set_position(game.death_board, death_board_x, board_y);

    load(game.selection_marker, "res/tage.png", 32, 32, 4, 1);
    park_sprite(game.selection_marker);
    load(game.start_area, "res/area.png", 60, 70, 3, 1);
    sprite_set_position(game.start_area, sx - 9.0f, sy - 70.0f);

    load(game.player, "res/player_alive.png", 64, 64, 4, 1);

    for (int s = 0; s < corpse_slots; ++s) {
        load(game.corpse[s], "res/player_death.png", 42, 19, 1, 1);
        load(game.corpse_body[s], "res/C_death.png", 24, 13, 1, 1);
        load(game.corpse_foot[s], "res/C_death_under.png", 24, 5, 1, 1);
        park_sprite(game.corpse[s]);
        park_sprite(game.corpse_body[s]);
        park_sprite(game.corpse_foot[s]);
    }

    game.selected_corpse = -1;
    game.stage_cleared = 0;
    for (int& digit : game.corpse_digits) digit = 0;
    game.facing_right = 1;
    game.gravity = gravity_start;
    game.walk_speed = walk_speed_start;
    game.fall_speed = 0.0f;
    game.marker_anim = 0.0f;
    for (int s = 0; s < corpse_slots; ++s) {
        game.corpse_fall[s] = corpse_fall_after_reset;
        game.corpse_frozen[s] = 0;
    }
    game.next_corpse_seq = 0;
    game.blood_active = 0;
    game.blood_scale = 0.0f;
    game.grounded = 1;
    game.frame_counter = 0;
    game.sweep_corpse = 0;

    place_player_at_respawn();

    // The feet start 2 pixels higher than every later placing puts them.
    const float px = sprite_get_x(game.player), py = sprite_get_y(game.player);
    load(game.core_sensor, "res/C_core.png", 24, 25, 1, 1);
    sprite_set_position(game.core_sensor, px + 19.0f, py + 28.0f);
    load(game.head_sensor, "res/C_3.png", 20, 18, 1, 1);
    sprite_set_position(game.head_sensor, px + 21.0f, py + 28.0f);
    load(game.feet_sensor, "res/C_4.png", 20, 20, 1, 1);
    sprite_set_position(game.feet_sensor, px + 21.0f, py + 44.0f);
    load(game.left_sensor, "res/C_1.png", 5, 20, 1, 1);
    sprite_set_position(game.left_sensor, px + 16.0f, py + 33.0f);
    load(game.right_sensor, "res/C_2.png", 5, 20, 1, 1);
    sprite_set_position(game.right_sensor, px + 41.0f, py + 33.0f);
}

void kill_player() {
    game.total_deaths += 1;
    play_effect(Dead);
    // A death during a running splash continues it at its present size.
    game.blood_active = 1;
    sprite_set_position(game.blood, sprite_get_x(game.player),
                        sprite_get_y(game.player) + blood_dy);
    game.gravity = 0.0f;
    game.fall_speed = 0.0f;
    leave_corpse();
    place_player_at_respawn();
}

void leave_corpse() {
    int full = 1;
    for (int s = 0; s < corpse_slots; ++s)
        if (game.corpse_on_screen[s] != 1) full = 0;
    int slot = -1;
    for (int s = 0; s < corpse_slots; ++s) {
        if (game.corpse_frozen[s] == 1) continue;
        if (full) {
            slot = oldest_unfrozen_on_screen();  // every slot holds a corpse: reuse the oldest
            break;
        }
        if (game.corpse_on_screen[s] == 0) {
            slot = s;
            break;
        }
    }
    if (slot < 0) return;  // every usable slot frozen: no corpse
    game.corpse_seq[slot] = game.next_corpse_seq;
    game.next_corpse_seq += 1;
    sprite_set_position(game.corpse[slot], game.prev_x + corpse_dx, game.prev_y + corpse_dy);
    place_player_at_respawn();
}

void corpse_support() {
    for (int i = 0; i < corpse_slots; ++i) {
        game.corpse_fall[i] = corpse_fall_speed;
        for (int j = 0; j < corpse_slots; ++j)
            if (j != i && sprites_overlap(game.corpse_foot[i], game.corpse_body[j]))
                game.corpse_fall[i] = 0.0f;
    }
}

void check_start_and_goal() {
    if (sprites_overlap(game.start_area, game.core_sensor)) game.in_start_area = 1;
    // A retry already fading out wins over the coffin: the stage is put
    // back, not cleared.
    if (game.restart_requested) return;
    if (sprites_overlap(game.coffin, game.core_sensor)) {
        play_effect(Coffin);
        game.stage_cleared = 1;
        game.stage_step = 3;
    }
}

void corpse_frame_steps() {
    for (int s = 0; s < corpse_slots; ++s) {
        game.corpse_x[s] = sprite_get_x(game.corpse[s]);
        game.corpse_y[s] = sprite_get_y(game.corpse[s]);
    }
    int count = 0;
    for (int s = 0; s < corpse_slots; ++s) {
        const float x = game.corpse_x[s], y = game.corpse_y[s];
        game.corpse_on_screen[s] = 0.0f < x && x < 640.0f && 0.0f < y && y < 480.0f;
        count += game.corpse_on_screen[s];
    }
    game.corpse_count = count;
    game.corpse_digits[0] = count % 10;
    game.corpse_digits[1] = count / 10 % 10;
    game.corpse_digits[2] = count / 100 % 10;
    for (int s = 0; s < corpse_slots; ++s)
        if (game.corpse_frozen[s] == 0) sprite_move_y(game.corpse[s], game.corpse_fall[s]);
}

void blood_step() {
    if (game.blood_active != 1) return;
    if (game.blood_scale < 1.0f) {
        game.blood_scale += blood_growth;
        sprite_set_scale(game.blood, game.blood_scale);
    } else {
        game.blood_scale = 0.0f;
        sprite_set_scale(game.blood, 0.0f);
        game.blood_active = 0;
    }
}

void animation_counters_step() {
    if (game.frame_counter == marker_tick_frames) {
        game.marker_anim += 1.0f;
        game.frame_counter = 0;
    }
    game.respawn_anim += 0.2f;
    game.area_anim += 0.1f;
    game.walk_anim += 0.2f;
    for (int s = 0; s < corpse_slots; ++s) {
        game.fire_anim[s] += 0.15f;
        game.ice_anim[s] += 0.1f;
        // A fire plays its six frames once, then goes.
        if (game.fire_anim[s] > 6.0f) {
            park_sprite(game.fire[s]);
            game.fire_anim[s] = 0.0f;
        }
        if (game.ice_anim[s] > 4.0f) game.ice_anim[s] = 0.0f;
    }
    if (game.marker_anim > 4.0f) game.marker_anim = 0.0f;
    if (game.respawn_anim > 4.0f) game.respawn_anim = 0.0f;
    if (game.area_anim > 3.0f) game.area_anim = 0.0f;
}

void animation_frames_step() {
    sprite_set_frame(game.selection_marker, static_cast<int>(game.marker_anim) % 4);
    sprite_set_frame(game.respawn_marker, static_cast<int>(game.respawn_anim));
    sprite_set_frame(game.start_area, static_cast<int>(game.area_anim));
    for (int s = 0; s < corpse_slots; ++s) {
        sprite_set_frame(game.fire[s], static_cast<int>(game.fire_anim[s]));
        sprite_set_frame(game.ice[s], static_cast<int>(game.ice_anim[s]));
    }
    sprite_set_frame(game.digit_ones, game.corpse_digits[0]);
    sprite_set_frame(game.digit_tens, game.corpse_digits[1]);
    sprite_set_frame(game.digit_hundreds, game.corpse_digits[2]);
}

void draw_game_objects() {
    sprite_draw(game.coffin);
    sprite_draw(game.respawn_marker);
    for (int s = 0; s < corpse_slots; ++s) {
        if (game.corpse_on_screen[s] == 1) sprite_draw(game.corpse[s]);
        sprite_draw(game.ice[s]);
        sprite_draw(game.fire[s]);
    }
    // Mirrored about its vertical centre line when facing left.
    sprite_set_pivot_x(game.player, 32);
    sprite_set_scale_x(game.player, game.facing_right == 1 ? 1.0f : -1.0f);
    sprite_draw(game.player);
    sprite_draw(game.start_area);
    sprite_draw(game.selection_marker);
    sprite_draw(game.blood);
    sprite_draw(game.death_board);
    sprite_draw(game.corpse_board);
    sprite_draw(game.digit_ones);
    sprite_draw(game.digit_tens);
    sprite_draw(game.digit_hundreds);
}
