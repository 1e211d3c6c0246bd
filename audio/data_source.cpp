// Data sources and the ".dpa" container. A container holds one file
// compressed as a stream of tokens (literal bytes and back copies) with one
// flag bit per token in a separate block. Every length of the container is
// checked against the bytes that are really there before anything is
// allocated or read, and the decoder never reads or writes outside its
// buffers: a damaged container fails the open.
#include "audio/data_source.h"

#include <cstring>
#include <new>

#include "platform/resources.h"

namespace {

constexpr uint32_t header_bytes = 16;      // magic "DXMP\0", 7 unread, info length
constexpr uint32_t info_min_bytes = 20;    // unread, extra, flag, token lengths, size
constexpr uint32_t copy_min_length = 3;    // bytes of the shortest copy
constexpr uint32_t copy_min_distance = 3;  // bytes back of the nearest copy
// A two-byte copy token yields at most 18 bytes: a size beyond this many
// bytes per token byte cannot be the container's and is refused unread.
constexpr uint64_t most_bytes_per_token_byte = 9;

uint32_t read_le32(const unsigned char* p) {
    return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}

char* copy_string(const char* s) {
    const size_t n = std::strlen(s) + 1;
    char* c = new (std::nothrow) char[n];
    if (c) std::memcpy(c, s, n);
    return c;
}

// The byte count of an open file, the position left where it was.
uint64_t file_length(FILE* f) {
    const long here = std::ftell(f);
    if (here < 0 || std::fseek(f, 0, SEEK_END) != 0) return 0;
    const long end = std::ftell(f);
    std::fseek(f, here, SEEK_SET);
    return end < 0 ? 0 : uint64_t(end);
}

// Takes the header and info record (at `bytes`, of `available` bytes in
// all) into the pack and checks that the four blocks fit. 1 when they do.
int read_layout(PackArchive* pack, const unsigned char* header, const unsigned char* info,
                uint32_t info_length, uint64_t available) {
    if (std::memcmp(header, "DXMP", 5) != 0) return 0;
    if (info_length < info_min_bytes) return 0;
    pack->extra_length = read_le32(info + 4);
    pack->flag_length = read_le32(info + 8);
    pack->token_length = read_le32(info + 12);
    pack->expanded_size = read_le32(info + 16);
    const uint64_t data_offset = uint64_t(header_bytes) + info_length + pack->extra_length;
    if (data_offset + pack->flag_length + pack->token_length > available) return 0;
    if (pack->expanded_size > most_bytes_per_token_byte * pack->token_length) return 0;
    pack->data_offset = uint32_t(data_offset);
    return 1;
}

void forget_pack(PackArchive* pack) {
    delete[] pack->name;
    delete[] pack->extra;
    delete[] pack->expanded;
    std::memset(pack, 0, sizeof *pack);
}

void release_held(DataSource* source) {
    if (source->file) std::fclose(source->file);
    source->file = nullptr;
    delete[] source->file_name;
    source->file_name = nullptr;
    source->resource_name = nullptr;
    source->resource_bytes = nullptr;
    source->resource_size = 0;
    source->resource_position = 0;
    if (source->pack) {
        pack_close(source->pack);
        delete source->pack;
    }
    source->pack = nullptr;
    source->kind = SourceClosed;
}

}  // namespace

char* pack_name_for(const char* name) {
    const char* dot = std::strrchr(name, '.');
    const size_t keep = dot ? size_t(dot - name) : std::strlen(name);
    char* out = new (std::nothrow) char[keep + 5];
    if (!out) return nullptr;
    std::memcpy(out, name, keep);
    std::memcpy(out + keep, ".dpa", 5);
    return out;
}

int pack_decode(const unsigned char* flags, uint32_t flag_length, const unsigned char* tokens,
                uint32_t token_length, unsigned char* out, uint32_t out_size) {
    uint32_t p = 0, o = 0, k = 0;
    while (p < token_length) {
        if (k / 8 >= flag_length) return 0;
        const int literal = (flags[k / 8] >> (k % 8)) & 1;
        if (literal) {
            if (o >= out_size) return 0;
            out[o++] = tokens[p++];
        } else {
            if (token_length - p < 2) return 0;
            const uint32_t c = uint32_t(tokens[p]) | uint32_t(tokens[p + 1]) << 8;
            const uint32_t length = (c & 0x0F) + copy_min_length;
            const uint32_t distance = (c >> 4) + copy_min_distance;
            if (distance > o || length > out_size - o) return 0;
            // Byte by byte: a copy may overlap the bytes it produces.
            for (uint32_t i = 0; i < length; ++i, ++o) out[o] = out[o - distance];
            p += 2;
        }
        k += 1;
    }
    return o == out_size;
}

int pack_open_file(PackArchive* pack, const char* name) {
    forget_pack(pack);
    FILE* f = std::fopen(name, "rb");
    const char* opened = name;
    char* pack_name = nullptr;
    if (!f) {
        pack_name = pack_name_for(name);
        if (pack_name) f = std::fopen(pack_name, "rb");
        opened = pack_name;
    }
    if (!f) {
        delete[] pack_name;
        return 0;
    }
    int ok = 0;
    const uint64_t available = file_length(f);
    unsigned char header[header_bytes] = {};
    unsigned char* info = nullptr;
    if (available >= header_bytes && std::fread(header, 1, header_bytes, f) == header_bytes &&
        std::memcmp(header, "DXMP", 5) == 0) {
        const uint32_t info_length = read_le32(header + 12);
        if (info_length >= info_min_bytes && info_length <= available - header_bytes) {
            info = new (std::nothrow) unsigned char[info_length];
            if (info && std::fread(info, 1, info_length, f) == info_length &&
                read_layout(pack, header, info, info_length, available)) {
                pack->extra = new (std::nothrow) unsigned char[pack->extra_length + 1];
                pack->name = copy_string(opened);
                ok = pack->extra && pack->name &&
                     std::fread(pack->extra, 1, pack->extra_length, f) == pack->extra_length;
            }
        }
    }
    delete[] info;
    delete[] pack_name;
    std::fclose(f);
    if (!ok) {
        forget_pack(pack);
        pack->damaged = available >= header_bytes && std::memcmp(header, "DXMP", 5) == 0;
    }
    return ok;
}

int pack_open_memory(PackArchive* pack, const unsigned char* bytes, uint32_t size) {
    forget_pack(pack);
    if (!bytes || size < header_bytes || std::memcmp(bytes, "DXMP", 5) != 0) return 0;
    const uint32_t info_length = read_le32(bytes + 12);
    if (info_length < info_min_bytes || info_length > size - header_bytes ||
        !read_layout(pack, bytes, bytes + header_bytes, info_length, size) ||
        !(pack->extra = new (std::nothrow) unsigned char[pack->extra_length + 1])) {
        forget_pack(pack);
        pack->damaged = 1;
        return 0;
    }
    std::memcpy(pack->extra, bytes + header_bytes + info_length, pack->extra_length);
    pack->memory = bytes;
    pack->memory_size = size;
    return 1;
}

int pack_expand(PackArchive* pack) {
    delete[] pack->expanded;
    pack->expanded = new (std::nothrow) unsigned char[uint64_t(pack->expanded_size) + 1];
    unsigned char* flags = new (std::nothrow) unsigned char[uint64_t(pack->flag_length) + 1];
    unsigned char* tokens = new (std::nothrow) unsigned char[uint64_t(pack->token_length) + 1];
    int ok = pack->expanded && flags && tokens;
    if (ok && pack->memory) {
        std::memcpy(flags, pack->memory + pack->data_offset, pack->flag_length);
        std::memcpy(tokens, pack->memory + pack->data_offset + pack->flag_length,
                    pack->token_length);
    } else if (ok) {
        FILE* f = pack->name ? std::fopen(pack->name, "rb") : nullptr;
        ok = f &&
             file_length(f) >=
                 uint64_t(pack->data_offset) + pack->flag_length + pack->token_length &&
             std::fseek(f, long(pack->data_offset), SEEK_SET) == 0 &&
             std::fread(flags, 1, pack->flag_length, f) == pack->flag_length &&
             std::fread(tokens, 1, pack->token_length, f) == pack->token_length;
        if (f) std::fclose(f);
    }
    if (ok)
        ok = pack_decode(flags, pack->flag_length, tokens, pack->token_length, pack->expanded,
                         pack->expanded_size);
    delete[] flags;
    delete[] tokens;
    if (!ok) {
        delete[] pack->expanded;
        pack->expanded = nullptr;
    }
    pack->read_position = 0;
    return ok;
}

void pack_close(PackArchive* pack) { forget_pack(pack); }

void data_source_set_type(DataSource* source, const char* type) {
    delete[] source->resource_type;
    source->resource_type = type ? copy_string(type) : nullptr;
}

int data_source_open(DataSource* source, const char* name) {
    if (!name) return 0;
    release_held(source);

    // A container under the name, or under its ".dpa" name.
    PackArchive* pack = new (std::nothrow) PackArchive();
    if (!pack) return 0;
    if (pack_open_file(pack, name)) {
        if (!pack_expand(pack)) {
            pack_close(pack);
            delete pack;
            return 0;
        }
        source->pack = pack;
        source->kind = SourcePack;
        return 1;
    }
    if (pack->damaged) {
        delete pack;
        return 0;
    }

    // The plain file.
    source->file = std::fopen(name, "rb");
    if (source->file) {
        source->file_name = copy_string(name);
        source->kind = SourceFile;
        delete pack;
        return 1;
    }

    // A resource of the program, itself perhaps a container.
    const unsigned char* bytes = nullptr;
    uint32_t size = 0;
    if (!resource_find(name, source->resource_type, &bytes, &size)) {
        delete pack;
        return 0;
    }
    source->resource_name = name;
    source->resource_bytes = bytes;
    source->resource_size = size;
    source->resource_position = 0;
    if (pack_open_memory(pack, bytes, size)) {
        if (!pack_expand(pack)) {
            pack_close(pack);
            delete pack;
            source->resource_bytes = nullptr;
            source->resource_size = 0;
            return 0;
        }
        source->pack = pack;
        source->kind = SourcePack;
        return 1;
    }
    const int damaged = pack->damaged;
    delete pack;
    if (damaged) {
        source->resource_bytes = nullptr;
        source->resource_size = 0;
        return 0;
    }
    source->kind = SourceResource;
    return 1;
}

uint32_t data_source_size(DataSource* source) {
    switch (source->kind) {
        case SourceFile: {
            const uint64_t n = file_length(source->file);
            return n > 0xFFFFFFFFu ? 0xFFFFFFFFu : uint32_t(n);
        }
        case SourcePack:
            return source->pack->expanded_size;
        case SourceResource:
            return source->resource_size;
        default:
            return 0;
    }
}

uint32_t data_source_read(DataSource* source, void* destination, uint32_t n) {
    const unsigned char* from = nullptr;
    uint32_t size = 0, *position = nullptr;
    switch (source->kind) {
        case SourceFile:
            return uint32_t(std::fread(destination, 1, n, source->file));
        case SourcePack:
            from = source->pack->expanded;
            size = source->pack->expanded_size;
            position = &source->pack->read_position;
            break;
        case SourceResource:
            from = source->resource_bytes;
            size = source->resource_size;
            position = &source->resource_position;
            break;
        default:
            return 0;
    }
    const uint32_t left = size - *position;
    const uint32_t taken = n < left ? n : left;
    std::memcpy(destination, from + *position, taken);
    *position += taken;
    return taken == n;
}

void data_source_close(DataSource* source) {
    release_held(source);
    delete[] source->resource_type;
    source->resource_type = nullptr;
}
