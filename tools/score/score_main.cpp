// quennary-score SCORE OUT.mid [PASSES]: compiles a score into a Standard MIDI
// File. PASSES > 1 writes the song that many times back to back, as the game
// loops it, to listen to the seam.
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>

#include "tools/score/score.h"

int main(int argc, char** argv) {
    if (argc != 3 && argc != 4) {
        std::fprintf(stderr, "usage: quennary-score SCORE OUT.mid [PASSES]\n");
        return 2;
    }
    std::ifstream in(argv[1], std::ios::binary);
    if (!in) {
        std::fprintf(stderr, "quennary-score: cannot read %s\n", argv[1]);
        return 1;
    }
    std::stringstream text;
    text << in.rdbuf();
    Score score;
    std::string error;
    if (!score_parse(text.str(), &score, &error)) {
        std::fprintf(stderr, "%s: %s\n", argv[1], error.c_str());
        return 1;
    }
    const int passes = argc == 4 ? std::atoi(argv[3]) : 1;
    const std::vector<uint8_t> image = score_midi_image(score, passes);
    std::ofstream out(argv[2], std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(image.data()), static_cast<std::streamsize>(image.size()));
    if (!out.good()) {
        std::fprintf(stderr, "quennary-score: cannot write %s\n", argv[2]);
        return 1;
    }
    std::printf("%s: %zu tracks, %u bars, %.1f s at the first tempo\n", argv[2], score.tracks.size(),
                static_cast<unsigned>(score.loop / score_bar_ticks(score)),
                score.loop / double(score.division) * 60.0 / score.tempo_bpm);
    return 0;
}
