#pragma once
// Collision geometry: the quads that sprites and tiles occupy on screen,
// exactly as they are drawn, tested closed (touching counts). Anything
// wholly off the 640 x 480 screen never collides, which is how parked
// sprites at (1000, 1000) stay out of play.
#include "render/sprite.h"

// The sensor kind a tile contact reports: which sprite touched the tile.
enum SensorKind {
    SensorCore = 0,
    SensorHead = 1,
    SensorFeet = 2,
    SensorLeft = 3,
    SensorRight = 4,
    SensorCorpse = 5,  // the body of the corpse in slot sweep_corpse
};

// Four corners: 0 top-left, 1 bottom-left, 2 bottom-right, 3 top-right of
// the unrotated frame. Edge k runs from corner k to corner k + 1 (mod 4):
// left, bottom, right, top.
struct Quad {
    float x[4];
    float y[4];
};

Quad sprite_quad(const Sprite& sprite);
Quad tile_quad(const TileMap& tile_map, const Tile& tile);
// All four corners left of 0, above 0, at or right of 640, or at or below 480.
int quad_off_screen(const Quad& quad);
// The point in the closed quad whose corners are rounded to whole pixels
// (the point itself is not rounded).
int point_in_quad(const Quad& quad, float px, float py);
// Edge a of quad p crosses edge b of quad q (unrounded corners); parallel
// edges never cross.
int quad_edges_cross(const Quad& p, int a, const Quad& q, int b);
// The full test on two quads: corners of p in q, corners of q in p, then
// every edge pair.
int quads_overlap(const Quad& p, const Quad& q);

// 1 if the two sprites' quads overlap; visibility is not consulted.
int sprites_overlap(const Sprite& a, const Sprite& b);
// Tests a visible sprite against every visible tile and reports each tile
// it touches through scene_contact (tile index, kind), unless contact_lock
// is set. 1 if any tile overlaps.
int sprite_touch_tiles(TileMap& tile_map, const Sprite& sprite, int kind);
