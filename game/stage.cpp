// The stage table, the stage loader and the tile operations.
#include "game/stage.h"

#include <cstdio>

#include "game/game_state.h"
#include "scenes/scene_manager.h"

namespace {

struct StageEntry {
    const char* path;
    int target_corpses;
};

const StageEntry stage_table[stage_count] = {
    {"stage/stage_1.dat", 3},  {"stage/stage_2.dat", 5},  {"stage/stage_3.dat", 1},
    {"stage/stage_4.dat", 5},  {"stage/stage_5.dat", 3},  {"stage/stage_6.dat", 3},
    {"stage/stage_7.dat", 4},  {"stage/stage_8.dat", 3},  {"stage/stage_9.dat", 4},
    {"stage/stage_10.dat", 6}, {"stage/stage_11.dat", 6}, {"stage/stage_12.dat", 3},
    {"stage/stage_13.dat", 3}, {"stage/stage_14.dat", 3}, {"stage/stage_15.dat", 3},
    {"stage/stage_16.dat", 3}, {"stage/stage_17.dat", 3}, {"stage/stage_18.dat", 3},
    {"stage/stage_19.dat", 3}, {"stage/stage_20.dat", 3},
};

constexpr int cell_bytes = 4;  // one little-endian int32 per cell

int valid_index(int index) {
    return index >= 0 && static_cast<size_t>(index) < game.tile_map.tiles.size();
}

// The last cell of this type in column-major order, or -1.
int find_cell(int type) {
    int found = -1;
    for (int k = 0; k < stage_cell_count; ++k)
        if (game.stage_cells[k] == type) found = k;
    return found;
}

}  // namespace

const char* stage_file_path(int stage_number) {
    if (stage_number < 1 || stage_number > stage_count) return nullptr;
    return stage_table[stage_number - 1].path;
}

int stage_target_corpses(int stage_number) {
    if (stage_number < 1 || stage_number > stage_count) return 0;
    return stage_table[stage_number - 1].target_corpses;
}

void load_stage() {
    for (int k = 0; k < stage_cell_count; ++k) {
        game.stage_cells[k] = 0;
        remove_tile(0);
    }
    // The list holds one stage at most; anything a caller left beyond 300
    // tiles goes as well, so the new tiles start at index 0.
    tile_map_clear(game.tile_map);
    const char* path = stage_file_path(game.stage_number);
    if (path) {
        read_stage_file(path);
        game.target_corpses = stage_target_corpses(game.stage_number);
    } else {
        request_scene(Result);
    }
}

void read_stage_file(const char* path) {
    // Binary mode, so every platform reads the same 1200 bytes. Only whole
    // cells are taken, never more than 300: a trailing partial cell and
    // anything past the 300th are ignored.
    if (FILE* f = path ? std::fopen(path, "rb") : nullptr) {
        unsigned char bytes[stage_cell_count * cell_bytes];
        const size_t got = std::fread(bytes, 1, sizeof bytes, f);
        std::fclose(f);
        const size_t cells = got / cell_bytes;
        for (size_t k = 0; k < cells; ++k) {
            const unsigned char* p = bytes + k * cell_bytes;
            const uint32_t v =
                uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
            game.stage_cells[k] = static_cast<int32_t>(v);
        }
    }
    for (int c = 0; c < stage_columns; ++c) {
        for (int r = 0; r < stage_rows; ++r) {
            const int index =
                add_tile(static_cast<float>(tile_size * c), static_cast<float>(tile_size * r));
            set_tile_type(index, game.stage_cells[c * stage_rows + r]);
        }
    }
}

int add_tile(float x, float y) {
    Tile* tile = new Tile;
    tile->x = x;
    tile->y = y;
    tile->visible = 1;
    tile->angle = 0.0f;
    tile->scale_x = 1.0f;
    tile->scale_y = 1.0f;
    tile->color = 0xFFFFFFFFu;
    tile->frame = 0;
    game.tile_map.tiles.push_back(tile);
    return static_cast<int>(game.tile_map.tiles.size()) - 1;
}

void remove_tile(int index) {
    if (!valid_index(index)) return;
    delete game.tile_map.tiles[index];
    game.tile_map.tiles.erase(game.tile_map.tiles.begin() + index);
}

void set_tile_type(int index, int type) {
    if (valid_index(index)) game.tile_map.tiles[index]->frame = type;
}

int tile_type(int index) { return valid_index(index) ? game.tile_map.tiles[index]->frame : 0; }

float tile_y(int index) { return valid_index(index) ? game.tile_map.tiles[index]->y : 0.0f; }

int find_tile_x(int type) {
    const int k = find_cell(type);
    return k < 0 ? 0 : tile_size * (k / stage_rows);
}

int find_tile_y(int type) {
    const int k = find_cell(type);
    return k < 0 ? 0 : tile_size * (k % stage_rows);
}
