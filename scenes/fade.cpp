#include "scenes/fade.h"

#include "game/game_state.h"
#include "render/sprite.h"

int fade_alpha = 255;

namespace {
constexpr int fade_step = 10;  // alpha per frame: 26 frames from one end to the other
}

int fade_in_step() {
    fade_alpha -= fade_step;
    if (fade_alpha >= 0) {
        sprite_set_color(game.fade_sprite, static_cast<uint32_t>(fade_alpha) << 24);
        return 0;
    }
    fade_alpha = 0;
    sprite_set_color(game.fade_sprite, 0x00000000u);
    return 1;
}

int fade_out_step() {
    fade_alpha += fade_step;
    if (fade_alpha <= 255) {
        sprite_set_color(game.fade_sprite, static_cast<uint32_t>(fade_alpha) << 24);
        return 0;
    }
    fade_alpha = 255;
    sprite_set_color(game.fade_sprite, 0xFF000000u);
    return 1;
}

void fade_make_sprite() {
    sprite_init(game.fade_sprite);
    sprite_make_rect(game.fade_sprite, 640, 480, static_cast<uint32_t>(fade_alpha) << 24);
}
