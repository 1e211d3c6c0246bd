// Every picture of the game: its file under res/, its image size (the frame
// size times the frame grid the game loads it with) and its drawing code.
#include "assets/art/pictures.h"

const ArtPicture art_pictures[] = {
    {"C_core.png", 24, 25, draw_sensor_core},
    {"C_3.png", 20, 18, draw_sensor_head},
    {"C_4.png", 20, 20, draw_sensor_feet},
    {"C_1.png", 5, 20, draw_sensor_left},
    {"C_2.png", 5, 20, draw_sensor_right},
    {"player_alive.png", 256, 64, draw_player_alive},  // 4 x 1 frames of 64 x 64
    {"player_death.png", 42, 19, draw_player_death},
    {"C_death.png", 24, 13, draw_sensor_corpse_body},
    {"C_death_under.png", 24, 5, draw_sensor_corpse_foot},
    {"Tip_image4.png", 256, 32, draw_tiles},  // 8 x 1 tiles of 32 x 32
    {"coffin.png", 40, 60, draw_coffin_picture},
    {"resp.png", 160, 60, draw_respawn_marker},    // 4 x 1 frames of 40 x 60
    {"area.png", 180, 70, draw_start_area},        // 3 x 1 frames of 60 x 70
    {"tage.png", 128, 32, draw_selection_marker},  // 4 x 1 frames of 32 x 32
    {"blood.png", 64, 64, draw_blood},
    {"fire.png", 360, 60, draw_fire},            // 6 x 1 frames of 60 x 60
    {"ice.png", 360, 60, draw_ice},              // 6 x 1 frames of 60 x 60
    {"num_001.png", 400, 40, draw_digits_ones},  // 10 x 1 frames of 40 x 40
    {"num_010.png", 400, 40, draw_digits_tens},
    {"num_100.png", 400, 40, draw_digits_hundreds},
    {"num_bord.png", 200, 70, draw_corpse_board},
    {"death_bord.png", 200, 70, draw_death_board},
    {"end_bord.png", 300, 300, draw_end_board},
    {"star.png", 192, 256, draw_stars},         // 1 x 4 frames of 192 x 64
    {"end_text.png", 192, 192, draw_end_text},  // 1 x 3 frames of 192 x 64
    {"game.png", 640, 480, draw_game_background},
    {"game_ed.png", 640, 480, draw_ending},
    {"game_op.png", 640, 3840, draw_opening},  // 1 x 8 frames of 640 x 480
    {"title.png", 640, 480, draw_title},
    {"title_efect_1.png", 4480, 480, draw_title_effect},  // 7 x 1 frames of 640 x 480
    {"title_start.png", 340, 375, draw_title_start},      // 1 x 5 frames of 340 x 75
    {"result.png", 640, 480, draw_result},
    {"you.png", 80, 40, draw_you_marker},
};
const int art_picture_count = sizeof(art_pictures) / sizeof(art_pictures[0]);
