// A save stopped at any point leaves a ranking that reads as the old one
// or the new one, whole: before its commit the old files stand, after it
// the next load finishes the replacements. Found by killing the result
// scene while it saved: a stop between two replacements used to read back
// with one score twice and the new entry missing.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <vector>

#include "scenes/ranking.h"
#include "tests/scenes/data_dir.h"

namespace {

const std::vector<int32_t> stored = {5000, 4000, 3000, 3000, 2000, 1000, 10, 0, 0, 0};

std::vector<int32_t> loaded() {
    int32_t ranking[11];
    ranking_load(ranking);
    return std::vector<int32_t>(ranking, ranking + 10);
}

TEST(RankingCommit, AStopAfterAnyReplacementReadsAsTheWholeNewRanking) {
    for (int32_t score : {3000, 5500, 20}) {
        int32_t ranking[11];
        std::copy(stored.begin(), stored.end(), ranking);
        ranking_insert(ranking, score);
        const std::vector<int32_t> fresh(ranking, ranking + 10);
        for (int replaced = 0; replaced < 10; ++replaced) {
            DataDir dir;
            DataDir::write_places(stored);
            EXPECT_EQ(ranking_save_interrupted(ranking, replaced), 0);
            EXPECT_EQ(loaded(), fresh) << "score " << score << ", stopped after " << replaced;
            // The load finished the save: the files themselves hold it now.
            EXPECT_TRUE(DataDir::strays().empty()) << "stopped after " << replaced;
            EXPECT_EQ(loaded(), fresh);
        }
    }
}

TEST(RankingCommit, TemporariesWithoutTheCommitAreNotRead) {
    DataDir dir;
    DataDir::write_places(stored);
    // What a save stopped before its commit leaves: some temporaries.
    for (int place = 1; place <= 4; ++place) DataDir::write_bytes(DataDir::place_path(place) + ".tmp", {9, 9, 0, 0});
    EXPECT_EQ(loaded(), stored);
    // The next save writes them anew and goes through.
    int32_t ranking[11];
    std::copy(stored.begin(), stored.end(), ranking);
    ranking_insert(ranking, 4500);
    ASSERT_EQ(ranking_save(ranking), 1);
    EXPECT_EQ(loaded(), std::vector<int32_t>(ranking, ranking + 10));
    EXPECT_TRUE(DataDir::strays().empty());
}

TEST(RankingCommit, ASaveFinishesTheCommittedOneBeforeItsOwn) {
    DataDir dir;
    DataDir::write_places(stored);
    int32_t first[11];
    std::copy(stored.begin(), stored.end(), first);
    ranking_insert(first, 4500);
    EXPECT_EQ(ranking_save_interrupted(first, 3), 0);
    // A second save straight away, without a load between (its ranking
    // computed from the first one's).
    int32_t second[11];
    std::copy(first, first + 10, second);
    ranking_insert(second, 2500);
    ASSERT_EQ(ranking_save(second), 1);
    EXPECT_EQ(loaded(), std::vector<int32_t>(second, second + 10));
    EXPECT_TRUE(DataDir::strays().empty());
}

}  // namespace
