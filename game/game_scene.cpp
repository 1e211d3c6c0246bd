// The game scene: the opening picture, then the stages, each loaded,
// played and cleared, with stars and score, fading through black between
// them; after the last stage the result scene takes over.
#include "game/game_scene.h"

#include <cstdio>
#include <cstring>

#include "audio/cues.h"
#include "game/collision.h"
#include "game/corpses.h"
#include "game/game_state.h"
#include "game/player.h"
#include "game/stage.h"
#include "platform/video.h"
#include "render/font.h"
#include "scenes/fade.h"

namespace {

// "目標屍数　%d体以内 ": the target corpse count (the last blank is a plain space)
const char* const hud_target_format =
    "\x96\xda\x95\x57\x8e\x72\x90\x94\x81\x40%d\x91\xcc\x88\xc8\x93\xe0 ";
// "累計死亡数　%7d回": the deaths so far, right-aligned in seven places
const char* const hud_deaths_format = "\x97\xdd\x8c\x76\x8e\x80\x96\x53\x90\x94\x81\x40%7d\x89\xf1";
// "Score　%d"
const char* const hud_score_format = "Score\x81\x40%d";

constexpr int stage_step_load = 0;
constexpr int stage_step_play = 1;
constexpr int stage_step_cleared = 3;

constexpr int opening_frames = 8;           // pictures in the opening strip
constexpr int opening_tick_frames = 3;      // the picture advances when the tick passes this
constexpr int opening_show_frames = 50;     // the timer passing this starts the fade-out
constexpr int score_step = 20;              // points the shown score counts up per frame
constexpr int deaths_for_late_stage = 250;  // more deaths after stage 16 lead to 19

void load(Sprite& sprite, const char* path, int w, int h, int columns, int rows) {
    sprite_init(sprite);
    sprite_load(sprite, path, w, h, columns, rows, 0);
}

// 1 once the opening has faded out.
int opening_step() {
    if (game.scene_phase == 1) {
        if (fade_in_step()) game.scene_phase = 2;
    } else if (game.scene_phase == 3 && fade_out_step()) {
        game.scene_phase = 0;
        return 1;
    }
    const int tick = game.opening_tick;
    game.opening_tick += 1;
    if (tick > opening_tick_frames) {
        game.opening_frame += 1;
        game.opening_tick = 0;
    }
    if (game.opening_frame > opening_frames) game.opening_frame = 0;
    sprite_set_frame(game.opening_picture, game.opening_frame % opening_frames);
    const int timer = game.opening_timer;
    game.opening_timer += 1;
    if (timer > opening_show_frames) {
        game.opening_timer = 0;
        game.scene_phase = 3;
    }
    return 0;
}

void play_step() {
    format_hud_texts();
    // The first stage of a game fades in here; later ones by scene_phase 3.
    if (game.intro_fade_done == 0 && fade_in_step()) game.intro_fade_done = 1;
    game.contact_lock = 0;
    game.in_start_area = 0;
    player_corpse_contacts();
    corpse_support();
    check_start_and_goal();
    update_play_frame();
    sweep_tile_contacts();
}

int clear_stars() {
    if (game.corpse_count < game.target_corpses) return 3;
    if (game.corpse_count == game.target_corpses) return 2;
    return 1;
}

// One star sound per star, in turn: step 0, then 1 (and 2 with three
// stars); -1 when the last has sounded.
void star_display(int n) {
    if (n > 40) {
        sprite_set_frame(game.star_sprite, 1);
        if (game.star_sound_step == 0) {
            play_effect(Star1);
            game.star_sound_step = 1;
        }
    }
    if (game.stars >= 2 && n > 60) {
        sprite_set_frame(game.star_sprite, 2);
        if (game.star_sound_step == 1) {
            play_effect(Star1);
            game.star_sound_step = game.stars == 2 ? -1 : 2;
        }
    }
    if (game.stars == 3 && n > 80) {
        sprite_set_frame(game.star_sprite, 3);
        if (game.star_sound_step == 2) {
            play_effect(Star1);
            game.star_sound_step = -1;
        }
    }
    // The end text 20 frames after the last star, the score 20 after that.
    const int end_text_at = 40 + 20 * game.stars;
    if (n == end_text_at) {
        sprite_set_position(game.end_text, 230.0f, 270.0f);
        // The strip holds three captions; frame 3 lies past its end and shows
        // the strip again from the top, so 3 stars shows the first caption.
        sprite_set_frame(game.end_text, game.stars);
        play_effect(Star2);
    }
    if (n > end_text_at + 20) {
        game.show_score = 1;
        if (game.score > game.shown_score) {
            game.shown_score += score_step;
            play_effect(Star4);
            if (game.shown_score == game.score) play_effect(Point);
        }
        std::snprintf(game.hud_score_text, sizeof game.hud_score_text, hud_score_format,
                      game.shown_score);
    }
}

void clear_step() {
    update_play_frame();
    game.stars = clear_stars();
    game.clear_timer += 1;
    const int n = game.clear_timer;
    if (n == 20) {
        sprite_set_position(game.end_board, 170.0f, 120.0f);
        game.score += game.stars * 1000 - game.corpse_count * 100;
    }
    // The board unrolls downwards from its top edge.
    switch (n) {
        case 22:
            sprite_set_scale_y(game.end_board, 0.2f);
            break;
        case 24:
            sprite_set_scale_y(game.end_board, 0.4f);
            break;
        case 26:
            sprite_set_scale_y(game.end_board, 0.6f);
            break;
        case 28:
            sprite_set_scale_y(game.end_board, 0.7f);
            break;
        case 30:
            sprite_set_scale_y(game.end_board, 1.0f);
            break;
        default:
            break;
    }
    star_display(n);
    // Only while no fade is under way: a press during the fade-out would
    // start a second one that skips the next stage.
    if (button_pressed(game.input, Button2) && game.scene_phase == 0) {
        play_effect(Enter);
        game.scene_phase = 1;
    }
}

void stage_step() {
    switch (game.stage_step) {
        case stage_step_load:
            load_stage();
            reset_stage();
            game.stage_step = stage_step_play;
            break;
        case stage_step_play:
            play_step();
            break;
        case stage_step_cleared:
            clear_step();
            break;
        default:
            break;
    }
}

void draw_stage() {
    sprite_draw(game.background);
    tile_map_draw(game.tile_map);
    draw_game_objects();
}

}  // namespace

void sweep_tile_contacts() {
    for (int s = 0; s < corpse_slots; ++s) {
        game.sweep_corpse = s;
        sprite_touch_tiles(game.tile_map, game.corpse_body[s], SensorCorpse);
    }
    sprite_touch_tiles(game.tile_map, game.core_sensor, SensorCore);
    sprite_touch_tiles(game.tile_map, game.feet_sensor, SensorFeet);
    sprite_touch_tiles(game.tile_map, game.head_sensor, SensorHead);
    sprite_touch_tiles(game.tile_map, game.right_sensor, SensorRight);
    sprite_touch_tiles(game.tile_map, game.left_sensor, SensorLeft);
}

int game_scene_init() {
    game.game_phase = 0;
    game.stage_step = stage_step_load;
    font_init(game.hud_target_font);
    font_create(game.hud_target_font, 15, "");
    font_init(game.score_font);
    font_create(game.score_font, 25, "");
    font_init(game.hud_deaths_font);
    font_create(game.hud_deaths_font, 15, "");
    play_game_music();
    load(game.opening_picture, "res/game_op.png", 640, 480, 1, 8);
    load(game.ending_picture, "res/game_ed.png", 640, 480, 1, 1);
    load(game.star_sprite, "res/star.png", 192, 64, 1, 4);
    load(game.end_board, "res/end_bord.png", 300, 300, 1, 1);
    load(game.end_text, "res/end_text.png", 192, 64, 1, 3);
    park_sprite(game.end_board);
    park_sprite(game.end_text);
    sprite_set_scale_y(game.end_board, 0.0f);
    tile_map_init(game.tile_map);
    tile_map_load(game.tile_map, "res/Tip_image4.png", 32, 32, 8, 1, 0);
    game.stage_number = 1;
    game.touching_wall = 0;
    game.show_score = 0;
    game.scene_phase = 1;
    game.intro_fade_done = 0;
    game.total_deaths = 0;
    game.shown_score = 0;
    game.score = 0;
    return 1;
}

void game_scene_update() {
    if (game.game_phase == 0) {
        if (opening_step()) game.game_phase = 1;
    } else {
        stage_step();
    }
}

void game_scene_draw() {
    if (game.game_phase == 0) {
        sprite_draw(game.opening_picture);
        sprite_draw(game.fade_sprite);
        return;
    }
    if (game.stage_step == stage_step_play) {
        draw_stage();
        font_draw_text(game.hud_target_font, game.hud_target_text, 220, 420, 0xFF00FF00u);
        font_draw_text(game.hud_deaths_font, game.hud_deaths_text, 220, 440, 0xFFFF0000u);
        sprite_draw(game.fade_sprite);
    } else if (game.stage_step == stage_step_cleared) {
        draw_stage();
        sprite_set_position(game.star_sprite, 220.0f, 200.0f);
        sprite_draw(game.end_board);
        sprite_draw(game.star_sprite);
        sprite_draw(game.end_text);
        if (game.show_score == 1)
            font_draw_text(game.score_font, game.hud_score_text, 250, 340, 0xFF00FF00u);
        sprite_draw(game.fade_sprite);
    }
}

void game_scene_release() {
    release_game_sprites();
    stop_game_music();
    sprite_release(game.star_sprite);
    sprite_release(game.end_board);
    sprite_release(game.end_text);
    // The sheet is loaded again by the next start, whose tile_map_init
    // forgets the holder without releasing it: give it back here.
    if (game.tile_map.texture) {
        video_release_texture(game.tile_map.texture);
        game.tile_map.texture = nullptr;
    }
    font_release(game.hud_target_font);
    font_release(game.score_font);
    font_release(game.hud_deaths_font);
}

int next_stage_number(int n) {
    if (n == 16) return game.total_deaths <= deaths_for_late_stage ? 18 : 19;
    if (n == 18 || n == 19) return 20;
    return n + 1;
}

void game_scene_start_at_stage(int n, const char* stage_file) {
    game.game_phase = 1;
    game.stage_number = n;
    fade_alpha = 0;  // reset_stage makes the fade rectangle at this alpha
    load_stage();
    if (stage_file) {
        tile_map_clear(game.tile_map);
        std::memset(game.stage_cells, 0, sizeof game.stage_cells);
        read_stage_file(stage_file);
    }
    reset_stage();
    // The clear display as at process start, whatever ran before.
    game.clear_timer = 0;
    game.star_sound_step = 0;
    game.stars = 0;
    game.show_score = 0;
    game.restart_requested = 0;
    sprite_set_frame(game.star_sprite, 0);
    park_sprite(game.end_board);
    park_sprite(game.end_text);
    sprite_set_scale_y(game.end_board, 0.0f);
    game.stage_step = stage_step_play;
    sprite_set_color(game.fade_sprite, 0x00000000u);
    game.scene_phase = 0;
    game.intro_fade_done = 1;
    game.total_deaths = 0;
    game.score = 0;
    game.shown_score = 0;
}

void stage_transition_step() {
    if (game.scene_phase == 1 && fade_out_step()) {
        game.star_sound_step = 0;
        game.clear_timer = 0;
        game.stars = 0;
        sprite_set_frame(game.star_sprite, 0);
        park_sprite(game.end_board);
        park_sprite(game.end_text);
        sprite_set_scale_y(game.end_board, 0.0f);
        game.show_score = 0;
        game.stage_cleared = 0;
        game.scene_phase = 2;
        return;
    }
    if (game.scene_phase == 2) {
        if (game.restart_requested == 0) {
            game.stage_number = next_stage_number(game.stage_number);
            game.stage_step = stage_step_load;
        } else {
            reset_stage();
            game.restart_requested = 0;
        }
        game.scene_phase = 3;
    }
    if (game.scene_phase == 3 && fade_in_step()) game.scene_phase = 0;
}

void retry_request_step() {
    if (button_pressed(game.input, Button4) && game.scene_phase == 0 && game.intro_fade_done == 1) {
        game.scene_phase = 1;
        game.restart_requested = 1;
    }
}

void format_hud_texts() {
    std::snprintf(game.hud_target_text, sizeof game.hud_target_text, hud_target_format,
                  game.target_corpses);
    std::snprintf(game.hud_deaths_text, sizeof game.hud_deaths_text, hud_deaths_format,
                  game.total_deaths);
}
