// CP932 to UTF-8 through iconv. The converter is opened once and kept.
#include "platform/sdl/sdl_encoding.h"

#include <iconv.h>

#include <cerrno>
#include <cstring>

namespace {

iconv_t converter() {
    static iconv_t cd = iconv_open("UTF-8", "CP932");
    return cd;
}

}  // namespace

size_t sdl_cp932_to_utf8(const char* text, char* out, size_t out_size) {
    if (out_size == 0) return 0;
    out[0] = 0;
    if (!text) return 0;
    iconv_t cd = converter();
    char* in = const_cast<char*>(text);
    size_t in_left = std::strlen(text);
    char* to = out;
    size_t to_left = out_size - 1;  // room for the terminator
    if (cd == reinterpret_cast<iconv_t>(-1)) {
        // No converter: ASCII passes, everything else is unreadable anyway.
        for (; in_left > 0 && to_left > 0; --in_left, --to_left, ++in)
            *to++ = (static_cast<unsigned char>(*in) < 0x80) ? *in : '?';
        *to = 0;
        return static_cast<size_t>(to - out);
    }
    iconv(cd, nullptr, nullptr, nullptr, nullptr);
    while (in_left > 0) {
        if (iconv(cd, &in, &in_left, &to, &to_left) != static_cast<size_t>(-1)) break;
        if (errno == E2BIG || to_left == 0) break;  // out is full
        // An invalid or cut-off byte: show '?' in its place and go on.
        *to++ = '?';
        to_left -= 1;
        in += 1;
        in_left -= 1;
    }
    *to = 0;
    return static_cast<size_t>(to - out);
}
