// Parsing input scripts. Strict and bounded, because scripts are written by
// hand and will be fed garbage on purpose: every line is checked whole, no
// number may overflow, and nothing past `size` is read.
#include "tools/replay/replay_script.h"

#include <cstdio>
#include <cstring>

namespace {

struct KeyName {
    const char* name;
    int code;  // Windows virtual-key code
};

const KeyName key_names[ReplayKeyCount] = {
    {"Up", 0x26},    {"Down", 0x28}, {"Left", 0x25}, {"Right", 0x27}, {"Space", 0x20},
    {"Z", 0x5A},     {"Shift", 0x10}, {"Enter", 0x0D}, {"X", 0x58},   {"Ctrl", 0x11},
    {"C", 0x43},     {"V", 0x56},    {"G", 0x47},    {"H", 0x48},
};

int is_blank(char c) { return c == ' ' || c == '\t'; }

int find_key(const char* name, size_t length) {
    for (int k = 0; k < ReplayKeyCount; ++k) {
        if (std::strlen(key_names[k].name) == length && std::memcmp(key_names[k].name, name, length) == 0)
            return k;
    }
    return -1;
}

// One line without its line end. 1 when it is blank or a valid step.
int parse_line(const char* p, size_t length, int line, std::vector<ReplayStep>& steps, uint32_t* total,
               char* error, size_t error_size) {
    // The comment goes first; what is left is trimmed.
    for (size_t i = 0; i < length; ++i) {
        if (p[i] == '#') {
            length = i;
            break;
        }
    }
    size_t at = 0;
    while (at < length && is_blank(p[at])) ++at;
    while (length > at && is_blank(p[length - 1])) --length;
    if (at == length) return 1;

    uint32_t count = 0;
    const size_t digits_from = at;
    while (at < length && p[at] >= '0' && p[at] <= '9') {
        count = count * 10 + static_cast<uint32_t>(p[at] - '0');
        if (count > replay_max_step_frames) {
            std::snprintf(error, error_size, "line %d: frame count above %u", line, replay_max_step_frames);
            return 0;
        }
        ++at;
    }
    if (at == digits_from) {
        std::snprintf(error, error_size, "line %d: expected a frame count", line);
        return 0;
    }
    if (count == 0) {
        std::snprintf(error, error_size, "line %d: a frame count of 0", line);
        return 0;
    }
    if (at == length || !is_blank(p[at])) {
        std::snprintf(error, error_size, "line %d: expected keys after the frame count", line);
        return 0;
    }
    while (at < length && is_blank(p[at])) ++at;

    uint32_t mask = 0;
    const size_t keys_from = at;
    size_t keys_end = at;
    while (keys_end < length && !is_blank(p[keys_end])) ++keys_end;
    if (keys_end != length) {
        std::snprintf(error, error_size, "line %d: unexpected text after the keys", line);
        return 0;
    }
    if (!(keys_end - keys_from == 1 && p[keys_from] == '-')) {
        size_t name_from = keys_from;
        for (size_t i = keys_from; i <= keys_end; ++i) {
            if (i < keys_end && p[i] != '+') continue;
            const int key = find_key(p + name_from, i - name_from);
            if (key < 0) {
                const int shown = static_cast<int>(i - name_from < 32 ? i - name_from : 32);
                int printable = 1;
                for (size_t j = name_from; j < i; ++j) {
                    const unsigned char u = static_cast<unsigned char>(p[j]);
                    printable = printable && u >= 0x21 && u < 0x7F;
                }
                if (i == name_from) {
                    std::snprintf(error, error_size, "line %d: empty key name", line);
                } else if (printable) {
                    std::snprintf(error, error_size, "line %d: unknown key '%.*s'", line, shown, p + name_from);
                } else {
                    std::snprintf(error, error_size, "line %d: unknown key", line);
                }
                return 0;
            }
            mask |= 1u << key;
            name_from = i + 1;
        }
    }
    if (*total + count > replay_max_total_frames) {
        std::snprintf(error, error_size, "line %d: the script passes %u frames", line, replay_max_total_frames);
        return 0;
    }
    *total += count;
    steps.push_back({count, mask});
    return 1;
}

}  // namespace

const char* replay_key_name(int key) {
    return key >= 0 && key < ReplayKeyCount ? key_names[key].name : "";
}

int replay_key_code(int key) { return key >= 0 && key < ReplayKeyCount ? key_names[key].code : 0; }

int replay_parse_script(const char* text, size_t size, std::vector<ReplayStep>& steps,
                        uint32_t* total_frames, char* error, size_t error_size) {
    *total_frames = 0;
    if (size > replay_max_script_bytes) {
        std::snprintf(error, error_size, "the script is larger than %zu bytes", replay_max_script_bytes);
        return 0;
    }
    int line = 0;
    size_t at = 0;
    while (at < size) {
        size_t end = at;
        while (end < size && text[end] != '\n') ++end;
        line += 1;
        size_t length = end - at;
        if (length > 0 && text[at + length - 1] == '\r') length -= 1;
        if (length > replay_max_line) {
            std::snprintf(error, error_size, "line %d: longer than %zu characters", line, replay_max_line);
            return 0;
        }
        if (!parse_line(text + at, length, line, steps, total_frames, error, error_size)) return 0;
        at = end < size ? end + 1 : end;
    }
    return 1;
}
