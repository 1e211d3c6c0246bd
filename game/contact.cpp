// The tile contact responses: what a sensor touching a tile does, by the
// sensor's kind and the tile's type. Reached through scene_contact while
// the game scene is current, once per touching tile in index order.
#include "game/collision.h"
#include "game/corpses.h"
#include "game/game_scene.h"
#include "game/game_state.h"
#include "game/player.h"
#include "game/stage.h"

namespace {

constexpr float head_bump = 3.0f;       // pixels the head is pushed down per block
constexpr float wall_push = 1.0f;       // pixels a side is pushed out per block
constexpr float player_height = 64.0f;  // the player's frame, pixels
constexpr float corpse_height = 19.0f;  // the corpse's frame, pixels
constexpr float shallow_sink = 8.0f;    // pixels a corpse rests inside a type-2 tile

int solid(int type) { return type == TileBlock || type == TileStart || type == TileGoal; }
int deadly(int type) { return type >= TileShallowHazard && type <= TileHazard5; }

}  // namespace

void game_tile_contact(int tile_index, int sensor_kind) {
    const int type = tile_type(tile_index);
    switch (sensor_kind) {
        case SensorCore:
            if (deadly(type)) {
                // No other contact acts in this frame, the rest of this sweep included.
                game.contact_lock = 1;
                kill_player();
                place_sensors();
            }
            break;
        case SensorHead:
            if (solid(type)) {
                sprite_move_y(game.player, head_bump);
                game.fall_speed = 0.0f;
            }
            break;
        case SensorFeet:
            if (solid(type)) {
                game.grounded = 1;
                game.gravity = 0.0f;
                game.fall_speed = 0.0f;
                sprite_set_y(game.player, tile_y(tile_index) - player_height);
            }
            break;
        case SensorLeft:
            if (solid(type)) {
                game.touching_wall = 1;
                sprite_move_x(game.player, wall_push);
            }
            break;
        case SensorRight:
            if (solid(type)) {
                game.touching_wall = 1;
                sprite_move_x(game.player, -wall_push);
            }
            break;
        case SensorCorpse:
            if (game.sweep_corpse < 0 || game.sweep_corpse >= corpse_slots) break;
            if (solid(type))
                sprite_set_y(game.corpse[game.sweep_corpse], tile_y(tile_index) - corpse_height);
            else if (type == TileShallowHazard)
                sprite_set_y(game.corpse[game.sweep_corpse],
                             tile_y(tile_index) + shallow_sink - corpse_height);
            break;
        default:
            break;
    }
}
