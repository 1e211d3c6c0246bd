// Picture read-back and PNG writing for the Win32 backend tests, through
// D3DX on the game's own device.
#include "tests/windows/pixels.h"

#include <d3dx9.h>

#include <cstring>

#include "platform/screenshot.h"
#include "platform/win32/win32_backend.h"

int picture_from_screen(const char* png_path, Picture* picture) {
    if (!video_save_screenshot(png_path)) return 0;
    IDirect3DDevice9* device = win32_device();
    D3DXIMAGE_INFO info;
    if (FAILED(D3DXGetImageInfoFromFileA(png_path, &info))) return 0;
    IDirect3DSurface9* surface = nullptr;
    if (FAILED(device->CreateOffscreenPlainSurface(info.Width, info.Height, D3DFMT_X8R8G8B8,
                                                   D3DPOOL_SYSTEMMEM, &surface, nullptr)))
        return 0;
    int ok = 0;
    if (SUCCEEDED(D3DXLoadSurfaceFromFileA(surface, nullptr, nullptr, png_path, nullptr,
                                           D3DX_FILTER_NONE, 0, nullptr))) {
        D3DLOCKED_RECT locked;
        if (SUCCEEDED(surface->LockRect(&locked, nullptr, D3DLOCK_READONLY))) {
            picture->width = static_cast<int>(info.Width);
            picture->height = static_cast<int>(info.Height);
            picture->pixels.assign(static_cast<size_t>(picture->width) * picture->height, 0);
            for (int y = 0; y < picture->height; ++y) {
                const uint8_t* row = static_cast<const uint8_t*>(locked.pBits) + y * locked.Pitch;
                for (int x = 0; x < picture->width; ++x) {
                    uint32_t p;
                    std::memcpy(&p, row + 4 * x, 4);
                    picture->pixels[static_cast<size_t>(y) * picture->width + x] = p & 0xFFFFFF;
                }
            }
            surface->UnlockRect();
            ok = 1;
        }
    }
    surface->Release();
    return ok;
}

int write_png(const char* png_path, int width, int height, const uint32_t* pixels) {
    IDirect3DDevice9* device = win32_device();
    IDirect3DSurface9* surface = nullptr;
    if (!device || FAILED(device->CreateOffscreenPlainSurface(width, height, D3DFMT_A8R8G8B8,
                                                              D3DPOOL_SYSTEMMEM, &surface, nullptr)))
        return 0;
    int ok = 0;
    D3DLOCKED_RECT locked;
    if (SUCCEEDED(surface->LockRect(&locked, nullptr, 0))) {
        for (int y = 0; y < height; ++y)
            std::memcpy(static_cast<uint8_t*>(locked.pBits) + y * locked.Pitch, pixels + y * width,
                        4 * static_cast<size_t>(width));
        surface->UnlockRect();
        ok = SUCCEEDED(D3DXSaveSurfaceToFileA(png_path, D3DXIFF_PNG, surface, nullptr, nullptr));
    }
    surface->Release();
    return ok;
}
