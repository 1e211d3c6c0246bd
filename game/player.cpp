// The player's frame update, movement and sensors.
#include "game/player.h"

#include "audio/cues.h"
#include "game/collision.h"
#include "game/corpses.h"
#include "game/game_scene.h"
#include "game/game_state.h"
#include "game/selection.h"

namespace {

constexpr int standing_frame = 3;  // of the four-frame walk strip

// Sensor offsets from the player's top-left corner, pixels.
constexpr float core_dx = 19.0f, core_dy = 28.0f;
constexpr float head_dx = 21.0f, head_dy = 28.0f;
constexpr float feet_dx = 21.0f, feet_dy = 46.0f;
constexpr float left_dx = 16.0f, left_dy = 33.0f;
constexpr float right_dx = 41.0f, right_dy = 33.0f;
// Corpse sensor offsets from the corpse's top-left corner, pixels.
constexpr float body_dx = 8.0f, body_dy = 5.0f;
constexpr float foot_dx = 8.0f, foot_dy = 12.0f;

constexpr float player_height = 64.0f;  // the player's frame, pixels

// The screen a player may be in; outside it the player dies without a corpse.
constexpr float screen_right = 640.0f;
constexpr float screen_bottom = 480.0f;
constexpr float screen_top_margin = -100.0f;  // a jump may reach above the screen

void walk() {
    if (game.touching_wall) return;
    // The counter only grows; a frame past the strip's four shows the strip
    // again from its start, so the walk cycles 0, 1, 2, 3.
    const int walk_frame = static_cast<int>(game.walk_anim);
    if (button_held(game.input, Left)) {
        game.facing_right = 0;
        sprite_set_frame(game.player, walk_frame);
        sprite_move_x(game.player, -game.walk_speed);
    }
    if (button_held(game.input, Right)) {
        game.facing_right = 1;
        sprite_set_frame(game.player, walk_frame);
        sprite_move_x(game.player, game.walk_speed);
    }
}

void jump() {
    if (button_pressed(game.input, Button1) && game.grounded == 1) {
        game.grounded = 0;
        play_effect(Jump);
        game.fall_speed = jump_speed;
    }
}

// In the start area the corpse actions; elsewhere no selection, and the
// self-destruction of a player standing on something.
void start_area_or_self_destruct() {
    if (game.in_start_area == 1) {
        start_area_actions();
        return;
    }
    game.selected_corpse = -1;
    park_sprite(game.selection_marker);
    if (game.grounded == 1 && button_pressed(game.input, Button3)) kill_player();
}

void player_steps() {
    game.prev_x = sprite_get_x(game.player);
    game.prev_y = sprite_get_y(game.player);
    if (game.grounded == 1) game.gravity = gravity_grounded;
    sprite_set_frame(game.player, standing_frame);
    corpse_frame_steps();
    walk();
    jump();
    start_area_or_self_destruct();
    retry_request_step();
    if (game.fall_speed < fall_speed_cap) game.fall_speed += game.gravity;
    sprite_move_y(game.player, game.fall_speed);
}

void leave_screen_check() {
    const float x = sprite_get_x(game.player);
    const float y = sprite_get_y(game.player);
    if (y > screen_bottom || y < screen_top_margin || x > screen_right || x < 0.0f) {
        game.total_deaths += 1;
        game.gravity = 0.0f;
        game.fall_speed = 0.0f;
        place_player_at_respawn();
    }
}

}  // namespace

void update_play_frame() {
    game.frame_counter += 1;
    blood_step();
    stage_transition_step();
    if (game.stage_cleared == 0) player_steps();
    animation_counters_step();
    game.grounded = 0;
    game.touching_wall = 0;
    animation_frames_step();
    leave_screen_check();
    place_sensors();
}

void place_sensors() {
    const float x = sprite_get_x(game.player);
    const float y = sprite_get_y(game.player);
    sprite_set_position(game.core_sensor, x + core_dx, y + core_dy);
    sprite_set_position(game.head_sensor, x + head_dx, y + head_dy);
    sprite_set_position(game.feet_sensor, x + feet_dx, y + feet_dy);
    sprite_set_position(game.left_sensor, x + left_dx, y + left_dy);
    sprite_set_position(game.right_sensor, x + right_dx, y + right_dy);
    for (int s = 0; s < corpse_slots; ++s) {
        const float cx = sprite_get_x(game.corpse[s]);
        const float cy = sprite_get_y(game.corpse[s]);
        sprite_set_position(game.corpse_body[s], cx + body_dx, cy + body_dy);
        sprite_set_position(game.corpse_foot[s], cx + foot_dx, cy + foot_dy);
    }
}

void player_corpse_contacts() {
    for (int i = 0; i < corpse_slots; ++i) {
        const Sprite& body = game.corpse_body[i];
        if (sprites_overlap(game.feet_sensor, body)) {
            game.grounded = 1;
            game.gravity = 0.0f;
            game.fall_speed = 0.0f;
            sprite_set_y(game.player, sprite_get_y(body) - player_height);
        }
        // Held at the body's sides: its right edge (24 pixels) less 11, or
        // 12 pixels in less the player's width; summed in this order.
        if (sprites_overlap(game.left_sensor, body))
            sprite_set_x(game.player, sprite_get_x(body) + 24.0f - 11.0f);
        if (sprites_overlap(game.right_sensor, body))
            sprite_set_x(game.player, sprite_get_x(body) + 12.0f - 64.0f);
    }
}
