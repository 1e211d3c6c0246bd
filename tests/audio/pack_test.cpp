// The ".dpa" container and the data sources: the decoder's cases, the
// container name, the order of the places an item is looked for, and
// containers whose lengths lie.
#include <gtest/gtest.h>

#include <cstring>

#include "audio/data_source.h"
#include "audio/pack_writer.h"
#include "platform/headless/headless_audio.h"
#include "tests/audio/audio_fixtures.h"

namespace {

// A container image around the given flag and token blocks.
Bytes container(const Bytes& flags, const Bytes& tokens, uint32_t expanded_size,
                const Bytes& extra = {}) {
    Bytes b = {'D', 'X', 'M', 'P', 0, 0, 0, 0, 0, 0, 0, 0};
    put_le32(b, 20);
    put_le32(b, 0);
    put_le32(b, uint32_t(extra.size()));
    put_le32(b, uint32_t(flags.size()));
    put_le32(b, uint32_t(tokens.size()));
    put_le32(b, expanded_size);
    b.insert(b.end(), extra.begin(), extra.end());
    b.insert(b.end(), flags.begin(), flags.end());
    b.insert(b.end(), tokens.begin(), tokens.end());
    return b;
}

// Opens `name` and reads the whole item; empty with ok 0 when it fails.
Bytes read_item(const char* name, int* kind, int* ok) {
    DataSource source = {};
    data_source_set_type(&source, nullptr);
    *ok = data_source_open(&source, name);
    *kind = source.kind;
    Bytes out;
    if (*ok) {
        out.resize(data_source_size(&source));
        if (!out.empty()) data_source_read(&source, out.data(), uint32_t(out.size()));
    }
    data_source_close(&source);
    return out;
}

TEST(PackDecoder, LiteralsAndOverlappingCopies) {
    const struct {
        const char* what;
        Bytes flags, tokens, want;
    } cases[] = {
        {"copy of three from three back",
         {0x07},
         {0x41, 0x42, 0x43, 0x00, 0x00},
         {0x41, 0x42, 0x43, 0x41, 0x42, 0x43}},
        {"copy of nine overlapping itself",
         {0x07},
         {0x41, 0x42, 0x43, 0x06, 0x00},
         {0x41, 0x42, 0x43, 0x41, 0x42, 0x43, 0x41, 0x42, 0x43, 0x41, 0x42, 0x43}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        Bytes out(c.want.size());
        ASSERT_EQ(pack_decode(c.flags.data(), uint32_t(c.flags.size()), c.tokens.data(),
                              uint32_t(c.tokens.size()), out.data(), uint32_t(out.size())),
                  1);
        EXPECT_EQ(out, c.want);
    }
}

TEST(PackDecoder, RefusesTokensThatReachOutsideTheBuffers) {
    const struct {
        const char* what;
        Bytes flags, tokens;
        uint32_t out_size;
    } cases[] = {
        {"copy from before the start", {0x01}, {0x41, 0x00, 0x00}, 4},
        {"copy past the output's end", {0x07}, {0x41, 0x42, 0x43, 0x0F, 0x00}, 10},
        {"literal past the output's end", {0x0F}, {0x41, 0x42, 0x43, 0x44}, 3},
        {"copy token cut in half", {0x07}, {0x41, 0x42, 0x43, 0x00}, 6},
        {"more tokens than flag bits", {0xFF}, {1, 2, 3, 4, 5, 6, 7, 8, 9}, 9},
        {"output left short", {0x03}, {0x41, 0x42}, 3},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        Bytes out(c.out_size + 16, 0xEE);
        EXPECT_EQ(pack_decode(c.flags.data(), uint32_t(c.flags.size()), c.tokens.data(),
                              uint32_t(c.tokens.size()), out.data(), c.out_size),
                  0);
        for (size_t i = c.out_size; i < out.size(); ++i) ASSERT_EQ(out[i], 0xEE);
    }
}

TEST(PackName, ReplacesFromTheLastDotOn) {
    const struct {
        const char* name;
        const char* want;
    } cases[] = {
        {"res/title.MID", "res/title.dpa"},
        {"res/dead.wav", "res/dead.dpa"},
        {"res/noextension", "res/noextension.dpa"},
        {"old.res/title", "old.dpa"},
        {"a.b.c", "a.b.dpa"},
    };
    for (const auto& c : cases) {
        char* got = pack_name_for(c.name);
        EXPECT_STREQ(got, c.want);
        delete[] got;
    }
}

TEST(PackWriter, RoundTripsThroughTheReaderAndCompresses) {
    ScratchDirectory scratch;
    Bytes data;
    for (int i = 0; i < 20000; ++i) data.push_back(uint8_t("quennary corpse "[i % 16] + i / 4096));
    Bytes random_bytes;
    uint32_t x = 12345;
    for (int i = 0; i < 5000; ++i)
        random_bytes.push_back(uint8_t((x = x * 1103515245 + 12345) >> 16));
    Bytes nothing;
    for (const Bytes* d : {&data, &random_bytes, &nothing}) {
        unsigned char* image = nullptr;
        uint32_t size = 0;
        ASSERT_EQ(pack_write(d->data(), uint32_t(d->size()), &image, &size), 1);
        write_bytes("res/item.dpa", Bytes(image, image + size));
        delete[] image;
        if (d == &data) {
            EXPECT_LT(size, d->size() / 4);
        }
        int kind = 0, ok = 0;
        EXPECT_EQ(read_item("res/item.bin", &kind, &ok), *d);
        EXPECT_EQ(ok, 1);
        EXPECT_EQ(kind, SourcePack);
    }
}

TEST(DataSource, LooksForTheContainerThenThePlainFileThenAResource) {
    ScratchDirectory scratch;
    headless_audio_reset();
    const Bytes abc = {0x41, 0x42, 0x43};
    const Bytes packed = container({0x07}, {0x41, 0x42, 0x43, 0x00, 0x00}, 6, {9, 9});
    const Bytes expanded = {0x41, 0x42, 0x43, 0x41, 0x42, 0x43};
    write_bytes("res/both.MID", abc);
    write_bytes("res/both.dpa", packed);
    write_bytes("res/only.dpa", packed);
    write_bytes("res/itself.MID", packed);
    Bytes not_magic = packed;
    not_magic[4] = '!';  // "DXMP" without its zero byte
    write_bytes("res/notmagic.MID", not_magic);
    static const unsigned char resource_bytes[] = {1, 2, 3, 4, 5};
    static unsigned char resource_pack[64];
    std::memcpy(resource_pack, packed.data(), packed.size());
    headless_resource_add("res/in_program.wav", resource_bytes, sizeof resource_bytes);
    headless_resource_add("res/packed_in_program.wav", resource_pack, uint32_t(packed.size()));
    const struct {
        const char* name;
        int kind;
        Bytes want;
    } cases[] = {
        {"res/both.MID", SourceFile, abc},
        {"res/only.MID", SourcePack, expanded},
        {"res/itself.MID", SourcePack, expanded},
        {"res/notmagic.MID", SourceFile, not_magic},
        {"res/in_program.wav", SourceResource, {1, 2, 3, 4, 5}},
        {"res/packed_in_program.wav", SourcePack, expanded},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        int kind = 0, ok = 0;
        EXPECT_EQ(read_item(c.name, &kind, &ok), c.want);
        EXPECT_EQ(ok, 1);
        EXPECT_EQ(kind, c.kind);
    }
    int kind = 0, ok = 1;
    read_item("res/nowhere.MID", &kind, &ok);
    EXPECT_EQ(ok, 0);
    DataSource closed = {};
    EXPECT_EQ(data_source_open(&closed, nullptr), 0);
    EXPECT_EQ(data_source_size(&closed), 0u);
    unsigned char byte;
    EXPECT_EQ(data_source_read(&closed, &byte, 1), 0u);
}

TEST(DataSource, ABrokenContainerFailsTheOpen) {
    ScratchDirectory scratch;
    headless_audio_reset();
    const Bytes good = container({0x07}, {0x41, 0x42, 0x43, 0x00, 0x00}, 6);
    auto with_le32 = [&](size_t at, uint32_t v) {
        Bytes b = good;
        for (size_t i = 0; i < 4; ++i) b.at(at + i) = uint8_t(v >> (8 * i));
        return b;
    };
    const struct {
        const char* what;
        Bytes image;
    } cases[] = {
        {"info record shorter than 20 bytes", with_le32(12, 8)},
        {"info record past the file", with_le32(12, 0x7FFFFFF0)},
        {"extra block past the file", with_le32(20, 0xFFFFFF00)},
        {"flag block past the file", with_le32(24, 100)},
        {"token block past the file", with_le32(28, 0xFFFFFFFF)},
        {"expanded size the tokens cannot make", with_le32(32, 0x40000000)},
        {"expanded size beyond the tokens' output", with_le32(32, 7)},
        {"header cut short", Bytes(good.begin(), good.begin() + 14)},
    };
    static Bytes in_program[8];
    int n = 0;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        write_bytes("res/broken.dpa", c.image);
        int kind = 0, ok = 1;
        read_item("res/broken.MID", &kind, &ok);
        EXPECT_EQ(ok, 0);
        // The same bytes as a resource of the program.
        if (c.image.size() >= 16) {
            in_program[n] = c.image;
            const std::string name = "res/broken" + std::to_string(n) + ".wav";
            headless_resource_add(name.c_str(), in_program[n].data(),
                                  uint32_t(in_program[n].size()));
            read_item(name.c_str(), &kind, &ok);
            EXPECT_EQ(ok, 0);
            n += 1;
        }
    }
    // A resource too short to hold a header is taken as it is.
    static const unsigned char short_resource[] = {'D', 'X', 'M', 'P', 0};
    headless_resource_add("res/short.wav", short_resource, sizeof short_resource);
    int kind = 0, ok = 0;
    EXPECT_EQ(read_item("res/short.wav", &kind, &ok), Bytes(short_resource, short_resource + 5));
    EXPECT_EQ(kind, SourceResource);
}

}  // namespace

namespace {

// Random flag and token blocks: the decoder either fills the output
// exactly or refuses, and never writes past it.
TEST(PackDecoder, RandomTokensNeverWriteOutsideTheOutput) {
    uint32_t x = 5;
    auto next = [&x] { return (x = x * 1103515245 + 12345) >> 8; };
    int decoded = 0;
    for (int round = 0; round < 5000; ++round) {
        Bytes flags(1 + next() % 4), tokens(next() % 24);
        for (auto& b : flags) b = uint8_t(next());
        for (auto& b : tokens) b = uint8_t(next() & 0x3F);  // short distances, some in reach
        const uint32_t out_size = next() % 64;
        Bytes out(out_size + 8, 0xEE);
        decoded += pack_decode(flags.data(), uint32_t(flags.size()), tokens.data(),
                               uint32_t(tokens.size()), out.data(), out_size);
        for (uint32_t i = out_size; i < out.size(); ++i) ASSERT_EQ(out[i], 0xEE);
    }
    EXPECT_GT(decoded, 0);  // some of them are whole, valid streams
}

}  // namespace
