// The drawing device over Direct3D 9 and D3DX 9: one device for the game
// window with its fixed state, textures from PNG files, pre-transformed quads
// and the clear / begin / end / present of every frame.
#include <d3dx9.h>

#include "platform/screenshot.h"
#include "platform/video.h"
#include "platform/win32/win32_backend.h"

namespace {

IDirect3D9* direct3d = nullptr;
IDirect3DDevice9* device = nullptr;

constexpr UINT back_buffer_width = 640;   // pixels
constexpr UINT back_buffer_height = 480;  // pixels
constexpr D3DCOLOR clear_color = 0xFF000000;  // opaque black
constexpr float clear_depth = 1.0f;

// D3DFVF_XYZRHW | D3DFVF_DIFFUSE | D3DFVF_TEX1: the 28-byte SpriteVertex.
constexpr DWORD sprite_vertex_format = 0x144;
static_assert(sprite_vertex_format == (D3DFVF_XYZRHW | D3DFVF_DIFFUSE | D3DFVF_TEX1),
              "the vertex format is the SpriteVertex layout");

// The texture handed to the game is the Direct3D texture itself: the device
// keeps its own reference to the bound one, so a texture released while
// bound lives on (and its address cannot be reused) until the next bind.
VideoTexture* as_video_texture(IDirect3DTexture9* texture) {
    return reinterpret_cast<VideoTexture*>(texture);
}
IDirect3DTexture9* as_direct3d_texture(VideoTexture* texture) {
    return reinterpret_cast<IDirect3DTexture9*>(texture);
}

// Back-buffer size, swap, depth buffer and presentation shared by both
// builds; the windowed build takes the display's format, the full-screen one
// switches the display to 640 x 480 in X8R8G8B8.
void fill_present_parameters(D3DPRESENT_PARAMETERS* parameters, int fullscreen, D3DFORMAT format) {
    ZeroMemory(parameters, sizeof *parameters);
    parameters->BackBufferWidth = back_buffer_width;
    parameters->BackBufferHeight = back_buffer_height;
    parameters->BackBufferFormat = fullscreen ? D3DFMT_X8R8G8B8 : format;
    parameters->BackBufferCount = 1;
    parameters->MultiSampleType = D3DMULTISAMPLE_NONE;
    parameters->MultiSampleQuality = 0;
    parameters->SwapEffect = D3DSWAPEFFECT_DISCARD;
    parameters->hDeviceWindow = nullptr;  // the focus window
    parameters->Windowed = fullscreen ? FALSE : TRUE;
    parameters->EnableAutoDepthStencil = TRUE;
    parameters->AutoDepthStencilFormat = D3DFMT_D16;
    parameters->Flags = 0;
    parameters->FullScreen_RefreshRateInHz = 0;  // the adapter's default rate
    parameters->PresentationInterval = D3DPRESENT_INTERVAL_DEFAULT;  // waits for the retrace
}

// The state every draw of the game relies on, set once in this order: the
// texel's colour and alpha times the vertex's, depth test and write, the
// whole back buffer as viewport, no culling, source-alpha blending.
void set_fixed_state() {
    device->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_MODULATE);
    device->SetTextureStageState(0, D3DTSS_COLORARG1, D3DTA_TEXTURE);
    device->SetTextureStageState(0, D3DTSS_COLORARG2, D3DTA_DIFFUSE);
    device->SetTextureStageState(0, D3DTSS_ALPHAOP, D3DTOP_MODULATE);
    device->SetTextureStageState(0, D3DTSS_ALPHAARG1, D3DTA_TEXTURE);
    device->SetTextureStageState(0, D3DTSS_ALPHAARG2, D3DTA_DIFFUSE);
    device->SetRenderState(D3DRS_ZENABLE, TRUE);
    device->SetRenderState(D3DRS_ZWRITEENABLE, TRUE);
    D3DVIEWPORT9 viewport;
    viewport.X = 0;
    viewport.Y = 0;
    viewport.Width = back_buffer_width;
    viewport.Height = back_buffer_height;
    viewport.MinZ = 0.0f;
    viewport.MaxZ = 1.0f;
    device->SetViewport(&viewport);
    device->SetRenderState(D3DRS_CULLMODE, D3DCULL_NONE);
    device->SetRenderState(D3DRS_ALPHABLENDENABLE, TRUE);
    device->SetRenderState(D3DRS_SRCBLEND, D3DBLEND_SRCALPHA);
    device->SetRenderState(D3DRS_DESTBLEND, D3DBLEND_INVSRCALPHA);
}

}  // namespace

IDirect3DDevice9* win32_device() { return device; }

// ---------------------------------------------------------------- device

int video_create_device(int fullscreen) {
    video_release_device();  // a second creation replaces the first instead of leaking it
    direct3d = Direct3DCreate9(D3D_SDK_VERSION);
    if (!direct3d) return 0;
    D3DFORMAT format = D3DFMT_X8R8G8B8;
    if (!fullscreen) {
        D3DDISPLAYMODE mode;
        if (FAILED(direct3d->GetAdapterDisplayMode(D3DADAPTER_DEFAULT, &mode))) return 0;
        format = mode.Format;
    }
    D3DPRESENT_PARAMETERS parameters;
    fill_present_parameters(&parameters, fullscreen, format);
    HWND window = win32_main_window();
    // The windowed build falls back to software vertex processing silently;
    // the full-screen build asks for software processing from the start.
    HRESULT result = direct3d->CreateDevice(D3DADAPTER_DEFAULT, D3DDEVTYPE_HAL, window,
                                            fullscreen ? D3DCREATE_SOFTWARE_VERTEXPROCESSING
                                                       : D3DCREATE_HARDWARE_VERTEXPROCESSING,
                                            &parameters, &device);
    if (FAILED(result) && !fullscreen) {
        device = nullptr;
        fill_present_parameters(&parameters, fullscreen, format);
        result = direct3d->CreateDevice(D3DADAPTER_DEFAULT, D3DDEVTYPE_HAL, window,
                                        D3DCREATE_SOFTWARE_VERTEXPROCESSING, &parameters, &device);
    }
    if (FAILED(result)) {
        device = nullptr;
        return 0;
    }
    set_fixed_state();
    return 1;
}

void video_release_device() {
    if (device) {
        device->Release();
        device = nullptr;
    }
    if (direct3d) {
        direct3d->Release();
        direct3d = nullptr;
    }
}

// ---------------------------------------------------------------- textures

VideoTexture* video_load_texture(const char* path, int tile_sheet, uint32_t color_key,
                                 int* image_width, int* image_height) {
    if (!device || !path) return nullptr;
    D3DXIMAGE_INFO info;
    IDirect3DTexture9* texture = nullptr;
    const HRESULT result = D3DXCreateTextureFromFileExA(
        device, path, D3DX_DEFAULT, D3DX_DEFAULT, D3DX_DEFAULT, 0,
        tile_sheet ? D3DFMT_A8R8G8B8 : D3DFMT_UNKNOWN, D3DPOOL_MANAGED, D3DX_DEFAULT, D3DX_DEFAULT,
        color_key, &info, nullptr, &texture);
    if (FAILED(result) || !texture) return nullptr;
    if (image_width) *image_width = static_cast<int>(info.Width);
    if (image_height) *image_height = static_cast<int>(info.Height);
    return as_video_texture(texture);
}

void video_release_texture(VideoTexture* texture) {
    if (texture) as_direct3d_texture(texture)->Release();
}

// ---------------------------------------------------------------- drawing

void video_set_texture(VideoTexture* texture) {
    if (device) device->SetTexture(0, as_direct3d_texture(texture));
}

void video_set_world_translation(float x, float y) {
    if (!device) return;
    D3DXMATRIX world;
    D3DXMatrixTranslation(&world, x, y, 0.0f);
    device->SetTransform(D3DTS_WORLD, &world);
}

void video_set_vertex_format() {
    if (device) device->SetFVF(sprite_vertex_format);
}

void video_draw_quad(const SpriteVertex vertices[4]) {
    if (device) device->DrawPrimitiveUP(D3DPT_TRIANGLESTRIP, 2, vertices, sizeof(SpriteVertex));
}

void video_begin_frame() {
    if (!device) return;
    device->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, clear_color, clear_depth, 0);
    device->BeginScene();
}

void video_end_frame() {
    if (!device) return;
    device->EndScene();
    device->Present(nullptr, nullptr, nullptr, nullptr);
}

// ---------------------------------------------------------------- screenshot

// Waits until the device has carried out every call made so far, the last
// presentation among them.
void finish_device_work() {
    IDirect3DQuery9* query = nullptr;
    if (FAILED(device->CreateQuery(D3DQUERYTYPE_EVENT, &query))) return;
    query->Issue(D3DISSUE_END);
    for (int tries = 0; tries < 1000 && query->GetData(nullptr, 0, D3DGETDATA_FLUSH) == S_FALSE; ++tries)
        Sleep(1);
    query->Release();
}

// The presented frame as the window shows it: the client area is copied
// through GDI into a system-memory surface, which D3DX writes as PNG. The
// swap discards the back buffer, so that is never read after the
// presentation.
int video_save_screenshot(const char* png_path) {
    HWND window = win32_main_window();
    if (!device || !window || !png_path) return 0;
    finish_device_work();
    IDirect3DSurface9* surface = nullptr;
    if (FAILED(device->CreateOffscreenPlainSurface(back_buffer_width, back_buffer_height,
                                                   D3DFMT_X8R8G8B8, D3DPOOL_SYSTEMMEM, &surface,
                                                   nullptr)))
        return 0;
    int copied = 0;
    HDC surface_dc = nullptr;
    if (SUCCEEDED(surface->GetDC(&surface_dc))) {
        HDC window_dc = GetDC(window);
        if (window_dc) {
            copied = BitBlt(surface_dc, 0, 0, back_buffer_width, back_buffer_height, window_dc, 0,
                            0, SRCCOPY) != 0;
            ReleaseDC(window, window_dc);
        }
        surface->ReleaseDC(surface_dc);
    }
    const int saved =
        copied && SUCCEEDED(D3DXSaveSurfaceToFileA(png_path, D3DXIFF_PNG, surface, nullptr, nullptr));
    surface->Release();
    return saved;
}
