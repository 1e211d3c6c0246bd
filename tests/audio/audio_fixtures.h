#pragma once
// Small hand-made files for the audio tests: MIDI images from track bytes,
// WAV images from samples, containers, and a scratch directory.
#include <sys/stat.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

using Bytes = std::vector<unsigned char>;

inline void put_be32(Bytes& b, uint32_t v) {
    for (int s = 24; s >= 0; s -= 8) b.push_back(uint8_t(v >> s));
}
inline void put_le32(Bytes& b, uint32_t v) {
    for (int s = 0; s < 32; s += 8) b.push_back(uint8_t(v >> s));
}
inline void put_le16(Bytes& b, uint32_t v) {
    b.push_back(uint8_t(v));
    b.push_back(uint8_t(v >> 8));
}

// A Standard MIDI File: header chunk of 6 bytes, then one "MTrk" chunk per
// track holding exactly the given event bytes.
inline Bytes smf(uint16_t division, const std::vector<Bytes>& tracks, uint16_t format = 1) {
    Bytes b = {'M', 'T', 'h', 'd'};
    put_be32(b, 6);
    b.push_back(uint8_t(format >> 8));
    b.push_back(uint8_t(format));
    b.push_back(uint8_t(tracks.size() >> 8));
    b.push_back(uint8_t(tracks.size()));
    b.push_back(uint8_t(division >> 8));
    b.push_back(uint8_t(division));
    for (const Bytes& t : tracks) {
        b.insert(b.end(), {'M', 'T', 'r', 'k'});
        put_be32(b, uint32_t(t.size()));
        b.insert(b.end(), t.begin(), t.end());
    }
    return b;
}

// A WAV file in the layout the effects read: "RIFF", "WAVE", a format
// chunk of format_length bytes (16 or 18), then the data chunk.
inline Bytes wav(int channels, int bits, int rate, const Bytes& samples,
                 uint32_t format_length = 16) {
    Bytes b = {'R', 'I', 'F', 'F'};
    put_le32(b, uint32_t(4 + 8 + format_length + 8 + samples.size()));
    b.insert(b.end(), {'W', 'A', 'V', 'E', 'f', 'm', 't', ' '});
    put_le32(b, format_length);
    put_le16(b, 1);
    put_le16(b, uint32_t(channels));
    put_le32(b, uint32_t(rate));
    put_le32(b, uint32_t(rate * channels * bits / 8));
    put_le16(b, uint32_t(channels * bits / 8));
    put_le16(b, uint32_t(bits));
    for (uint32_t i = 16; i < format_length; ++i) b.push_back(0);
    b.insert(b.end(), {'d', 'a', 't', 'a'});
    put_le32(b, uint32_t(samples.size()));
    b.insert(b.end(), samples.begin(), samples.end());
    return b;
}

inline void write_bytes(const std::string& path, const Bytes& bytes) {
    FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) return;
    if (!bytes.empty()) std::fwrite(bytes.data(), 1, bytes.size(), f);
    std::fclose(f);
}

// A fresh directory under /tmp that the test works in (with a res/
// folder); at the end the previous working directory is restored and the
// directory removed.
class ScratchDirectory {
public:
    ScratchDirectory() {
        char name[] = "/tmp/quennary-audio-XXXXXX";
        const char* made = mkdtemp(name);
        path_ = made ? made : "/tmp";
        if (!getcwd(previous_, sizeof previous_)) previous_[0] = 0;
        if (chdir(path_.c_str()) == 0) mkdir("res", 0755);
    }
    ~ScratchDirectory() {
        if (previous_[0] && chdir(previous_) != 0) std::perror("chdir");
        if (path_ != "/tmp") std::system(("rm -rf '" + path_ + "'").c_str());
    }
    const std::string& path() const { return path_; }

private:
    std::string path_;
    char previous_[4096];
};
