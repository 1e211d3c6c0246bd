#pragma once
// Stages: the twenty stage files, their target corpse counts, the loader
// that turns a file's 300 cells into the tile list, and the tile lookups.
//
// A stage file holds 300 little-endian 32-bit tile types, column-major:
// value k is the cell of column k / 15 and row k % 15. A tile's index in
// the tile list equals its cell's index, and a tile's frame is its type.

// Tile types.
enum TileType {
    TileEmpty = 0,
    TileBlock = 1,
    TileShallowHazard = 2,  // deadly; corpses rest 8 pixels down inside it
    TileHazard3 = 3,        // deadly; corpses fall through
    TileHazard4 = 4,
    TileHazard5 = 5,
    TileStart = 6,  // solid; the last one is the start cell
    TileGoal = 7,   // solid; the coffin stands on the last one
};

constexpr int stage_count = 20;
constexpr int tile_size = 32;  // pixels, both ways

// The stage file of stage n (1..20), "stage/stage_<n>.dat"; null outside.
const char* stage_file_path(int stage_number);
// The target corpse count of stage n (1..20); 0 outside.
int stage_target_corpses(int stage_number);

// Empties the cells and the tile list, then loads stage `stage_number`
// with its target; a number outside 1..20 requests the Result scene.
void load_stage();
// Reads up to 300 cells from the file and builds the tile list from all
// 300 cells. A missing file or a short one leaves the cells not read at 0,
// so the stage plays with those cells empty.
void read_stage_file(const char* path);

int add_tile(float x, float y);
void remove_tile(int index);
void set_tile_type(int index, int type);
int tile_type(int index);
float tile_y(int index);
// 32 x column (or 32 x row) of the last cell of this type in column-major
// order; 0 when no cell has it.
int find_tile_x(int type);
int find_tile_y(int type);
