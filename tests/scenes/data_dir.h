#pragma once
// A fresh data directory for one test: made under the system's temporary
// folder, made the working directory (the game reads "ranking/..." and
// "res/..." relative to it), and removed with everything in it afterwards.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

class DataDir {
public:
    DataDir() {
        char pattern[] = "/tmp/quennary-scenes-XXXXXX";
        root_ = mkdtemp(pattern);
        previous_ = std::filesystem::current_path();
        std::filesystem::create_directory(root_ + "/ranking");
        std::filesystem::current_path(root_);
    }
    ~DataDir() {
        std::filesystem::current_path(previous_);
        std::error_code ignored;
        std::filesystem::permissions(root_ + "/ranking", std::filesystem::perms::owner_all, ignored);
        std::filesystem::remove_all(root_, ignored);
    }
    DataDir(const DataDir&) = delete;
    DataDir& operator=(const DataDir&) = delete;

    const std::string& root() const { return root_; }

    static std::string place_path(int place) { return "ranking/ranking" + std::to_string(place) + ".txt"; }

    static void write_bytes(const std::string& path, const std::vector<unsigned char>& bytes) {
        FILE* f = std::fopen(path.c_str(), "wb");
        if (!f) return;
        std::fwrite(bytes.data(), 1, bytes.size(), f);
        std::fclose(f);
    }
    static std::vector<unsigned char> read_bytes(const std::string& path) {
        std::vector<unsigned char> bytes;
        FILE* f = std::fopen(path.c_str(), "rb");
        if (!f) return bytes;
        int c;
        while ((c = std::fgetc(f)) != EOF) bytes.push_back(static_cast<unsigned char>(c));
        std::fclose(f);
        return bytes;
    }
    // Writes ten place files holding these scores, as plain little-endian
    // bytes (none of the scores used with it has a byte 0x0A).
    static void write_places(const std::vector<int32_t>& scores) {
        for (size_t i = 0; i < scores.size(); ++i) {
            const uint32_t v = static_cast<uint32_t>(scores[i]);
            write_bytes(place_path(static_cast<int>(i) + 1),
                        {static_cast<unsigned char>(v), static_cast<unsigned char>(v >> 8),
                         static_cast<unsigned char>(v >> 16), static_cast<unsigned char>(v >> 24)});
        }
    }
    // Every place file's bytes, place 1 first.
    static std::vector<std::vector<unsigned char>> all_place_bytes() {
        std::vector<std::vector<unsigned char>> all;
        for (int place = 1; place <= 10; ++place) all.push_back(read_bytes(place_path(place)));
        return all;
    }
    // Whatever is left in the ranking folder besides the ten place files.
    static std::vector<std::string> strays() {
        std::vector<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator("ranking")) {
            const std::string name = entry.path().filename().string();
            bool place = false;
            for (int p = 1; p <= 10; ++p) place = place || name == "ranking" + std::to_string(p) + ".txt";
            if (!place) names.push_back(name);
        }
        return names;
    }

private:
    std::string root_;
    std::filesystem::path previous_;
};
