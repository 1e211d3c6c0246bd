// The ranking under faults, through the result scene's own initialise: a
// SIGKILL at random moments while it saves, each write of the save failing
// in turn, a full disk, a read-only folder. Whatever happens, the ten
// files read (by the next start of the game) as either the old ranking or
// the new one, whole, and the game goes on running.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "game/game_state.h"
#include "platform/headless/headless.h"
#include "render/device.h"
#include "scenes/ranking.h"
#include "scenes/result_scene.h"
#include "scenes/scene_manager.h"
#include "tests/ranking_safety/file_faults.h"

namespace {

using Ranking = std::vector<int32_t>;

constexpr int vk_enter = 0x0D;  // Button2, the decide button

// A data folder of its own for each test, the working directory while it
// lives; its ranking folder holds a first ranking.
class DataFolder {
public:
    explicit DataFolder(const Ranking& first) {
        char pattern[] = "/tmp/quennary-ranking-safety-XXXXXX";
        root_ = mkdtemp(pattern);
        previous_ = std::filesystem::current_path();
        std::filesystem::create_directory(root_ + "/ranking");
        std::filesystem::current_path(root_);
        write(first);
    }
    ~DataFolder() {
        std::filesystem::current_path(previous_);
        std::error_code ignored;
        std::filesystem::permissions(root_ + "/ranking", std::filesystem::perms::owner_all, ignored);
        std::filesystem::remove_all(root_, ignored);
    }
    DataFolder(const DataFolder&) = delete;
    DataFolder& operator=(const DataFolder&) = delete;

    const std::string& root() const { return root_; }

    static void write(const Ranking& r) {
        int32_t ranking[11] = {};
        std::copy(r.begin(), r.end(), ranking);
        faults_disarm();
        ASSERT_EQ(ranking_save(ranking), 1);
    }

private:
    std::string root_;
    std::filesystem::path previous_;
};

// What the next start of the game reads.
Ranking read_back() {
    int32_t ranking[11];
    ranking_load(ranking);
    return Ranking(ranking, ranking + 10);
}

Ranking inserted(const Ranking& r, int32_t score) {
    int32_t ranking[11] = {};
    std::copy(r.begin(), r.end(), ranking);
    ranking_insert(ranking, score);
    return Ranking(ranking, ranking + 10);
}

bool exists(const char* path) { return std::filesystem::exists(path); }

// The game as it stands when the last stage hands over to the result
// scene: the device made, the scenes started, the run's score set.
void start_game() {
    headless_reset();
    create_device(0);
    start_scenes();
}

// The result scene entered with this score, as after the last stage: its
// initialise saves the ranking.
void enter_result_scene(int32_t score) {
    game.score = score;
    SceneManager& m = scene_manager();
    m.previous = Game;
    m.current = m.next = Result;
    game.scene_phase = 3;
    init_scene();
}

// The game goes on: the result screen fades in, the decide button fades
// it out, and the title takes over.
void play_on_to_the_title() {
    for (int frame = 0; frame < 200 && scene_manager().current == Result; ++frame) {
        headless_set_key(vk_enter, frame == 40);
        update_scene();
        device_begin_frame();
        draw_scene();
        device_end_frame();
        headless_clear_draws();
    }
    headless_release_all_keys();
}

// ---------------------------------------------------------------- kill

// The scores the killed scene enters, one save after another: each one
// gets into the ranking, at a place that changes from save to save.
struct SaveSequence {
    explicit SaveSequence(uint32_t seed, Ranking first) : random(seed) { rankings.push_back(first); }
    int32_t score(size_t i) {
        while (scores.size() <= i) {
            const Ranking& last = rankings.back();
            const int32_t s = last[9] + 1 + int32_t(random() % uint32_t(last[0] - last[9] + 20));
            scores.push_back(s);
            rankings.push_back(inserted(last, s));
        }
        return scores[i];
    }
    // The save index whose result r is, or -1.
    long find(const Ranking& r, size_t up_to) {
        score(up_to);
        for (size_t i = 0; i <= up_to; ++i)
            if (rankings[i] == r) return long(i);
        return -1;
    }
    std::mt19937 random;
    std::vector<int32_t> scores;
    std::vector<Ranking> rankings;
};

constexpr size_t most_saves = 100000;  // a killed child never gets near this

// The child: the result scene entered again and again, each time with the
// next score of the sequence, until it is killed.
[[noreturn]] void save_until_killed(SaveSequence sequence) {
    for (size_t i = 0; i < most_saves; ++i) {
        enter_result_scene(sequence.score(i));
        release_scene();
    }
    _exit(0);
}

TEST(RankingKill, AKillAtAnyMomentLeavesTheOldOrTheNewRankingWhole) {
    start_game();
    const int trials = 150;
    int after_commit = 0, before_commit = 0, between_saves = 0;
    std::mt19937 timing(2024);
    for (int trial = 0; trial < trials; ++trial) {
        std::mt19937 first_random{uint32_t(trial)};
        Ranking first(10);
        for (int32_t& s : first) s = int32_t(first_random() % 90000) - 1000;
        std::sort(first.rbegin(), first.rend());
        DataFolder folder(first);
        SaveSequence sequence(uint32_t(trial) * 7919u + 1, first);

        const pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0) save_until_killed(sequence);
        // Anywhere from the child's first instant to a few dozen saves in.
        std::this_thread::sleep_for(std::chrono::microseconds(timing() % 20000));
        kill(child, SIGKILL);
        int status = 0;
        ASSERT_EQ(waitpid(child, &status, 0), child);
        ASSERT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL) << "trial " << trial;

        // Where the kill landed, from what it left in the folder.
        if (exists("ranking/ranking.commit"))
            after_commit += 1;
        else if (exists("ranking/ranking1.txt.tmp") || exists("ranking/ranking10.txt.tmp"))
            before_commit += 1;
        else
            between_saves += 1;

        const Ranking read = read_back();
        const long index = sequence.find(read, 5000);  // more saves than 20 ms can hold
        EXPECT_GE(index, 0) << "trial " << trial << ": the files hold no ranking the scene ever saved";
        // The load finished whatever was committed: no marker is left, and
        // the files read the same again.
        EXPECT_FALSE(exists("ranking/ranking.commit")) << "trial " << trial;
        EXPECT_EQ(read_back(), read) << "trial " << trial;
    }
    std::printf("%d kills: %d after a commit, %d before one, %d between saves\n", trials, after_commit,
                before_commit, between_saves);
    // The check above means little unless kills land inside saves.
    EXPECT_GT(after_commit + before_commit, trials / 4);
}

// ---------------------------------------------------------------- write faults

const Ranking stored = {5000, 4000, 3000, 3000, 2000, 1000, 10, 0, 0, 0};

TEST(RankingFaults, EachWriteOfTheSaveFailingInTurnKeepsARankingWhole) {
    start_game();
    // How many writing calls one save makes.
    int calls = 0;
    {
        DataFolder folder(stored);
        faults_arm(0);
        enter_result_scene(3500);
        calls = faults_seen();
        faults_disarm();
        release_scene();
        EXPECT_EQ(read_back(), inserted(stored, 3500));
    }
    ASSERT_GE(calls, 41);  // ten files written and closed, the commit, ten replacements
    int old_kept = 0, new_kept = 0;
    for (int nth = 1; nth <= calls; ++nth) {
        DataFolder folder(stored);
        const Ranking fresh = inserted(stored, 3500);
        faults_arm(nth);
        enter_result_scene(3500);
        faults_disarm();
        // The screen shows the new ranking whatever the disk did, and the
        // game plays on to the title.
        EXPECT_EQ(Ranking(game.ranking, game.ranking + 10), fresh) << "write " << nth;
        play_on_to_the_title();
        EXPECT_EQ(scene_manager().current, Title) << "write " << nth;
        release_scene();

        const Ranking read = read_back();
        EXPECT_TRUE(read == stored || read == fresh) << "write " << nth << " failing";
        old_kept += read == stored;
        new_kept += read == fresh;
        // The next game's result is saved on top of what is there.
        enter_result_scene(4500);
        release_scene();
        EXPECT_EQ(read_back(), inserted(read, 4500)) << "write " << nth << " failing";
    }
    // Every failure before the commit keeps the old ranking.
    EXPECT_GT(old_kept, 0);
    std::printf("%d writes failed in turn: %d kept the old ranking, %d the new\n", calls, old_kept, new_kept);
}

TEST(RankingFaults, AFullDiskUnderAnyFileKeepsTheOldRanking) {
    start_game();
    std::vector<std::string> where;
    for (int place = 1; place <= ranking_places; ++place)
        where.push_back("ranking/ranking" + std::to_string(place) + ".txt.tmp");
    where.push_back("ranking/ranking.commit");
    for (const std::string& full : where) {
        DataFolder folder(stored);
        // Every byte written there meets a full disk.
        std::filesystem::create_symlink("/dev/full", full);
        enter_result_scene(3500);
        play_on_to_the_title();
        EXPECT_EQ(scene_manager().current, Title) << full;
        release_scene();
        if (full == "ranking/ranking.commit") {
            // An empty marker needs no room: the commit goes through.
            std::filesystem::remove(full);
            EXPECT_EQ(read_back(), inserted(stored, 3500)) << full;
        } else {
            EXPECT_EQ(read_back(), stored) << full;
        }
    }
}

TEST(RankingFaults, AReadOnlyFolderKeepsTheOldRankingAndTheGameRuns) {
    start_game();
    DataFolder folder(stored);
    chmod("ranking", 0555);
    // The superuser writes into read-only folders: the save runs as an
    // ordinary user instead, in a child.
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        if (geteuid() == 0) {
            chmod(folder.root().c_str(), 0755);
            if (setgid(65534) != 0 || setuid(65534) != 0) _exit(3);
        }
        if (access("ranking", W_OK) == 0) _exit(4);  // still writable: nothing to show
        enter_result_scene(3500);
        play_on_to_the_title();
        const int at_title = scene_manager().current == Title;
        release_scene();
        _exit(at_title ? 0 : 5);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    ASSERT_NE(WEXITSTATUS(status), 4) << "the folder stayed writable";
    EXPECT_EQ(WEXITSTATUS(status), 0) << "the game did not play on to the title";
    chmod("ranking", 0755);
    EXPECT_EQ(read_back(), stored);
}

}  // namespace
