// What every picture of the game shares: the palette of a graveyard at night
// and the figures drawn in more than one picture (the character, the corpse,
// candle flames, stars, the night scenery).
#pragma once

#include "tools/art/art.h"

// ---------------------------------------------------------------- palette

namespace pal {
// night
const Rgba night0 = rgb(0x07060f);  // the darkest sky, near black
const Rgba night1 = rgb(0x120d26);
const Rgba night2 = rgb(0x1f1840);
const Rgba indigo = rgb(0x2e2660);
const Rgba purple = rgb(0x4b3678);
const Rgba lavender = rgb(0x8a78c0);
const Rgba mist = rgb(0xb9b0e0);
// bone
const Rgba bone = rgb(0xf1e8d4);
const Rgba bone_shade = rgb(0xc4b69a);
const Rgba bone_dark = rgb(0x86785e);
// candle
const Rgba candle = rgb(0xff9a3c);
const Rgba flame = rgb(0xffd873);
const Rgba ember = rgb(0xd8501c);
// blood
const Rgba blood = rgb(0xb3162c);
const Rgba blood_dark = rgb(0x640a18);
const Rgba blood_light = rgb(0xe8405a);
// ice
const Rgba ice = rgb(0x8fe6ff);
const Rgba ice_deep = rgb(0x2f8fc8);
const Rgba ice_white = rgb(0xe8fbff);
// gold of the coffin and the boards
const Rgba gold = rgb(0xe8b64a);
const Rgba gold_dark = rgb(0x9a6a1e);
// poison of the shallow pools
const Rgba poison = rgb(0x7fe04a);
const Rgba poison_dark = rgb(0x2f6a1c);
// stone of the blocks
const Rgba stone = rgb(0x5b5378);
const Rgba stone_light = rgb(0x8a82a8);
const Rgba stone_dark = rgb(0x2c2642);
// the character
const Rgba skin = rgb(0xf6eaf0);
const Rgba skin_shade = rgb(0xd8c0d8);
const Rgba blush = rgb(0xff8aa6, 0.65f);
const Rgba hood = rgb(0x7d5cc0);
const Rgba hood_light = rgb(0xa98ae6);
const Rgba hood_dark = rgb(0x4a3380);
const Rgba hood_inside = rgb(0x221540);
const Rgba cloak = rgb(0x3d3172);
const Rgba cloak_light = rgb(0x6252a0);
const Rgba eye = rgb(0x26123a);
const Rgba outline = rgb(0x0c0716);
const Rgba boot = rgb(0x2a1c3a);
const Rgba stocking = rgb(0xcfc2e0);  // pale stockings so the legs read on the night
}  // namespace pal

// ---------------------------------------------------------------- figures

// The character standing or walking, facing right (mirror 1 for left). Its
// feet meet the ground at (x, y), its body is centred on x; at scale 1 it is
// about 28 px wide and 38 px tall, the hood's tip reaching 6 px higher.
// frame: 0..3 the walk cycle, 3 the standing pose. angle turns it about its feet.
void draw_character(Canvas& c, float x, float y, float scale, int frame, int mirror = 0,
                    float angle = 0.0f);
// The corpse lying on its back, head to the right, eyes as crosses; at scale 1
// it fills (x, y) to (x + 42, y + 19), its bottom on y + 19.
void draw_corpse(Canvas& c, float x, float y, float scale, float char_amount = 0.0f);
// A candle flame whose base sits at (x, y), h pixels tall; phase 0..1 sways it;
// halo 1 adds its soft glow around it.
void draw_flame(Canvas& c, float x, float y, float h, float phase, float alpha = 1.0f,
                int halo = 1);
// A five-pointed star centred at (cx, cy) with outer radius r.
void star_points(float* pts, float cx, float cy, float r, float inner = 0.45f);

// The night graveyard behind the stages, the title and the result: sky, moon,
// stars, hills, tombstones, crosses, bare trees and ground fog. `seed` moves the
// scattered things; `horizon` is the y of the hills.
struct NightScene {
    uint32_t seed = 1;
    float horizon = 360.0f;
    float moon_x = 520.0f, moon_y = 90.0f, moon_r = 38.0f;
    float brightness = 1.0f;  // scales the sky and moon (below 1 is calmer)
    int graves = 1;
};
void draw_night(Canvas& c, const NightScene& scene);
// One tombstone, its base centred at (x, y), w x h pixels.
void draw_tombstone(Canvas& c, float x, float y, float w, float h, Rgba body, Rgba rim);
// The coffin standing upright in a w x h box whose top-left is (x, y).
void draw_coffin(Canvas& c, float x, float y, float w, float h, float glow);
