// Collision geometry: corner rounding of the point test, closed overlap,
// the off-screen rule, parked sprites, and the tile sweep with its
// contact lock and order of reports.
#include "game/collision.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "game/game_state.h"
#include "platform/headless/headless.h"
#include "render/sprite.h"
#include "scenes/scene_manager.h"

namespace {

std::vector<std::pair<int, int>> reported;  // (tile index, kind) in order
void record_contact(int tile, int kind) { reported.emplace_back(tile, kind); }
int no_init() { return 1; }
void nothing() {}
const SceneHandlers recorder = {no_init, nothing, nothing, nothing, record_contact};

Sprite rect(float x, float y, int w, int h) {
    Sprite s = {};
    sprite_init(s);
    sprite_make_rect(s, w, h, 0xFFFFFFFFu);
    sprite_set_position(s, x, y);
    return s;
}

class CollisionTest : public ::testing::Test {
   protected:
    void SetUp() override {
        headless_reset();
        reported.clear();
        scene_manager() = {Game, Title, Game};
        scene_set_handlers(Game, &recorder);
        tile_map_init(map);
        map.frame_width = map.frame_height = 32;
        game.contact_lock = 0;
    }
    void TearDown() override {
        tile_map_clear(map);
        scene_set_handlers(Game, nullptr);
        scene_manager() = {None, None, None};
        game.contact_lock = 0;
    }
    void add(float x, float y, uint8_t visible = 1) {
        Tile* t = new Tile{x, y, visible, 0.0f, 1.0f, 1.0f, 0xFFFFFFFFu, 1};
        map.tiles.push_back(t);
    }
    TileMap map = {};
};

TEST_F(CollisionTest, PointTestRoundsTheCornersNotThePoint) {
    // A 20 x 20 quad at (90, 79.6): rounded it spans x 90..110, y 80..100.
    const Quad q = sprite_quad(rect(90.0f, 79.6f, 20, 20));
    struct Case {
        float px, py;
        int inside;
    } cases[] = {
        {100.0f, 100.0f, 1},   // on the rounded bottom edge
        {100.0f, 100.01f, 0},  // just below it
        {100.0f, 79.7f, 0},    // inside the unrounded quad, above the rounded top
        {90.0f, 80.0f, 1},     // the rounded corner itself
        {89.99f, 90.0f, 0},   {110.0f, 90.0f, 1}, {110.001f, 90.0f, 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(point_in_quad(q, c.px, c.py), c.inside) << c.px << ", " << c.py;
    // Halves round up, negative values towards zero: a corner at -0.7
    // becomes 0 and one at -1.5 becomes -1.
    const Quad n = sprite_quad(rect(-0.7f, -1.5f, 10, 10));
    EXPECT_EQ(point_in_quad(n, 0.0f, -1.0f), 1);
    EXPECT_EQ(point_in_quad(n, -0.1f, 0.0f), 0);
    EXPECT_EQ(point_in_quad(n, 0.0f, -1.1f), 0);
    const Quad h = sprite_quad(rect(2.5f, 2.5f, 4, 4));  // 3..7 (6.5 gives 7)
    EXPECT_EQ(point_in_quad(h, 2.9f, 4.0f), 0);
    EXPECT_EQ(point_in_quad(h, 7.0f, 7.0f), 1);
}

TEST_F(CollisionTest, OverlapIsClosedAndIgnoresWhatIsOffScreen) {
    struct Case {
        const char* what;
        Sprite a, b;
        int overlap;
    } cases[] = {
        {"corpse body resting on a tile top", rect(100, 87, 24, 13), rect(100, 100, 32, 32), 1},
        {"one shared corner", rect(10, 10, 10, 10), rect(20, 20, 10, 10), 1},
        {"a pixel apart", rect(10, 10, 10, 10), rect(21, 10, 10, 10), 0},
        {"a cross with no corner inside", rect(50, 10, 10, 60), rect(30, 30, 50, 10), 1},
        {"parked", rect(1000, 1000, 24, 13), rect(1000, 1000, 24, 13), 0},
        {"straddling the left edge", rect(-5, 100, 10, 10), rect(0, 100, 3, 3), 1},
        {"wholly right of the screen", rect(640, 100, 10, 10), rect(640, 100, 10, 10), 0},
        {"wholly below the screen", rect(10, 480, 10, 10), rect(10, 480, 10, 10), 0},
    };
    for (Case& c : cases) {
        EXPECT_EQ(sprites_overlap(c.a, c.b), c.overlap) << c.what;
        EXPECT_EQ(sprites_overlap(c.b, c.a), c.overlap) << c.what << " (swapped)";
    }
    // Visibility plays no part between sprites.
    Sprite hidden = rect(10, 10, 10, 10);
    hidden.visible = 0;
    EXPECT_EQ(sprites_overlap(hidden, rect(15, 15, 10, 10)), 1);
}

TEST_F(CollisionTest, SensorJustAboveATileTouchesOnlyWhereATileCornerMeetsIt) {
    add(100, 100);
    EXPECT_EQ(sprite_touch_tiles(map, rect(90.0f, 79.6f, 20, 20), 2), 1);
    EXPECT_EQ(reported, (std::vector<std::pair<int, int>>{{0, 2}}));
    reported.clear();
    EXPECT_EQ(sprite_touch_tiles(map, rect(105.0f, 79.6f, 20, 20), 2), 0);
    EXPECT_TRUE(reported.empty());
}

TEST_F(CollisionTest, SweepReportsEveryTouchedTileInIndexOrderUnlessLocked) {
    add(0, 0);
    add(32, 0);
    add(64, 0, 0);                               // invisible: ignored
    add(96, 0);                                  // out of reach
    const Sprite sensor = rect(20, 10, 20, 20);  // over tiles 0 and 1, touching nothing else
    Sprite wide = rect(20, 10, 60, 20);          // would reach tile 2
    EXPECT_EQ(sprite_touch_tiles(map, sensor, 3), 1);
    EXPECT_EQ(sprite_touch_tiles(map, wide, 4), 1);
    EXPECT_EQ(reported, (std::vector<std::pair<int, int>>{{0, 3}, {1, 3}, {0, 4}, {1, 4}}));
    reported.clear();
    game.contact_lock = 1;
    EXPECT_EQ(sprite_touch_tiles(map, sensor, 0), 1);
    EXPECT_TRUE(reported.empty());
    game.contact_lock = 0;
    wide.visible = 0;
    EXPECT_EQ(sprite_touch_tiles(map, wide, 4), 0);
    EXPECT_EQ(sprite_touch_tiles(map, rect(1000, 1000, 20, 20), 4), 0);
    EXPECT_TRUE(reported.empty());
}

// The quick answer for quads far apart agrees with the corner and edge
// tests themselves at every offset near the edge of contact, also for
// mirrored and degenerate quads.
TEST_F(CollisionTest, QuickAnswerAgreesWithTheCornerAndEdgeTests) {
    auto literal = [](const Quad& p, const Quad& q) {
        for (int i = 0; i < 4; ++i)
            if (point_in_quad(q, p.x[i], p.y[i])) return 1;
        for (int i = 0; i < 4; ++i)
            if (point_in_quad(p, q.x[i], q.y[i])) return 1;
        for (int a = 0; a < 4; ++a)
            for (int b = 0; b < 4; ++b)
                if (quad_edges_cross(p, a, q, b)) return 1;
        return 0;
    };
    struct Shape {
        int w, h;
        float scale_x, scale_y;
    } shapes[] = {{20, 20, 1, 1},  {5, 20, 1, 1},  {24, 13, 1, 1}, {24, 5, 1, 1},
                  {64, 64, -1, 1}, {10, 10, 0, 0}, {1, 30, 1, 1}};
    const Quad tile = sprite_quad(rect(100, 100, 32, 32));
    int touching = 0, apart = 0;
    for (const Shape& shape : shapes) {
        for (float dy = -3.0f; dy <= 3.0f; dy += 0.1f) {
            for (float dx = -3.0f; dx <= 3.0f; dx += 0.25f) {
                // Just above the tile's top and just left of its left side.
                for (int side = 0; side < 2; ++side) {
                    Sprite s = rect(0, 0, shape.w, shape.h);
                    s.scale_x = shape.scale_x;
                    s.scale_y = shape.scale_y;
                    if (side == 0)
                        sprite_set_position(s, 110.0f + dx, 100.0f - shape.h + dy);
                    else
                        sprite_set_position(s, 100.0f - shape.w + dx, 110.0f + dy);
                    const Quad q = sprite_quad(s);
                    const int expected = literal(q, tile);
                    ASSERT_EQ(quads_overlap(q, tile), expected)
                        << shape.w << "x" << shape.h << " at " << s.x << ", " << s.y;
                    ASSERT_EQ(quads_overlap(tile, q), literal(tile, q));
                    (expected ? touching : apart) += 1;
                }
            }
        }
    }
    EXPECT_GT(touching, 100);
    EXPECT_GT(apart, 100);
}

TEST_F(CollisionTest, TileOffScreenNeverTouches) {
    add(640, 0);
    add(0, -32);
    EXPECT_EQ(sprite_touch_tiles(map, rect(630, -5, 20, 20), 1), 0);
    EXPECT_TRUE(reported.empty());
}

}  // namespace
