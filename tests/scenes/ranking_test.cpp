// The ranking files: the stored bytes, the insertion rule, reading files
// that are missing or short, and saving so that a failed write or a crash
// never loses the stored ranking.
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <vector>

#include "scenes/ranking.h"
#include "tests/scenes/data_dir.h"

namespace {

using Bytes = std::vector<unsigned char>;

struct FormatCase {
    int32_t score;
    Bytes stored;
};

// Every 0x0A is stored as 0x0D 0x0A; 0x0D and 0x1A on their own are kept.
const FormatCase format_cases[] = {
    {10, {0x0D, 0x0A, 0x00, 0x00, 0x00}},
    {6700, {0x2C, 0x1A, 0x00, 0x00}},
    {0, {0x00, 0x00, 0x00, 0x00}},
    {-100, {0x9C, 0xFF, 0xFF, 0xFF}},
    {0x0A0D0A0D, {0x0D, 0x0D, 0x0A, 0x0D, 0x0D, 0x0A}},
    {0x0A0A0A0A, {0x0D, 0x0A, 0x0D, 0x0A, 0x0D, 0x0A, 0x0D, 0x0A}},
    {0x0D000000, {0x00, 0x00, 0x00, 0x0D}},
};

TEST(RankingFormat, ScoresAreStoredWithTextModeLineEndsAndReadBack) {
    for (const FormatCase& c : format_cases) {
        unsigned char out[ranking_file_bytes_max];
        const int n = ranking_encode(c.score, out);
        EXPECT_EQ(Bytes(out, out + n), c.stored) << "score " << c.score;
        int32_t back = 12345;
        EXPECT_EQ(ranking_decode(c.stored.data(), c.stored.size(), &back), 1);
        EXPECT_EQ(back, c.score);
    }
}

TEST(RankingFormat, ReadingUndoesOnlyTheCarriageReturnLineFeedPair) {
    struct DecodeCase {
        Bytes stored;
        int ok;
        int32_t score;
    };
    const DecodeCase cases[] = {
        {{0x0A, 0x00, 0x00, 0x00}, 1, 10},                   // a bare 0x0A reads as itself
        {{0x0D, 0x0D, 0x0A, 0x00, 0x00}, 1, 0x00000A0D},     // 0x0D before a pair stays
        {{0x01, 0x02, 0x03, 0x0D, 0x0A}, 1, 0x0A030201},     // a pair at the very end
        {{0x01, 0x02, 0x03, 0x04, 0x99, 0x98}, 1, 0x04030201},  // bytes past the score ignored
        {{0x01, 0x02, 0x03}, 0, 0},                          // short: reads as 0
        {{0x0D, 0x0A, 0x0D, 0x0A, 0x0D, 0x0A}, 0, 0},        // three bytes after translation
        {{}, 0, 0},
    };
    for (const DecodeCase& c : cases) {
        int32_t score = 777;
        EXPECT_EQ(ranking_decode(c.stored.data(), c.stored.size(), &score), c.ok);
        EXPECT_EQ(score, c.score);
    }
}

TEST(RankingInsert, NewScoreGoesBelowEqualScoresAndTheOldTenthDrops) {
    struct InsertCase {
        std::vector<int32_t> stored;
        int32_t score;
        std::vector<int32_t> ranked;
    };
    const InsertCase cases[] = {
        {{5000, 4000, 3000, 3000, 2000, 1000, 0, 0, 0, 0}, 3000,
         {5000, 4000, 3000, 3000, 3000, 2000, 1000, 0, 0, 0}},
        {{900, 800, 700, 600, 500, 400, 300, 200, 100, 50}, 50,  // equal to the tenth: out
         {900, 800, 700, 600, 500, 400, 300, 200, 100, 50}},
        {{900, 800, 700, 600, 500, 400, 300, 200, 100, 50}, 10,  // below the tenth: out
         {900, 800, 700, 600, 500, 400, 300, 200, 100, 50}},
        {{0, 0, 0, 0, 0, 0, 0, 0, 0, 0}, 54000, {54000, 0, 0, 0, 0, 0, 0, 0, 0, 0}},
        {{0, 0, 0, 0, 0, 0, 0, 0, 0, 0}, -200, {0, 0, 0, 0, 0, 0, 0, 0, 0, 0}},
        // Files edited by hand come back in order.
        {{1, 5, 3, 9, 2, 8, 4, 7, 6, 0}, 10, {10, 9, 8, 7, 6, 5, 4, 3, 2, 1}},
    };
    for (const InsertCase& c : cases) {
        int32_t ranking[11];
        std::copy(c.stored.begin(), c.stored.end(), ranking);
        ranking[10] = 424242;
        ranking_insert(ranking, c.score);
        EXPECT_EQ(std::vector<int32_t>(ranking, ranking + 10), c.ranked) << "score " << c.score;
    }
}

TEST(RankingFiles, MissingShortAndUnreadableFilesReadAsZero) {
    DataDir dir;
    DataDir::write_places({500, 400, 300, 200, 100, 90, 80, 70, 60, 50});
    std::filesystem::remove(DataDir::place_path(2));
    DataDir::write_bytes(DataDir::place_path(3), {0x01, 0x02});
    std::filesystem::remove(DataDir::place_path(4));
    std::filesystem::create_directory(DataDir::place_path(4));  // a folder where a file should be
    DataDir::write_bytes(DataDir::place_path(5), {0x0D, 0x0A, 0x00, 0x00, 0x00});
    int32_t ranking[11];
    ranking_load(ranking);
    EXPECT_EQ(std::vector<int32_t>(ranking, ranking + 10),
              (std::vector<int32_t>{500, 0, 0, 0, 10, 90, 80, 70, 60, 50}));
}

TEST(RankingFiles, SavingWritesTheTenPlacesAndLeavesNothingElse) {
    DataDir dir;
    DataDir::write_places({9, 9, 9, 9, 9, 9, 9, 9, 9, 9});
    const int32_t ranking[11] = {6700, 10, 5, 4, 3, 2, 1, 0, 0, -100, 0};
    ASSERT_EQ(ranking_save(ranking), 1);
    EXPECT_EQ(DataDir::read_bytes(DataDir::place_path(1)), (Bytes{0x2C, 0x1A, 0x00, 0x00}));
    EXPECT_EQ(DataDir::read_bytes(DataDir::place_path(2)), (Bytes{0x0D, 0x0A, 0x00, 0x00, 0x00}));
    EXPECT_EQ(DataDir::read_bytes(DataDir::place_path(10)), (Bytes{0x9C, 0xFF, 0xFF, 0xFF}));
    int32_t back[11];
    ranking_load(back);
    EXPECT_EQ(std::vector<int32_t>(back, back + 10), std::vector<int32_t>(ranking, ranking + 10));
    EXPECT_TRUE(DataDir::strays().empty());
}

TEST(RankingFiles, SavingCreatesPlacesThatDoNotExistYet) {
    DataDir dir;
    const int32_t ranking[11] = {54000, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0};
    ASSERT_EQ(ranking_save(ranking), 1);
    int32_t back[11];
    ranking_load(back);
    EXPECT_EQ(back[0], 54000);
    EXPECT_EQ(DataDir::read_bytes(DataDir::place_path(10)).size(), 4u);
}

// A failing write in the middle of the save keeps every old file as it
// was and removes the temporaries the save made.
TEST(RankingFiles, AFailedWriteKeepsTheOldRanking) {
    struct Obstacle {
        const char* what;
        void (*place)(const std::string& temporary);
    };
    const Obstacle obstacles[] = {
        // The temporary cannot be created: a folder stands in its way.
        {"blocked", [](const std::string& t) {
             std::filesystem::create_directory(t);
             DataDir::write_bytes(t + "/keep", {1});
         }},
        // The disk is full: the bytes do not reach the file at the flush.
        {"full disk", [](const std::string& t) { std::filesystem::create_symlink("/dev/full", t); }},
    };
    for (const Obstacle& o : obstacles) {
        DataDir dir;
        DataDir::write_places({5000, 4000, 3000, 3000, 2000, 1000, 0, 0, 0, 0});
        const auto before = DataDir::all_place_bytes();
        o.place(DataDir::place_path(6) + ".tmp");
        int32_t ranking[11] = {5000, 4000, 3000, 3000, 3000, 2000, 1000, 0, 0, 0, 0};
        EXPECT_EQ(ranking_save(ranking), 0) << o.what;
        EXPECT_EQ(DataDir::all_place_bytes(), before) << o.what;
        const auto strays = DataDir::strays();
        for (const auto& name : strays) EXPECT_EQ(name, "ranking6.txt.tmp") << o.what;
        EXPECT_EQ(std::filesystem::exists("ranking/ranking6.txt.tmp"),
                  std::string(o.what) == "blocked") << o.what;
    }
}

TEST(RankingFiles, AReadOnlyFolderKeepsTheOldRanking) {
    if (geteuid() == 0) GTEST_SKIP() << "the superuser writes into read-only folders";
    DataDir dir;
    DataDir::write_places({5000, 4000, 3000, 3000, 2000, 1000, 0, 0, 0, 0});
    const auto before = DataDir::all_place_bytes();
    std::filesystem::permissions("ranking", std::filesystem::perms::owner_read | std::filesystem::perms::owner_exec);
    const int32_t ranking[11] = {5000, 4000, 3000, 3000, 3000, 2000, 1000, 0, 0, 0, 0};
    EXPECT_EQ(ranking_save(ranking), 0);
    EXPECT_EQ(DataDir::all_place_bytes(), before);
}

// A crash after any number of replaced files leaves every stored score
// that the new ranking keeps somewhere in the folder.
TEST(RankingFiles, ACrashBetweenTwoReplacementsLosesNoStoredScore) {
    const std::vector<std::vector<int32_t>> stored_lists = {
        {5000, 4000, 3000, 3000, 2000, 1000, 0, 0, 0, 0},
        {900, 800, 700, 600, 500, 400, 300, 200, 100, 50},
    };
    const int32_t scores[] = {3000, 5500, 150, 50};
    for (const auto& stored : stored_lists) {
        for (int32_t score : scores) {
            int32_t ranking[11];
            std::copy(stored.begin(), stored.end(), ranking);
            ranking_insert(ranking, score);
            // The stored scores the finished ranking keeps: all of it but
            // the new entry, when the score got in.
            std::vector<int32_t> kept(ranking, ranking + 10);
            if (score > stored[9]) kept.erase(std::find(kept.begin(), kept.end(), score));
            for (int replaced = 0; replaced <= 10; ++replaced) {
                DataDir dir;
                DataDir::write_places(stored);
                EXPECT_EQ(ranking_save_interrupted(ranking, replaced), replaced == 10 ? 1 : 0);
                int32_t on_disk[11];
                ranking_load(on_disk);
                std::vector<int32_t> left(on_disk, on_disk + 10);
                for (int32_t s : kept) {
                    auto at = std::find(left.begin(), left.end(), s);
                    EXPECT_NE(at, left.end()) << "score " << score << ", " << replaced
                                              << " files replaced: stored " << s << " lost";
                    if (at != left.end()) left.erase(at);
                }
            }
        }
    }
}

}  // namespace
