#pragma once
// The drawing device: one 640 x 480 back buffer cleared to opaque black each
// frame, pre-transformed textured quads drawn in call order with the texture
// modulated by the vertex colour and blended source-alpha over
// inverse-source-alpha, and one presentation per frame.
#include <cstdint>

// One pre-transformed vertex, 28 bytes without gaps (position, reciprocal
// homogeneous w, ARGB colour, texture coordinate).
struct SpriteVertex {
    float x;           // screen x in pixels
    float y;           // screen y in pixels, downwards
    float z;           // always 0.0
    float rhw;         // always 1.0
    uint32_t diffuse;  // ARGB, alpha in the top byte
    float u;           // 0.0 = left edge of the image
    float v;           // 0.0 = top edge of the image
};
static_assert(sizeof(SpriteVertex) == 28, "the vertex layout is 28 bytes");

struct VideoTexture;  // a loaded image; owned by whoever loaded it

// Creates the device for the game window with its fixed render state:
// modulated texture colour and alpha, depth test on, 640 x 480 viewport, no
// culling, source-alpha blending. fullscreen selects the exclusive 640 x 480
// mode. 1 when the device is ready.
int video_create_device(int fullscreen);
// Releases what exists of the device; harmless when nothing exists.
void video_release_device();

// Loads a PNG image. tile_sheet 1 asks for a 32-bit ARGB texture (the tile
// sheet), 0 for the file's own format. color_key 0 turns colour keying off.
// Reports the image file's own size. Null when the file cannot be loaded.
VideoTexture* video_load_texture(const char* path, int tile_sheet, uint32_t color_key,
                                 int* image_width, int* image_height);
void video_release_texture(VideoTexture* texture);

// Binds the texture for the following quads; null binds none.
void video_set_texture(VideoTexture* texture);
// The world transform; pre-transformed vertices ignore it.
void video_set_world_translation(float x, float y);
// Selects the 28-byte vertex layout above.
void video_set_vertex_format();
// Two triangles as a strip: vertices 0-1-2 and 1-2-3.
void video_draw_quad(const SpriteVertex vertices[4]);

// Clear to opaque black (and the depth buffer to 1.0), then begin the scene.
void video_begin_frame();
// End the scene and present it.
void video_end_frame();
