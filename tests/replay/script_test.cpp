// The replay runner's input scripts and command line: what they accept and
// how each kind of wrong input is refused with its line number.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tools/replay/replay_args.h"
#include "tools/replay/replay_script.h"

namespace {

uint32_t keys(std::initializer_list<ReplayKey> held) {
    uint32_t m = 0;
    for (ReplayKey k : held) m |= 1u << k;
    return m;
}

TEST(ReplayScript, StepsWithCommentsBlankLinesAndLineEnds) {
    const std::string text =
        "# walk to the pit, jump, then wait\r\n"
        "30 Right\r\n"
        "\n"
        "   5\tRight+Space   # jump while walking\n"
        "1 -\n"
        "2 Up+Down+Left+Right+Space+Z+Shift+Enter+X+Ctrl+C+V+G+H\n"
        "7 Enter";  // no line end at the end
    std::vector<ReplayStep> steps;
    uint32_t total = 0;
    char error[160] = "";
    ASSERT_EQ(replay_parse_script(text.data(), text.size(), steps, &total, error, sizeof error), 1) << error;
    ASSERT_EQ(steps.size(), 5u);
    EXPECT_EQ(steps[0].frames, 30u);
    EXPECT_EQ(steps[0].key_mask, keys({KeyRight}));
    EXPECT_EQ(steps[1].frames, 5u);
    EXPECT_EQ(steps[1].key_mask, keys({KeyRight, KeySpace}));
    EXPECT_EQ(steps[2].key_mask, 0u);
    EXPECT_EQ(steps[3].key_mask, (1u << ReplayKeyCount) - 1);
    EXPECT_EQ(steps[4].key_mask, keys({KeyEnter}));
    EXPECT_EQ(total, 45u);
}

TEST(ReplayScript, KeyNamesAreTheirVirtualKeyCodes) {
    const struct {
        ReplayKey key;
        const char* name;
        int code;
    } cases[] = {
        {KeyUp, "Up", 0x26},   {KeyDown, "Down", 0x28}, {KeyLeft, "Left", 0x25},   {KeyRight, "Right", 0x27},
        {KeySpace, "Space", 0x20}, {KeyZ, "Z", 0x5A},   {KeyShift, "Shift", 0x10}, {KeyEnter, "Enter", 0x0D},
        {KeyX, "X", 0x58},     {KeyCtrl, "Ctrl", 0x11}, {KeyC, "C", 0x43},         {KeyV, "V", 0x56},
        {KeyG, "G", 0x47},     {KeyH, "H", 0x48},
    };
    for (const auto& c : cases) {
        EXPECT_STREQ(replay_key_name(c.key), c.name);
        EXPECT_EQ(replay_key_code(c.key), c.code) << c.name;
    }
}

TEST(ReplayScript, WrongLinesAreRefusedWithTheirLineNumber) {
    const struct {
        std::string text;
        const char* message;
    } cases[] = {
        {"10 Right\n5 Jump\n", "line 2: unknown key 'Jump'"},
        {"10 right\n", "line 1: unknown key 'right'"},  // names are exact
        {"3 Z++X\n", "line 1: empty key name"},
        {"3 +Z\n", "line 1: empty key name"},
        {"3 Z+\n", "line 1: empty key name"},
        {"# only a comment\n0 -\n", "line 2: a frame count of 0"},
        {"Right\n", "line 1: expected a frame count"},
        {"-3 Right\n", "line 1: expected a frame count"},
        {"12\n", "line 1: expected keys after the frame count"},
        {"12Right\n", "line 1: expected keys after the frame count"},
        {"1000001 -\n", "line 1: frame count above 1000000"},
        {"99999999999999999999999 -\n", "line 1: frame count above 1000000"},
        {"2 Z X\n", "line 1: unexpected text after the keys"},
        {"2 Z\n" + std::string(201, ' ') + "\n", "line 2: longer than 200 characters"},
        {std::string("4 Z\x00X\n", 6), "line 1: unknown key"},
        {std::string("4 \xff\n"), "line 1: unknown key"},
    };
    for (const auto& c : cases) {
        std::vector<ReplayStep> steps;
        uint32_t total = 0;
        char error[160] = "";
        EXPECT_EQ(replay_parse_script(c.text.data(), c.text.size(), steps, &total, error, sizeof error), 0)
            << c.message;
        EXPECT_STREQ(error, c.message);
    }
}

TEST(ReplayScript, TheWholeScriptIsBounded) {
    std::string text;
    for (int i = 0; i < 11; ++i) text += "1000000 Right\n";  // 11 million frames
    std::vector<ReplayStep> steps;
    uint32_t total = 0;
    char error[160] = "";
    EXPECT_EQ(replay_parse_script(text.data(), text.size(), steps, &total, error, sizeof error), 0);
    EXPECT_STREQ(error, "line 11: the script passes 10000000 frames");
    const std::string huge(replay_max_script_bytes + 1, '\n');
    EXPECT_EQ(replay_parse_script(huge.data(), huge.size(), steps, &total, error, sizeof error), 0);
}

struct ArgsCase {
    std::vector<const char*> args;
    int ok;
    const char* message;  // for a refusal
};

TEST(ReplayArgs, OneWayToStartAndEveryValueChecked) {
    const ArgsCase cases[] = {
        {{"--stage", "3", "--until-clear"}, 1, ""},
        {{"--stage-file", "x.dat", "--input", "s.txt", "--frames", "0"}, 1, ""},
        {{"--from-title", "--data", "d", "--trace", "-", "--screenshots", "p", "--every", "60"}, 1, ""},
        {{}, 0, "say where to start: --stage N, --stage-file FILE or --from-title"},
        {{"--stage", "0"}, 0, "--stage needs a stage number from 1 to 20"},
        {{"--stage", "21"}, 0, "--stage needs a stage number from 1 to 20"},
        {{"--stage", "+3"}, 0, "--stage needs a stage number from 1 to 20"},
        {{"--stage"}, 0, "--stage needs a stage number from 1 to 20"},
        {{"--stage", "1", "--stage", "2"}, 0, "--stage given twice"},
        {{"--from-title", "--stage", "2"}, 0, "--from-title starts at the title: no --stage or --stage-file with it"},
        {{"--stage", "1", "--frames", "10000001"}, 0, "--frames needs a frame count from 0 to 10000000"},
        {{"--stage", "1", "--frames", "12x"}, 0, "--frames needs a frame count from 0 to 10000000"},
        {{"--stage", "1", "--every", "5"}, 0, "--every goes with --screenshots"},
        {{"--stage", "1", "--screenshots", "p", "--every", "0"}, 0, "--every needs a frame count from 1 to 1000000"},
        {{"--stage", "1", "--input"}, 0, "--input needs a value"},
        {{"--stage", "1", "--input", ""}, 0, "--input needs a value"},
        {{"--stage", "1", "--data", "a", "--data", "b"}, 0, "--data given twice"},
        {{"--stage", "1", "--until-clear", "--until-clear"}, 0, "--until-clear given twice"},
        {{"--stage", "1", "--fast"}, 0, "unknown argument '--fast'"},
    };
    for (const ArgsCase& c : cases) {
        std::vector<const char*> argv = {"quennary-replay"};
        argv.insert(argv.end(), c.args.begin(), c.args.end());
        ReplayOptions o;
        char error[256] = "";
        const int ok = replay_parse_args(static_cast<int>(argv.size()), argv.data(), &o, error, sizeof error);
        EXPECT_EQ(ok, c.ok) << c.message;
        if (!c.ok) {
            EXPECT_STREQ(error, c.message);
        }
    }
}

TEST(ReplayArgs, ValuesLandInTheirFields) {
    const char* argv[] = {"quennary-replay", "--stage-file", "f.dat", "--stage", "16", "--frames", "90",
                          "--until-clear", "--screenshots", "shots", "--every", "30"};
    ReplayOptions o;
    char error[256] = "";
    ASSERT_EQ(replay_parse_args(12, argv, &o, error, sizeof error), 1) << error;
    EXPECT_EQ(o.mode, ReplayFromStageFile);
    EXPECT_EQ(o.stage, 16);
    EXPECT_STREQ(o.stage_file, "f.dat");
    EXPECT_EQ(o.extra_frames, 90u);
    EXPECT_EQ(o.until_clear, 1);
    EXPECT_STREQ(o.screenshots, "shots");
    EXPECT_EQ(o.every, 30u);
    const char* plain[] = {"quennary-replay", "--stage-file", "f.dat"};
    ASSERT_EQ(replay_parse_args(3, plain, &o, error, sizeof error), 1);
    EXPECT_EQ(o.stage, 1);  // a stage file plays as stage 1 unless told otherwise
    EXPECT_EQ(o.every, 1u);
    EXPECT_EQ(o.data_dir, nullptr);
}

}  // namespace
