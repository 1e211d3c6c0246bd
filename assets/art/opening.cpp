// The opening: eight 640 x 480 frames in a column, each shown 5 game frames,
// looping. A little stage at twice the size: a ledge, a pit of spikes, and the
// coffin beyond. The first character walks into the pit and dies on the
// spikes; its corpse lies across them; the next one rises at the start and
// walks over the corpse to the coffin. The caption tells the rule.
#include "assets/art/art_common.h"
#include "assets/art/pictures.h"

namespace {

const float kScale = 2.0f;     // the stage is drawn at twice the game's size
const float kGround = 352.0f;  // y of the ledges' top (pixels)
const float kPitX = 320.0f;    // the pit of spikes spans one big tile: x 320..384
const float kBig = 32.0f * kScale;

void draw_tile(Canvas& c, const Canvas& sheet, int type, float x, float y) {
    canvas_draw_scaled(c, sheet, 32 * type, 0, 32, 32, x, y, kScale);
}

void draw_stage(Canvas& c, const Canvas& sheet) {
    for (float x = 0.0f; x < 640.0f; x += kBig) {
        const int pit = x == kPitX;
        for (float y = kGround; y < 480.0f; y += kBig) {
            int type = 1;
            if (pit && y == kGround) type = 3;
            if (x == 64.0f && y == kGround) type = 6;   // the start
            if (x == 512.0f && y == kGround) type = 7;  // the goal
            draw_tile(c, sheet, type, x, y);
        }
    }
}

// The character's spots in the eight frames; `dead` marks the frame of death.
struct Beat {
    float a_x, a_y, a_angle;  // first character (a_x < 0: not shown)
    int a_frame;
    float b_x, b_y;  // second character (b_x < 0: not shown)
    int b_frame;
    int corpse;  // 1: the corpse lies on the spikes
    int blood;   // 1: the splash of the death
    int rising;  // 1: the second character appears in the start's light
    int goal;    // 1: the coffin shines, the stage is cleared
};
const Beat beats[8] = {
    {200.0f, kGround, 0.0f, 0, -1, 0, 0, 0, 0, 0, 0},
    {292.0f, kGround, 0.0f, 2, -1, 0, 0, 0, 0, 0, 0},
    {352.0f, kGround + 8.0f, 24.0f, 1, -1, 0, 0, 0, 0, 0, 0},
    {-1, 0, 0, 0, 96.0f, kGround, 3, 1, 1, 1, 0},
    {-1, 0, 0, 0, 236.0f, kGround, 0, 1, 0, 0, 0},
    {-1, 0, 0, 0, 352.0f, kGround - 23.0f, 2, 1, 0, 0, 0},
    {-1, 0, 0, 0, 440.0f, kGround, 0, 1, 0, 0, 0},
    {-1, 0, 0, 0, 492.0f, kGround, 3, 1, 0, 0, 1},
};

}  // namespace

void draw_opening(Canvas& c) {
    Canvas sheet;
    canvas_init(sheet, 256, 32);
    draw_tiles(sheet);
    Canvas back;
    canvas_init(back, 640, 480);
    NightScene s;
    s.seed = 5;
    s.horizon = 300.0f;
    s.moon_x = 540.0f;
    s.moon_y = 150.0f;
    s.moon_r = 36.0f;
    s.brightness = 0.8f;
    s.graves = 1;
    draw_night(back, s);
    draw_stage(back, sheet);
    // The coffin on the goal block and the grave of the respawn marker on the start.
    const float coffin_x = 512.0f + (kBig - 40.0f * kScale) * 0.5f;
    for (int f = 0; f < 8; ++f) {
        const Beat& b = beats[f];
        Canvas frame = back;
        draw_coffin(frame, coffin_x + 6.0f, kGround - 60.0f * kScale + 2.0f, 40.0f * kScale - 12.0f,
                    60.0f * kScale - 2.0f, b.goal ? 1.0f : 0.3f);
        draw_tombstone(frame, 96.0f, kGround, 44.0f, 52.0f, pal::stone, pal::stone_light);
        if (b.corpse)
            draw_corpse(frame, kPitX + 32.0f - 21.0f * kScale, kGround - 19.0f * kScale + 14.0f,
                        kScale);
        if (b.blood) {
            Canvas splash;
            canvas_init(splash, 64, 64);
            draw_blood(splash);
            canvas_draw_scaled(frame, splash, 0, 0, 64, 64, kPitX - 32.0f, kGround - 70.0f, 2.0f);
        }
        if (b.rising)
            canvas_paint(frame, [](float x, float y) {
                const float across = clamp01(1.0f - std::fabs(x - 96.0f) / 60.0f);
                const float up = clamp01((y - 180.0f) / 172.0f) * (y < kGround ? 1.0f : 0.0f);
                return fade(pal::ice, across * across * up * 0.4f);
            });
        if (b.a_x >= 0.0f) draw_character(frame, b.a_x, b.a_y, kScale, b.a_frame, 0, b.a_angle);
        if (b.b_x >= 0.0f) draw_character(frame, b.b_x, b.b_y, kScale, b.b_frame);
        if (b.goal) {
            fill_circle(frame, coffin_x + 40.0f, kGround - 70.0f, 80.0f, fade(pal::gold, 0.25f),
                        80.0f, BlendAdd);
            for (int k = 0; k < 5; ++k) {
                float pts[20];
                star_points(pts, coffin_x - 10.0f + 25.0f * k, kGround - 150.0f - 18.0f * (k % 2),
                            7.0f);
                fill_polygon(frame, pts, 10, pal::flame);
            }
        }
        // The caption, the same in every frame so that it reads while the scene moves.
        TextStyle st;
        st.family = "IPAMincho";
        st.size = 48;
        st.top = pal::bone;
        st.bottom = rgb(0xe8a0a8);
        st.outline = 3.5f;
        st.outline_color = rgb(0x14081a);
        st.shadow_blur = 5;
        st.shadow_dy = 4;
        text_draw_centred(frame, st, 320.0f, 78.0f, "死んで、道をひらけ。");
        TextStyle sub;
        sub.family = "IPAGothic";
        sub.size = 20;
        sub.top = sub.bottom = pal::bone;
        sub.outline = 2.0f;
        sub.outline_color = rgb(0x14081a);
        text_draw_centred(frame, sub, 320.0f, 136.0f, "しかばねは、つぎの足場になる。");
        canvas_draw(c, frame, 0, 480 * f);
    }
}
