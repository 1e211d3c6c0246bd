// quennary-stage IN.txt OUT.dat: compiles a stage map from its text form
// into the stage file the game reads. Exit 0 on success, 1 when the map is
// wrong or a file cannot be read or written (OUT is then not left behind),
// 2 for wrong arguments.
#include <cstdio>
#include <cstring>

#include "tools/stage/stage_text.h"

namespace {

// A stage map is 15 rows of 20 characters with a few comment lines; a file
// far larger than that is not one.
constexpr size_t text_capacity = 64 * 1024;
char text[text_capacity + 1];

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: quennary-stage IN.txt OUT.dat\n");
        return 2;
    }
    const char* in_path = argv[1];
    const char* out_path = argv[2];
    FILE* in = std::fopen(in_path, "rb");
    if (!in) {
        std::fprintf(stderr, "%s: cannot open\n", in_path);
        return 1;
    }
    const size_t size = std::fread(text, 1, sizeof text, in);
    const int read_failed = std::ferror(in);
    std::fclose(in);
    if (read_failed) {
        std::fprintf(stderr, "%s: cannot read\n", in_path);
        return 1;
    }
    if (size > text_capacity) {
        std::fprintf(stderr, "%s: larger than %zu bytes, not a stage map\n", in_path, text_capacity);
        return 1;
    }

    int32_t cells[stage_text_cells];
    char error[128];
    if (!stage_text_compile(text, size, cells, error, sizeof error)) {
        std::fprintf(stderr, "%s: %s\n", in_path, error);
        return 1;
    }
    int starts = 0, goals = 0;
    for (int32_t c : cells) {
        starts += c == 6;
        goals += c == 7;
    }
    if (starts == 0) std::fprintf(stderr, "%s: warning: no start block 'S'\n", in_path);
    if (goals == 0) std::fprintf(stderr, "%s: warning: no goal block 'G'\n", in_path);

    unsigned char bytes[4 * stage_text_cells];
    stage_text_file_bytes(cells, bytes);
    FILE* out = std::fopen(out_path, "wb");
    if (!out) {
        std::fprintf(stderr, "%s: cannot create\n", out_path);
        return 1;
    }
    int ok = std::fwrite(bytes, 1, sizeof bytes, out) == sizeof bytes;
    ok = (std::fclose(out) == 0) && ok;
    if (!ok) {
        std::remove(out_path);
        std::fprintf(stderr, "%s: cannot write\n", out_path);
        return 1;
    }
    return 0;
}
