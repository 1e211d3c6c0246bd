// quennary-art OUT_DIR [FILE...]: draws every picture of the game (or the
// named ones) and writes them as PNG files into OUT_DIR.
#include <cstdio>
#include <cstring>

#include "tools/art/art.h"

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: quennary-art OUT_DIR [FILE...]\n");
        return 2;
    }
    for (int i = 2; i < argc; ++i) {
        int known = 0;
        for (int p = 0; p < art_picture_count; ++p)
            known |= std::strcmp(art_pictures[p].file, argv[i]) == 0;
        if (!known) {
            std::fprintf(stderr, "quennary-art: no picture named %s\n", argv[i]);
            return 2;
        }
    }
    int written = 0;
    for (int p = 0; p < art_picture_count; ++p) {
        const ArtPicture& pic = art_pictures[p];
        int wanted = argc == 2;
        for (int i = 2; i < argc; ++i) wanted |= std::strcmp(pic.file, argv[i]) == 0;
        if (!wanted) continue;
        Canvas c;
        canvas_init(c, pic.width, pic.height);
        pic.draw(c);
        if (c.width != pic.width || c.height != pic.height) {
            std::fprintf(stderr, "quennary-art: %s came out %dx%d, not %dx%d\n", pic.file, c.width,
                         c.height, pic.width, pic.height);
            return 1;
        }
        const std::string path = std::string(argv[1]) + "/" + pic.file;
        if (!canvas_save_png(c, path)) {
            std::fprintf(stderr, "quennary-art: cannot write %s\n", path.c_str());
            return 1;
        }
        ++written;
    }
    std::printf("quennary-art: %d pictures written to %s\n", written, argv[1]);
    return 0;
}
