// The ".dpa" container and its decoder on any bytes. The first input byte
// picks the road, the rest is the container (or the data) itself:
//   0: pack_open_memory + pack_expand, as a container in a program resource;
//   1: data_source_open of a file under the item's own name ("song.MID");
//   2: the same with only the ".dpa" file there ("song.dpa" for "song.MID");
//   3: the rest is data: written by the pack writer, then read back, which
//      must give exactly the data again.
// Whatever the road, nothing outside a buffer is touched, and what opens
// hands out exactly the size it claims.
#include <cstring>
#include <cstdio>
#include <string>

#include "audio/data_source.h"
#include "audio/pack_writer.h"
#include "fuzz/fuzz_support.h"

namespace {

// Largest expanded item the harness reads whole, in bytes.
constexpr uint32_t most_expanded = 16u << 20;

void from_memory(const uint8_t* bytes, uint32_t size) {
    PackArchive pack = {};
    if (pack_open_memory(&pack, bytes, size)) {
        FUZZ_CHECK(pack.data_offset <= size);
        FUZZ_CHECK(uint64_t(pack.data_offset) + pack.flag_length + pack.token_length <= size);
        if (pack_expand(&pack)) FUZZ_CHECK(pack.expanded != nullptr);
    }
    pack_close(&pack);
}

void from_file(const uint8_t* bytes, uint32_t size, const char* written_as) {
    static std::string item = fuzz_path("song.MID"), container = fuzz_path("song.dpa");
    std::remove(item.c_str());
    std::remove(container.c_str());
    if (!fuzz_write_file(fuzz_path(written_as), bytes, size)) fuzz_fail("cannot write the item");
    DataSource source = {};
    data_source_set_type(&source, nullptr);
    if (data_source_open(&source, item.c_str())) {
        const uint32_t n = data_source_size(&source);
        if (source.kind == SourcePack) FUZZ_CHECK(n == source.pack->expanded_size);
        if (source.kind == SourceFile) FUZZ_CHECK(n == size);
        if (n <= most_expanded) {
            unsigned char* item = new unsigned char[uint64_t(n) + 1];
            const uint32_t got = data_source_read(&source, item, n);
            FUZZ_CHECK(got == (source.kind == SourceFile ? n : 1u));
            delete[] item;
        }
    }
    data_source_close(&source);
}

void round_trip(const uint8_t* data, uint32_t size) {
    unsigned char* image = nullptr;
    uint32_t image_size = 0;
    FUZZ_CHECK(pack_write(data, size, &image, &image_size));
    PackArchive pack = {};
    FUZZ_CHECK(pack_open_memory(&pack, image, image_size));
    FUZZ_CHECK(pack_expand(&pack));
    FUZZ_CHECK(pack.expanded_size == size);
    FUZZ_CHECK(size == 0 || std::memcmp(pack.expanded, data, size) == 0);
    pack_close(&pack);
    delete[] image;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 1 || size > (1u << 20)) return 0;
    const uint8_t* rest = data + 1;
    const uint32_t n = uint32_t(size - 1);
    switch (data[0] & 3) {
        case 0:
            from_memory(rest, n);
            break;
        case 1:
            from_file(rest, n, "song.MID");
            break;
        case 2:
            from_file(rest, n, "song.dpa");
            break;
        default:
            round_trip(rest, n);
            break;
    }
    return 0;
}
