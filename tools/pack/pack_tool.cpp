// quennary-pack pack IN OUT | unpack IN OUT: the ".dpa" container tool.
// Packing compresses with the game's container writer; unpacking reads
// through the same data source the game uses, so what comes out is what
// the game would see.
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "audio/data_source.h"
#include "audio/pack_writer.h"

namespace {

int write_file(const char* path, const unsigned char* bytes, uint32_t size) {
    FILE* f = std::fopen(path, "wb");
    if (!f) return 0;
    const int ok = std::fwrite(bytes, 1, size, f) == size;
    return std::fclose(f) == 0 && ok;
}

int pack(const char* in, const char* out) {
    FILE* f = std::fopen(in, "rb");
    if (!f) {
        std::fprintf(stderr, "quennary-pack: cannot open %s\n", in);
        return 1;
    }
    std::fseek(f, 0, SEEK_END);
    const long size = std::ftell(f);
    std::fseek(f, 0, SEEK_SET);
    unsigned char* data = static_cast<unsigned char*>(std::malloc(size > 0 ? size_t(size) : 1));
    const int read = data && (size == 0 || std::fread(data, 1, size_t(size), f) == size_t(size));
    std::fclose(f);
    unsigned char* image = nullptr;
    uint32_t image_size = 0;
    if (!read || size < 0 || !pack_write(data, uint32_t(size), &image, &image_size)) {
        std::fprintf(stderr, "quennary-pack: cannot pack %s\n", in);
        std::free(data);
        return 1;
    }
    std::free(data);
    const int written = write_file(out, image, image_size);
    delete[] image;
    if (!written) {
        std::fprintf(stderr, "quennary-pack: cannot write %s\n", out);
        return 1;
    }
    return 0;
}

int unpack(const char* in, const char* out) {
    // The container must be the file itself: a plain file of the name is
    // no container, and the ".dpa" name is not tried here.
    PackArchive probe = {};
    const int is_pack = pack_open_file(&probe, in) && std::strcmp(probe.name, in) == 0;
    pack_close(&probe);
    DataSource source = {};
    if (!is_pack || !data_source_open(&source, in) || source.kind != SourcePack) {
        std::fprintf(stderr, "quennary-pack: %s is not a container the game reads\n", in);
        data_source_close(&source);
        return 1;
    }
    const uint32_t size = data_source_size(&source);
    unsigned char* bytes = static_cast<unsigned char*>(std::malloc(size ? size : 1));
    const int ok = bytes && data_source_read(&source, bytes, size) == 1;
    data_source_close(&source);
    const int written = ok && write_file(out, bytes, size);
    std::free(bytes);
    if (!written) {
        std::fprintf(stderr, "quennary-pack: cannot write %s\n", out);
        return 1;
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 4 && std::strcmp(argv[1], "pack") == 0) return pack(argv[2], argv[3]);
    if (argc == 4 && std::strcmp(argv[1], "unpack") == 0) return unpack(argv[2], argv[3]);
    std::fprintf(stderr, "usage: quennary-pack pack IN OUT\n       quennary-pack unpack IN OUT\n");
    return 2;
}
