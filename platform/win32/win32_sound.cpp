// Effect sound output over DirectSound, which is not linked: "dsound.dll"
// is loaded at run time and its "DirectSoundCreate" makes the output
// objects. Static secondary buffers are the voices. PlaySoundA plays a whole
// WAV image from memory when there is no DirectSound.
#include <cstring>

#include "platform/sound_out.h"
#include "platform/win32/win32_backend.h"

// After windows.h, which they build on.
#include <dsound.h>
#include <mmsystem.h>

namespace {

typedef HRESULT(WINAPI* DirectSoundCreateEntry)(LPCGUID, LPDIRECTSOUND*, LPUNKNOWN);

// Static buffer, changeable frequency, pan and volume (0xE2); no focus flag,
// so the sound follows the game window's focus.
constexpr DWORD voice_flags = DSBCAPS_STATIC | DSBCAPS_CTRLFREQUENCY | DSBCAPS_CTRLPAN | DSBCAPS_CTRLVOLUME;
static_assert(voice_flags == 0xE2, "the voice flags");
constexpr uint32_t wave_format_bytes = 18;  // the WAVEFORMATEX of a WAV file, extra size included

IDirectSound* as_direct_sound(SoundOutput* output) { return reinterpret_cast<IDirectSound*>(output); }
IDirectSoundBuffer* as_buffer(SoundBuffer* buffer) {
    return reinterpret_cast<IDirectSoundBuffer*>(buffer);
}

uint32_t read_u32(const unsigned char* p) {
    return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}

}  // namespace

SoundLibrary* sound_library_load() {
    return reinterpret_cast<SoundLibrary*>(LoadLibraryA("dsound.dll"));
}

SoundEntry* sound_library_entry(SoundLibrary* library) {
    if (!library) return nullptr;
    return reinterpret_cast<SoundEntry*>(
        GetProcAddress(reinterpret_cast<HMODULE>(library), "DirectSoundCreate"));
}

void sound_library_free(SoundLibrary* library) {
    if (library) FreeLibrary(reinterpret_cast<HMODULE>(library));
}

SoundOutput* sound_output_create(SoundEntry* entry) {
    if (!entry) return nullptr;
    DirectSoundCreateEntry create = reinterpret_cast<DirectSoundCreateEntry>(entry);
    // The default device, no aggregation; only a missing object counts as a
    // failure.
    IDirectSound* output = nullptr;
    create(nullptr, &output, nullptr);
    return reinterpret_cast<SoundOutput*>(output);
}

void sound_output_release(SoundOutput* output) {
    if (output) as_direct_sound(output)->Release();
}

SoundWindow* sound_active_window() { return reinterpret_cast<SoundWindow*>(GetActiveWindow()); }

int sound_output_set_cooperative(SoundOutput* output, SoundWindow* window) {
    if (!output) return 0;
    return as_direct_sound(output)->SetCooperativeLevel(reinterpret_cast<HWND>(window),
                                                       DSSCL_NORMAL) == DS_OK;
}

SoundBuffer* sound_buffer_create(SoundOutput* output, const unsigned char* format, uint32_t bytes) {
    if (!output || !format) return nullptr;
    WAVEFORMATEX wave_format;
    static_assert(sizeof wave_format == wave_format_bytes, "WAVEFORMATEX is the 18 bytes of the file");
    std::memcpy(&wave_format, format, wave_format_bytes);
    DSBUFFERDESC description;
    std::memset(&description, 0, sizeof description);
    description.dwSize = sizeof description;
    description.dwFlags = voice_flags;
    description.dwBufferBytes = bytes;
    description.dwReserved = 0;
    description.lpwfxFormat = &wave_format;
    description.guid3DAlgorithm = GUID_NULL;
    IDirectSoundBuffer* buffer = nullptr;
    if (as_direct_sound(output)->CreateSoundBuffer(&description, &buffer, nullptr) != DS_OK)
        return nullptr;
    return reinterpret_cast<SoundBuffer*>(buffer);
}

int sound_buffer_lock(SoundBuffer* buffer, uint32_t bytes, void** part, uint32_t* part_bytes) {
    if (!buffer) return 0;
    void* first = nullptr;
    DWORD first_bytes = 0;
    if (as_buffer(buffer)->Lock(0, bytes, &first, &first_bytes, nullptr, nullptr, 0) != DS_OK)
        return 0;
    *part = first;
    *part_bytes = first_bytes;
    return 1;
}

void sound_buffer_unlock(SoundBuffer* buffer, void* part, uint32_t part_bytes) {
    if (buffer) as_buffer(buffer)->Unlock(part, part_bytes, nullptr, 0);
}

uint32_t sound_buffer_status(SoundBuffer* buffer) {
    DWORD status = 0;
    if (!buffer || as_buffer(buffer)->GetStatus(&status) != DS_OK) return 0;
    uint32_t result = 0;
    if (status & DSBSTATUS_PLAYING) result |= SoundPlaying;
    if (status & DSBSTATUS_BUFFERLOST) result |= SoundLost;
    if (status & DSBSTATUS_LOOPING) result |= SoundLooping;
    return result;
}

void sound_buffer_stop(SoundBuffer* buffer) {
    if (buffer) as_buffer(buffer)->Stop();
}

void sound_buffer_set_pan(SoundBuffer* buffer, int pan) {
    if (buffer) as_buffer(buffer)->SetPan(pan);
}

void sound_buffer_set_position(SoundBuffer* buffer, uint32_t byte_offset) {
    if (buffer) as_buffer(buffer)->SetCurrentPosition(byte_offset);
}

int sound_buffer_play(SoundBuffer* buffer) {
    return buffer && as_buffer(buffer)->Play(0, 0, 0) == DS_OK;
}

void sound_buffer_release(SoundBuffer* buffer) {
    if (buffer) as_buffer(buffer)->Release();
}

int sound_play_memory(const unsigned char* image, uint32_t size) {
    if (!image) return PlaySoundA(nullptr, nullptr, SND_ASYNC | SND_MEMORY) ? 1 : 0;
    // The system's player takes the image's length from its RIFF header; an
    // image that claims more bytes than it has is refused rather than read
    // beyond its end.
    if (size < 8 || std::memcmp(image, "RIFF", 4) != 0 || read_u32(image + 4) > size - 8) return 0;
    return PlaySoundA(reinterpret_cast<LPCSTR>(image), nullptr, SND_ASYNC | SND_MEMORY) ? 1 : 0;
}
