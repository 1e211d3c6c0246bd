// quennary-sfx RECIPE OUT.wav: renders one effect recipe into a WAV file and
// prints its length and peak.
#include <cmath>
#include <cstdio>
#include <fstream>
#include <sstream>

#include "tools/sfx/sfx.h"

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: quennary-sfx RECIPE OUT.wav\n");
        return 2;
    }
    std::ifstream in(argv[1], std::ios::binary);
    if (!in) {
        std::fprintf(stderr, "quennary-sfx: cannot read %s\n", argv[1]);
        return 1;
    }
    std::stringstream text;
    text << in.rdbuf();
    SfxRecipe recipe;
    std::vector<float> samples;
    std::string error;
    if (!sfx_parse(text.str(), &recipe, &error) || !sfx_render(recipe, &samples, &error)) {
        std::fprintf(stderr, "%s: %s\n", argv[1], error.c_str());
        return 1;
    }
    const std::vector<uint8_t> image = sfx_wav_image(samples, recipe.rate);
    std::ofstream out(argv[2], std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(image.data()), static_cast<std::streamsize>(image.size()));
    if (!out.good()) {
        std::fprintf(stderr, "quennary-sfx: cannot write %s\n", argv[2]);
        return 1;
    }
    std::printf("%s: %.3f s, peak %.1f dBFS\n", argv[2], samples.size() / double(recipe.rate),
                recipe.peak_db);
    return 0;
}
