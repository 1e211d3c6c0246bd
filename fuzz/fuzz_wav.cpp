// The effects' WAV layout read on any bytes, on the headless sound output.
// The input is a whole WAV file, found by name as the game finds it (here
// as a program resource). A load that succeeds must have read its sample
// length and samples from inside the file and filled three voices with
// exactly those samples; the effect is then started four times, which
// takes the three voices and cuts the last. A resource that is itself a
// ".dpa" container gives the item it holds, so the image is that item.
#include <cstring>

#include "audio/data_source.h"
#include "audio/sound_effect.h"
#include "fuzz/fuzz_support.h"
#include "platform/headless/headless_audio.h"

namespace {

SoundEffect effect;
int bound = 0;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size > (1u << 20)) return 0;
    headless_audio_reset();
    if (!bound) {
        effect_bind(&effect);
        bound = 1;
    }
    headless_resource_add("fuzz/effect.wav", data, uint32_t(size));
    const int first_voice = headless_sound_voices_made() + 1;
    uint32_t image_size = uint32_t(size);
    PackArchive pack = {};
    if (pack_open_memory(&pack, data, uint32_t(size)) && pack_expand(&pack)) image_size = pack.expanded_size;
    pack_close(&pack);
    if (effect_load(&effect, "fuzz/effect.wav")) {
        FUZZ_CHECK(effect.image_size == image_size);
        FUZZ_CHECK(effect.samples >= effect.image);
        FUZZ_CHECK(uint64_t(effect.samples - effect.image) + effect.sample_bytes <= image_size);
        FUZZ_CHECK(effect.voice_count == effect_voice_count);
        for (int v = 0; v < effect_voice_count; ++v) {
            if (!effect.voices[v]) continue;
            uint32_t bytes = 0;
            const unsigned char* samples = headless_sound_voice_samples(first_voice + v, &bytes);
            FUZZ_CHECK(bytes == effect.sample_bytes);
            FUZZ_CHECK(bytes == 0 || std::memcmp(samples, effect.samples, bytes) == 0);
        }
    }
    for (int i = 0; i < 4; ++i) effect_play(&effect, 0);
    headless_sound_finish_all();
    return 0;
}
