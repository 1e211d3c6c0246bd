// The drawing function of every picture, by the file it makes.
#pragma once

#include "tools/art/art.h"

// sprites.cpp
void draw_sensor_core(Canvas& c);         // C_core.png
void draw_sensor_head(Canvas& c);         // C_3.png
void draw_sensor_feet(Canvas& c);         // C_4.png
void draw_sensor_left(Canvas& c);         // C_1.png
void draw_sensor_right(Canvas& c);        // C_2.png
void draw_sensor_corpse_body(Canvas& c);  // C_death.png
void draw_sensor_corpse_foot(Canvas& c);  // C_death_under.png
void draw_player_alive(Canvas& c);
void draw_player_death(Canvas& c);
void draw_blood(Canvas& c);
void draw_fire(Canvas& c);
void draw_ice(Canvas& c);
void draw_selection_marker(Canvas& c);  // tage.png
void draw_start_area(Canvas& c);        // area.png
void draw_respawn_marker(Canvas& c);    // resp.png
void draw_coffin_picture(Canvas& c);
// tiles.cpp
void draw_tiles(Canvas& c);  // Tip_image4.png
// hud.cpp
void draw_digits_ones(Canvas& c);
void draw_digits_tens(Canvas& c);
void draw_digits_hundreds(Canvas& c);
void draw_corpse_board(Canvas& c);  // num_bord.png
void draw_death_board(Canvas& c);   // death_bord.png
void draw_end_board(Canvas& c);     // end_bord.png
void draw_stars(Canvas& c);
void draw_end_text(Canvas& c);
void draw_you_marker(Canvas& c);
// scenery.cpp
void draw_game_background(Canvas& c);  // game.png
void draw_ending(Canvas& c);           // game_ed.png
// opening.cpp
void draw_opening(Canvas& c);  // game_op.png
// front.cpp
void draw_title(Canvas& c);
void draw_title_effect(Canvas& c);  // title_efect_1.png
void draw_title_start(Canvas& c);
void draw_result(Canvas& c);
