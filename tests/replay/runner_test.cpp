// The replay runner and the stage compiler as programs: refused arguments,
// a fixture stage cleared by a script, a whole run from the title through
// all eighteen stages of a run to the ranking on disk, and screenshots.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

struct Ran {
    int status;  // exit code
    std::string out, err;
};

std::string slurp(const fs::path& p) {
    std::ifstream f(p, std::ios::binary);
    std::stringstream s;
    s << f.rdbuf();
    return s.str();
}

void spit(const fs::path& p, const std::string& text) {
    std::ofstream f(p, std::ios::binary);
    f << text;
}

std::vector<std::string> lines_of(const std::string& text) {
    std::vector<std::string> lines;
    std::stringstream s(text);
    std::string line;
    while (std::getline(s, line)) lines.push_back(line);
    return lines;
}

// A scratch folder laid out as a data directory: stage/ and ranking/.
class Scratch {
public:
    Scratch() {
        char pattern[] = "/tmp/quennary-replay-XXXXXX";
        root = mkdtemp(pattern);
        fs::create_directories(root / "stage");
        fs::create_directories(root / "ranking");
    }
    ~Scratch() {
        std::error_code ignored;
        fs::remove_all(root, ignored);
    }
    Ran run(const std::string& program, const std::string& args) const {
        const std::string out = (root / "out.txt").string(), err = (root / "err.txt").string();
        const std::string command = "cd '" + root.string() + "' && '" + program + "' " + args + " >'" + out +
                                    "' 2>'" + err + "'";
        const int raw = std::system(command.c_str());
        return {WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, slurp(out), slurp(err)};
    }
    Ran replay(const std::string& args) const { return run(QUENNARY_REPLAY_TOOL, args); }
    // Compiles a fixture map into the scratch folder.
    void stage(const std::string& fixture, const std::string& out) const {
        const Ran r = run(QUENNARY_STAGE_TOOL, std::string("'") + QUENNARY_REPLAY_FIXTURES + "/" + fixture + "' '" + out + "'");
        ASSERT_EQ(r.status, 0) << r.err;
    }
    fs::path root;
};

// The fields of the runner's last line.
struct Summary {
    int cleared = -1, stage = -1, frame = -1, corpses = -1, stars = -1, score = -1, deaths = -1;
};

Summary summary_of(const std::string& out) {
    const auto lines = lines_of(out);
    Summary s;
    if (lines.empty()) return s;
    std::sscanf(lines.back().c_str(), "cleared=%d stage=%d frame=%d corpses=%d stars=%d score=%d deaths=%d",
                &s.cleared, &s.stage, &s.frame, &s.corpses, &s.stars, &s.score, &s.deaths);
    return s;
}

// A trace as rows of named columns.
struct Trace {
    std::vector<std::string> columns;
    std::vector<std::vector<std::string>> rows;
    int column(const std::string& name) const {
        for (size_t i = 0; i < columns.size(); ++i)
            if (columns[i] == name) return static_cast<int>(i);
        return -1;
    }
    std::string at(size_t row, const std::string& name) const {
        const int c = column(name);
        return c < 0 || row >= rows.size() ? "" : rows[row][c];
    }
};

Trace trace_of(const std::string& text) {
    Trace t;
    auto split = [](const std::string& line) {
        std::vector<std::string> cells;
        std::stringstream s(line);
        std::string cell;
        while (std::getline(s, cell, ',')) cells.push_back(cell);
        return cells;
    };
    const auto lines = lines_of(text);
    if (lines.empty()) return t;
    t.columns = split(lines[0]);
    for (size_t i = 1; i < lines.size(); ++i) t.rows.push_back(split(lines[i]));
    return t;
}

TEST(ReplayRunner, BadArgumentsAndUnreadableFilesExitWithOneLine) {
    Scratch s;
    spit(s.root / "bad.txt", "10 Right\n3 Jump\n");
    const struct {
        std::string args;
        const char* message;
    } cases[] = {
        {"", "say where to start"},
        {"--stage 99", "--stage needs a stage number"},
        {"--stage 1 --warp", "unknown argument '--warp'"},
        {"--stage 1 --input missing.txt", "cannot read the script missing.txt"},
        {"--stage 1 --input bad.txt", "bad.txt: line 2: unknown key 'Jump'"},
        {"--stage-file nowhere.dat", "cannot read the stage file nowhere.dat"},
        {"--stage 1 --data no/such/folder", "cannot enter the data directory no/such/folder"},
    };
    for (const auto& c : cases) {
        const Ran r = s.replay(c.args);
        EXPECT_EQ(r.status, 2) << c.args;
        EXPECT_EQ(lines_of(r.err).size(), 1u) << c.args << ": " << r.err;
        EXPECT_NE(r.err.find("quennary-replay: "), std::string::npos) << c.args;
        EXPECT_NE(r.err.find(c.message), std::string::npos) << c.args << ": " << r.err;
        EXPECT_EQ(r.out, "") << c.args;
    }
}

TEST(StageCompiler, WritesTheStageFileOrNamesTheWrongLine) {
    Scratch s;
    s.stage("walk.txt", "walk.dat");
    const std::string dat = slurp(s.root / "walk.dat");
    ASSERT_EQ(dat.size(), 1200u);
    // S at column 1, row 13; G at column 18, row 13.
    EXPECT_EQ(dat[4 * (15 * 1 + 13)], 6);
    EXPECT_EQ(dat[4 * (15 * 18 + 13)], 7);
    spit(s.root / "broken.txt", "; two rows too few\n" + std::string(13 * 21, '.'));
    std::string text = slurp(std::string(QUENNARY_REPLAY_FIXTURES) + "/walk.txt");
    text[text.find("#S") + 5] = '?';
    spit(s.root / "unknown.txt", text);
    const Ran unknown = s.run(QUENNARY_STAGE_TOOL, "unknown.txt unknown.dat");
    EXPECT_EQ(unknown.status, 1);
    EXPECT_NE(unknown.err.find("unknown.txt: line 15, column 6: unknown character '?'"), std::string::npos)
        << unknown.err;
    EXPECT_FALSE(fs::exists(s.root / "unknown.dat"));
    EXPECT_EQ(s.run(QUENNARY_STAGE_TOOL, "walk.txt").status, 2);
    EXPECT_EQ(s.run(QUENNARY_STAGE_TOOL, "missing.txt out.dat").status, 1);
}

// The build gives a data directory its ranking files: ten zero scores where
// none exist, a player's own files untouched.
TEST(RankingSeed, CreatesMissingPlacesAndKeepsThePlayersOwn) {
    Scratch s;
    spit(s.root / "ranking/ranking1.txt", std::string("\x2c\x1a\x00\x00", 4));
    spit(s.root / "ranking/ranking7.txt", std::string("\x0d\x0a\x00\x00\x00", 5));
    const Ran r = s.run(QUENNARY_RANKING_SEED_TOOL, "");
    ASSERT_EQ(r.status, 0) << r.err;
    for (int p = 1; p <= 10; ++p) {
        const std::string bytes = slurp(s.root / ("ranking/ranking" + std::to_string(p) + ".txt"));
        const std::string expected = p == 1   ? std::string("\x2c\x1a\x00\x00", 4)
                                     : p == 7 ? std::string("\x0d\x0a\x00\x00\x00", 5)
                                              : std::string(4, '\0');
        EXPECT_EQ(bytes, expected) << "place " << p;
    }
}

TEST(ReplayRunner, AWalkToTheCoffinIsClearedWithThreeStars) {
    Scratch s;
    s.stage("walk.txt", "walk.dat");
    spit(s.root / "walk.script", "# hold Right until the coffin\n600 Right\n");
    const Ran r = s.replay("--stage-file walk.dat --input walk.script --until-clear --trace trace.csv");
    ASSERT_EQ(r.status, 0) << r.err;
    const Summary sum = summary_of(r.out);
    EXPECT_EQ(sum.cleared, 1);
    EXPECT_EQ(sum.stage, 1);
    EXPECT_EQ(sum.corpses, 0);
    EXPECT_EQ(sum.stars, 3);  // no corpse, target 3
    EXPECT_EQ(sum.score, 0);  // the score is added 20 frames into the clear
    EXPECT_EQ(sum.deaths, 0);
    const Trace t = trace_of(slurp(s.root / "trace.csv"));
    ASSERT_EQ(static_cast<int>(t.rows.size()), sum.frame);
    ASSERT_GT(sum.frame, 30);
    EXPECT_EQ(t.at(t.rows.size() - 1, "stage_cleared"), "1");
    EXPECT_EQ(t.at(t.rows.size() - 2, "stage_cleared"), "0");
    EXPECT_EQ(t.at(0, "fade_alpha"), "0");
    EXPECT_EQ(t.at(0, "scene_phase"), "0");
    EXPECT_LT(std::stod(t.at(0, "player_x")), std::stod(t.at(t.rows.size() - 1, "player_x")));
    EXPECT_EQ(t.at(0, "keys"), "Right");
    // The same file through --stage: the stage number gives the target.
    for (int n = 1; n <= 20; ++n) fs::copy_file(s.root / "walk.dat", s.root / ("stage/stage_" + std::to_string(n) + ".dat"));
    const Summary third = summary_of(s.replay("--stage 3 --input walk.script --until-clear").out);
    EXPECT_EQ(third.cleared, 1);
    EXPECT_EQ(third.stage, 3);
    EXPECT_EQ(third.frame, sum.frame);
    EXPECT_EQ(third.stars, 3);
}

// Stage 3 has a target of 1: dying on the way (C, outside the start area)
// leaves corpses that the walk then jumps over.
TEST(ReplayRunner, StarsFollowTheCorpsesAgainstTheTarget) {
    Scratch s;
    s.stage("walk.txt", "walk.dat");
    const std::string die = "1 C\n1 -\n";
    const std::string over = "20 Right\n10 Right+Space\n30 Right\n10 Right+Space\n600 Right\n";
    const struct {
        std::string script;
        int corpses, stars;
    } cases[] = {
        {over, 0, 3},
        {"30 Right\n" + die + over, 1, 2},
        {"30 Right\n" + die + "40 Right\n" + die + over, 2, 1},
    };
    for (const auto& c : cases) {
        spit(s.root / "die.script", c.script);
        const Ran r = s.replay("--stage-file walk.dat --stage 3 --input die.script --until-clear");
        ASSERT_EQ(r.status, 0) << r.err;
        const Summary sum = summary_of(r.out);
        EXPECT_EQ(sum.cleared, 1) << c.script;
        EXPECT_EQ(sum.corpses, c.corpses) << c.script;
        EXPECT_EQ(sum.deaths, c.corpses) << c.script;
        EXPECT_EQ(sum.stars, c.stars) << c.script;
    }
}

TEST(ReplayRunner, WithoutUntilClearTheRunGoesOnThroughTheClear) {
    Scratch s;
    s.stage("walk.txt", "walk.dat");
    spit(s.root / "walk.script", "600 Right\n");
    const Ran r = s.replay("--stage-file walk.dat --input walk.script --frames 20 --trace -");
    ASSERT_EQ(r.status, 0) << r.err;
    const auto lines = lines_of(r.out);
    ASSERT_EQ(lines.size(), 1u + 620u + 1u);  // header, a row a frame, the summary
    const Summary sum = summary_of(r.out);
    EXPECT_EQ(sum.cleared, 1);
    EXPECT_EQ(sum.frame, 620);
    EXPECT_EQ(sum.score, 3000);  // added 20 frames into the clear
    EXPECT_EQ(sum.stars, 3);
}

// Twenty copies of the walk as the stage files; a script that starts the
// game, waits through the opening and then walks, and decides once each
// stage is cleared.
TEST(ReplayRunner, AWholeRunFromTheTitleEndsInTheRanking) {
    Scratch s;
    s.stage("walk.txt", "walk.dat");
    for (int n = 1; n <= 20; ++n) fs::copy_file(s.root / "walk.dat", s.root / ("stage/stage_" + std::to_string(n) + ".dat"));
    spit(s.root / "walk.script", "600 Right\n");
    const int walk = summary_of(s.replay("--stage-file walk.dat --input walk.script --until-clear").out).frame;
    ASSERT_GT(walk, 0);
    // The stored ranking: the run's 18 x 3000 goes in at place 2.
    const int32_t stored[10] = {60000, 50000, 3000, 0, 0, 0, 0, 0, 0, 0};
    for (int p = 1; p <= 10; ++p) {
        const uint32_t v = static_cast<uint32_t>(stored[p - 1]);
        spit(s.root / ("ranking/ranking" + std::to_string(p) + ".txt"),
             std::string{static_cast<char>(v), static_cast<char>(v >> 8), static_cast<char>(v >> 16),
                         static_cast<char>(v >> 24)});
    }
    std::string script = "30 -\n1 Enter\n150 -\n";
    for (int stage = 0; stage < 18; ++stage)
        script += std::to_string(walk + 100) + " Right\n1 Enter\n39 -\n";
    spit(s.root / "run.script", script);
    const Ran r = s.replay("--from-title --data . --input run.script --frames 60 --trace trace.csv");
    ASSERT_EQ(r.status, 0) << r.err;
    const Summary sum = summary_of(r.out);
    EXPECT_EQ(sum.stage, 21);
    EXPECT_EQ(sum.score, 18 * 3000);
    EXPECT_EQ(sum.deaths, 0);
    const Trace t = trace_of(slurp(s.root / "trace.csv"));
    std::set<int> stages_played;
    for (size_t i = 0; i < t.rows.size(); ++i)
        if (t.at(i, "scene") == "1" && t.at(i, "game_phase") == "1") stages_played.insert(std::stoi(t.at(i, "stage")));
    std::set<int> expected = {18, 20, 21};
    for (int n = 1; n <= 16; ++n) expected.insert(n);
    EXPECT_EQ(stages_played, expected);
    EXPECT_EQ(t.at(t.rows.size() - 1, "scene"), "2");  // the result screen
    // Place 2 is the run's; everything below moved down one place.
    const int32_t ranked[10] = {60000, 54000, 50000, 3000, 0, 0, 0, 0, 0, 0};
    for (int p = 1; p <= 10; ++p) {
        const std::string bytes = slurp(s.root / ("ranking/ranking" + std::to_string(p) + ".txt"));
        ASSERT_EQ(bytes.size(), 4u) << "place " << p;
        const uint32_t v = static_cast<unsigned char>(bytes[0]) | static_cast<unsigned char>(bytes[1]) << 8 |
                           static_cast<unsigned char>(bytes[2]) << 16 | static_cast<uint32_t>(static_cast<unsigned char>(bytes[3])) << 24;
        EXPECT_EQ(static_cast<int32_t>(v), ranked[p - 1]) << "place " << p;
    }
    for (const auto& e : fs::directory_iterator(s.root / "ranking"))
        EXPECT_EQ(e.path().extension(), ".txt") << e.path();
}

TEST(ReplayRunner, ScreenshotsAreTheDrawnFramesAsPictures) {
    Scratch s;
    s.stage("walk.txt", "walk.dat");
    setenv("SDL_VIDEODRIVER", "offscreen", 1);
    const Ran r = s.replay("--stage-file walk.dat --frames 6 --screenshots shots --every 3");
    unsetenv("SDL_VIDEODRIVER");
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(summary_of(r.out).frame, 6);
    std::set<std::string> names;
    for (const auto& e : fs::directory_iterator(s.root / "shots")) names.insert(e.path().filename().string());
    EXPECT_EQ(names, (std::set<std::string>{"frame_000003.png", "frame_000006.png"}));
    const std::string png = slurp(s.root / "shots" / "frame_000003.png");
    ASSERT_GT(png.size(), 24u);
    EXPECT_EQ(png.substr(1, 3), "PNG");
    auto be32 = [&](size_t at) {
        return static_cast<unsigned char>(png[at]) << 24 | static_cast<unsigned char>(png[at + 1]) << 16 |
               static_cast<unsigned char>(png[at + 2]) << 8 | static_cast<unsigned char>(png[at + 3]);
    };
    EXPECT_EQ(be32(16), 640);
    EXPECT_EQ(be32(20), 480);
    // No video to draw with: the run is refused, not run blind.
    setenv("SDL_VIDEODRIVER", "no_such_driver", 1);
    const Ran blind = s.replay("--stage-file walk.dat --frames 3 --screenshots blind");
    unsetenv("SDL_VIDEODRIVER");
    EXPECT_EQ(blind.status, 1);
    EXPECT_EQ(blind.err, "quennary-replay: no drawing device for the screenshots\n");
}

}  // namespace
