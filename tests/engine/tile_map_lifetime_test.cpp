// A tile map owns its tiles: when the map goes (the game's own map at
// process exit), every tile goes with it. Found by the stage reader's
// fuzzing, whose leak check saw the 300 tiles of the last stage lost at
// exit.
#include <gtest/gtest.h>
#include <malloc.h>

#include "render/sprite.h"

namespace {

size_t bytes_in_use() { return mallinfo2().uordblks; }

TEST(TileMapLifetime, TilesAreFreedWithTheirMap) {
    // Under a sanitizer's allocator the C library keeps no count; the leak
    // check at exit stands in for this test there.
    if (bytes_in_use() == 0) GTEST_SKIP() << "the allocator keeps no count of bytes in use";
    constexpr int tile_count = 3000;  // 3000 tiles of 32 bytes: far above any noise
    const size_t before = bytes_in_use();
    {
        TileMap map = {};
        for (int i = 0; i < tile_count; ++i) map.tiles.push_back(new Tile());
        ASSERT_GT(bytes_in_use(), before + tile_count * sizeof(Tile));
    }
    EXPECT_LT(bytes_in_use(), before + tile_count * sizeof(Tile) / 10);
}

}  // namespace
