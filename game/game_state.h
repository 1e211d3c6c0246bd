#pragma once
// GameState: the one statically allocated record of all game data, read and
// written directly by every scene. Fields are grouped by the code that owns
// their behaviour. Nothing in it is allocated per frame.
#include <cstdint>

#include "input/input.h"
#include "render/font.h"
#include "render/sprite.h"

constexpr int corpse_slots = 50;   // corpses a stage can hold at once
constexpr int stage_columns = 20;  // cells across the 640-pixel screen
constexpr int stage_rows = 15;     // cells down the 480-pixel screen
constexpr int stage_cell_count = stage_columns * stage_rows;
constexpr int ranking_places = 10;

struct GameState {
    // ---- scene-wide: scene manager, fade, input
    int scene_phase;      // transition phase of whichever scene is current
    InputState input;
    Sprite fade_sprite;   // black full-screen rectangle, alpha = fade_alpha

    // ---- game scene flow, HUD and stage score
    int game_phase;       // 0 opening picture, 1 stages
    int stage_step;       // 0 load, 1 play, 3 cleared
    int stage_number;     // 1-based
    int target_corpses;
    int total_deaths;
    int intro_fade_done;
    int stage_cleared;
    int restart_requested;
    int stars;            // 1..3 while a clear is shown
    int clear_timer;      // frames since the clear
    int star_sound_step;  // 0, 1, 2 or -1
    int score;            // may become negative
    int shown_score;
    int show_score;
    int opening_timer;
    int opening_tick;
    int opening_frame;
    char hud_target_text[256];
    char hud_score_text[256];
    char hud_deaths_text[256];
    Font hud_target_font;  // height 15
    Font score_font;       // height 25
    Font hud_deaths_font;  // height 15
    Sprite background;
    Sprite opening_picture;
    Sprite ending_picture;
    Sprite star_sprite;
    Sprite end_board;
    Sprite end_text;

    // ---- player
    Sprite player;
    float prev_x;         // player position when this frame's player steps began
    float prev_y;
    float walk_speed;     // pixels per frame
    float fall_speed;     // pixels per frame, positive downwards
    float gravity;        // added to fall_speed each frame
    int grounded;
    int facing_right;
    int touching_wall;
    int in_start_area;
    int contact_lock;     // a hazard death this frame: no further contact responses
    int frame_counter;
    float walk_anim;
    Sprite core_sensor;
    Sprite head_sensor;
    Sprite feet_sensor;
    Sprite left_sensor;
    Sprite right_sensor;
    Sprite blood;
    int blood_active;
    float blood_scale;

    // ---- corpses, each array indexed by slot
    Sprite corpse[corpse_slots];
    Sprite corpse_body[corpse_slots];
    Sprite corpse_foot[corpse_slots];
    float corpse_x[corpse_slots];
    float corpse_y[corpse_slots];
    float corpse_fall[corpse_slots];
    int corpse_on_screen[corpse_slots];
    int corpse_frozen[corpse_slots];
    int corpse_seq[corpse_slots];
    Sprite fire[corpse_slots];
    Sprite ice[corpse_slots];
    float fire_anim[corpse_slots];
    float ice_anim[corpse_slots];
    int corpse_count;
    int corpse_digits[3];  // ones, tens, hundreds
    int next_corpse_seq;
    int selected_corpse;   // -1 for none
    int sweep_corpse;      // the slot whose body is being swept against the tiles
    float marker_anim;
    float respawn_anim;
    float area_anim;
    Sprite selection_marker;
    Sprite start_area;
    Sprite respawn_marker;
    Sprite coffin;
    Sprite digit_hundreds;
    Sprite digit_tens;
    Sprite digit_ones;
    Sprite corpse_board;
    Sprite death_board;

    // ---- stage data
    int32_t stage_cells[stage_cell_count];  // the stage file's values, column-major
    TileMap tile_map;

    // ---- title scene
    Sprite title_background;
    Sprite title_effect;
    Sprite title_start;
    float title_effect_frame;
    float title_start_frame;

    // ---- result scene
    int32_t ranking[ranking_places + 1];  // entry 10 takes the new score before sorting
    int leave_requested;
    int highlight_rank;
    Sprite result_background;
    Sprite you_marker;
    Font result_font;
};

extern GameState game;
