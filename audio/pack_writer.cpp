// The container writer. The compressor is greedy with a one-step lazy
// look: at each byte it finds the longest earlier match of 3..18 bytes that
// starts 3..4098 bytes back (hash chains over three-byte prefixes), and
// emits a literal instead when the match starting at the next byte is
// longer.
#include "audio/pack_writer.h"

#include <cstring>
#include <new>

namespace {

constexpr uint32_t min_length = 3;       // bytes of the shortest copy
constexpr uint32_t max_length = 18;      // bytes of the longest copy (4 bits + 3)
constexpr uint32_t min_distance = 3;     // a copy reaches at least this far back
constexpr uint32_t max_distance = 4098;  // 12 bits + 3
constexpr uint32_t hash_size = 1 << 14;  // chain heads
constexpr int chain_depth = 128;         // candidates looked at per byte
constexpr uint32_t none = 0xFFFFFFFFu;

struct Matcher {
    const unsigned char* data;
    uint32_t size;
    uint32_t* head;     // hash_size heads: latest position with that prefix hash
    uint32_t* prev;     // per position: the previous position with the same hash
    uint32_t inserted;  // positions below this are in the chains
};

uint32_t hash3(const unsigned char* p) {
    return (uint32_t(p[0]) << 10 ^ uint32_t(p[1]) << 5 ^ p[2]) & (hash_size - 1);
}

void insert_up_to(Matcher* m, uint32_t pos) {
    for (; m->inserted < pos && m->inserted + min_length <= m->size; ++m->inserted) {
        const uint32_t h = hash3(m->data + m->inserted);
        m->prev[m->inserted] = m->head[h];
        m->head[h] = m->inserted;
    }
}

// Longest match at pos among the chained earlier positions; 0 when none
// reaches the shortest length.
uint32_t longest_match(Matcher* m, uint32_t pos, uint32_t* distance) {
    if (pos + min_length > m->size) return 0;
    insert_up_to(m, pos);
    const uint32_t limit = m->size - pos < max_length ? m->size - pos : max_length;
    uint32_t best = 0;
    uint32_t candidate = m->head[hash3(m->data + pos)];
    for (int depth = 0; candidate != none && depth < chain_depth; ++depth) {
        const uint32_t d = pos - candidate;
        if (d > max_distance) break;
        if (d >= min_distance) {
            uint32_t n = 0;
            while (n < limit && m->data[candidate + n] == m->data[pos + n]) n += 1;
            if (n > best) {
                best = n;
                *distance = d;
                if (n == limit) break;
            }
        }
        candidate = m->prev[candidate];
    }
    return best >= min_length ? best : 0;
}

void put_le32(unsigned char* p, uint32_t v) {
    for (int i = 0; i < 4; ++i) p[i] = uint8_t(v >> (8 * i));
}

}  // namespace

int pack_write(const unsigned char* data, uint32_t size, unsigned char** image,
               uint32_t* image_size) {
    *image = nullptr;
    *image_size = 0;
    // At worst every byte is a literal: size tokens, one flag bit each.
    const uint64_t token_capacity = uint64_t(size) + 1;
    const uint64_t flag_capacity = uint64_t(size) / 8 + 1;
    if (16 + 20 + token_capacity + flag_capacity > 0xFFFFFFFFu) return 0;
    unsigned char* tokens = new (std::nothrow) unsigned char[token_capacity];
    unsigned char* flags = new (std::nothrow) unsigned char[flag_capacity]();
    uint32_t* head = new (std::nothrow) uint32_t[hash_size];
    uint32_t* prev = new (std::nothrow) uint32_t[uint64_t(size) + 1];
    if (!tokens || !flags || !head || !prev) {
        delete[] tokens;
        delete[] flags;
        delete[] head;
        delete[] prev;
        return 0;
    }
    for (uint32_t i = 0; i < hash_size; ++i) head[i] = none;
    Matcher m = {data, size, head, prev, 0};

    uint32_t pos = 0, t = 0, k = 0;
    while (pos < size) {
        uint32_t distance = 0, next_distance = 0;
        const uint32_t length = longest_match(&m, pos, &distance);
        const int lazy =
            length && length < max_length && longest_match(&m, pos + 1, &next_distance) > length;
        if (length && !lazy) {
            const uint32_t c = (distance - min_distance) << 4 | (length - min_length);
            tokens[t++] = uint8_t(c);
            tokens[t++] = uint8_t(c >> 8);
            pos += length;
        } else {
            flags[k / 8] |= uint8_t(1 << (k % 8));
            tokens[t++] = data[pos++];
        }
        k += 1;
    }
    const uint32_t flag_length = (k + 7) / 8;
    const uint32_t total = 16 + 20 + flag_length + t;
    unsigned char* out = new (std::nothrow) unsigned char[total]();
    if (out) {
        std::memcpy(out, "DXMP", 5);
        put_le32(out + 12, 20);
        put_le32(out + 16 + 4, 0);
        put_le32(out + 16 + 8, flag_length);
        put_le32(out + 16 + 12, t);
        put_le32(out + 16 + 16, size);
        std::memcpy(out + 36, flags, flag_length);
        std::memcpy(out + 36 + flag_length, tokens, t);
        *image = out;
        *image_size = total;
    }
    delete[] tokens;
    delete[] flags;
    delete[] head;
    delete[] prev;
    return out != nullptr;
}
