// quennary-soak: plays the game through the replay runner with seeded
// random input for a given time and reports what went wrong. Each run is a
// fresh quennary-replay on a private copy of the data folder:
//   - every stage in turn from its start, with random keys;
//   - the whole program from the title with random keys (title, opening,
//     the first stage, retries, corpses burned and frozen);
//   - random stage layouts of the game's own tile types;
//   - the whole flow from the title through every stage to the result
//     screen and back, built from the stage solutions, when they are all
//     there;
//   - every tenth run a long one, whose memory is sampled as it plays.
// A run that exits other than 0, prints a sanitizer report, plays fewer
// frames than its script holds, or whose memory grows as it plays, is a
// fault. The last line says how it went:
//   soak: 412 runs, 5130220 frames, 0 faults; ...
// A sanitizer build's allocator keeps memory of its own that grows as new
// code runs (its quarantine, the allocation stacks it records), so memory
// is judged on a runner without sanitizers: --memory-replay names one for
// the long runs (a sanitizer-built soak judges no memory without it).
//
//   quennary-soak --replay PATH --data DIR --seconds N [--seed S]
//                 [--solutions DIR] [--work DIR] [--memory-replay PATH]
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "tests/soak/whole_flow.h"

namespace fs = std::filesystem;

namespace {

#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
constexpr bool built_with_sanitizer = true;
#else
constexpr bool built_with_sanitizer = false;
#endif

struct Options {
    std::string replay, data, solutions, work, memory_replay;
    double seconds = 60;
    uint32_t seed = 1;
};

// The keys of a script line, weighted towards what a player does: walk,
// jump, die, retry, pick and burn or freeze corpses, decide.
const char* const common_keys[] = {
    "-", "-", "Right", "Right", "Left", "Left", "Right+Space", "Left+Space", "Space", "Z",
    "C", "C", "V", "G", "H", "Up", "Down", "Enter", "X", "Right+Shift", "G+Up", "H+Down",
};
const char* const all_keys[] = {"Up", "Down", "Left", "Right", "Space", "Z", "Shift",
                                "Enter", "X", "Ctrl", "C", "V", "G", "H"};

// A long run: frames of play whose memory is sampled as it plays.
constexpr uint32_t long_run_frames = 150000;
constexpr int rss_sample_ms = 200;

struct Run {
    std::string what;
    std::vector<std::string> args;
    uint32_t frames = 0;  // what the script holds
    bool whole_flow = false;
    bool long_run = false;
};

struct Totals {
    long runs = 0, frames = 0, faults = 0, whole_flows = 0, whole_flows_done = 0;
    long long_runs = 0;
    double rss_first_mb = 0, rss_last_mb = 0, max_rss_mb = 0;
    double worst_growth_mb = 0;
};

std::string random_script(std::mt19937& rng, uint32_t frames, uint32_t* total) {
    std::ostringstream s;
    s << "# random keys, seed-made\n";
    uint32_t at = 0;
    while (at < frames) {
        uint32_t n = 1 + rng() % (rng() % 4 == 0 ? 240 : 40);
        if (at + n > frames) n = frames - at;
        std::string keys;
        if (rng() % 10 == 0) {
            for (const char* k : all_keys)
                if (rng() % 4 == 0) keys += std::string(keys.empty() ? "" : "+") + k;
            if (keys.empty()) keys = "-";
        } else {
            keys = common_keys[rng() % (sizeof common_keys / sizeof common_keys[0])];
        }
        s << n << ' ' << keys << '\n';
        at += n;
    }
    *total = at;
    return s.str();
}

// A stage of the game's own tile types: a floor, random blocks and
// hazards, a start and (mostly) a goal somewhere.
std::string random_stage(std::mt19937& rng) {
    std::string bytes(1200, '\0');
    for (int c = 0; c < 20; ++c)
        for (int r = 0; r < 15; ++r) {
            int type = 0;
            if (r == 14) type = 1 + (rng() % 6 == 0 ? 1 + int(rng() % 4) : 0);
            else if (rng() % 6 == 0) type = 1 + int(rng() % 5);
            bytes[size_t((c * 15 + r) * 4)] = char(type);
        }
    const int starts = int(rng() % 3);
    for (int i = 0; i < starts; ++i) bytes[size_t(((rng() % 20) * 15 + 2 + rng() % 12) * 4)] = 6;
    if (rng() % 5) bytes[size_t(((rng() % 20) * 15 + 2 + rng() % 12) * 4)] = 7;
    return bytes;
}

void write_file(const std::string& path, const std::string& text) {
    std::ofstream f(path, std::ios::binary);
    f << text;
}

std::string read_file(const std::string& path) {
    std::ifstream f(path, std::ios::binary);
    std::ostringstream s;
    s << f.rdbuf();
    return s.str();
}

Run next_run(const Options& o, long index, std::mt19937& rng) {
    Run run;
    const std::string script = o.work + "/script.txt";
    uint32_t frames = 0;
    const int kind = int(index % 24);
    const bool long_run = index % 10 == 9;
    const uint32_t wanted = long_run ? long_run_frames : 1500 + rng() % 12000;
    if (kind < 20) {
        run.what = "stage " + std::to_string(kind + 1);
        run.args = {"--stage", std::to_string(kind + 1)};
        write_file(script, random_script(rng, wanted, &frames));
    } else if (kind == 20 || kind == 21) {
        run.what = "from the title";
        run.args = {"--from-title"};
        std::string text = "60 -\n1 Enter\n" + random_script(rng, wanted, &frames);
        frames += 61;
        write_file(script, text);
    } else if (kind == 22) {
        run.what = "random stage layout";
        write_file(o.work + "/random_stage.dat", random_stage(rng));
        run.args = {"--stage-file", o.work + "/random_stage.dat"};
        write_file(script, random_script(rng, wanted, &frames));
    } else {
        const std::string flow = o.solutions.empty() ? "" : whole_flow::script(o.solutions, &frames);
        if (flow.empty()) return next_run(o, index + 1, rng);
        run.what = "whole flow from the title";
        run.whole_flow = true;
        run.args = {"--from-title"};
        write_file(script, flow);
    }
    run.args.push_back("--input");
    run.args.push_back(script);
    run.frames = frames;
    run.long_run = long_run;
    return run;
}

double rss_mb(pid_t pid) {
    std::ifstream f("/proc/" + std::to_string(pid) + "/status");
    std::string line;
    while (std::getline(f, line))
        if (line.rfind("VmRSS:", 0) == 0) return std::atof(line.c_str() + 6) / 1024.0;
    return 0;
}

// The private data folder: the game's data with a ranking of our own.
void make_data_copy(const Options& o, const std::string& to) {
    fs::remove_all(to);
    fs::create_directories(to);
    for (const char* sub : {"res", "stage"})
        if (fs::exists(o.data + "/" + sub)) fs::copy(o.data + "/" + sub, to + "/" + sub, fs::copy_options::recursive);
    fs::create_directories(to + "/ranking");
    const char zero[4] = {0, 0, 0, 0};
    for (int place = 1; place <= 10; ++place)
        write_file(to + "/ranking/ranking" + std::to_string(place) + ".txt", std::string(zero, 4));
}

// The ranking's first place in the private data folder.
int32_t first_place(const std::string& data) {
    const std::string b = read_file(data + "/ranking/ranking1.txt");
    if (b.size() < 4) return 0;
    std::string v;
    for (size_t i = 0; i < b.size() && v.size() < 4; ++i) {
        if (b[i] == 0x0D && i + 1 < b.size() && b[i + 1] == 0x0A) continue;
        v.push_back(b[i]);
    }
    return int32_t(uint32_t(uint8_t(v[0])) | uint32_t(uint8_t(v[1])) << 8 | uint32_t(uint8_t(v[2])) << 16 |
                   uint32_t(uint8_t(v[3])) << 24);
}

bool has_sanitizer_report(const std::string& text) {
    for (const char* mark : {"ERROR: AddressSanitizer", "ERROR: LeakSanitizer", "runtime error:",
                             "WARNING: ThreadSanitizer", "ERROR: ThreadSanitizer"})
        if (text.find(mark) != std::string::npos) return true;
    return false;
}

// Runs one replay; 1 when it went well.
int play(const Options& o, const Run& run, const std::string& data, Totals* t, std::FILE* log) {
    const std::string out = o.work + "/out.txt", err = o.work + "/err.txt";
    // Memory is sampled on long runs, by a runner whose allocator is the
    // game's own.
    const bool memory_run = run.long_run && (!o.memory_replay.empty() || !built_with_sanitizer);
    const std::string& runner = run.long_run && !o.memory_replay.empty() ? o.memory_replay : o.replay;
    std::vector<std::string> args = {runner, "--data", data};
    args.insert(args.end(), run.args.begin(), run.args.end());
    std::vector<char*> argv;
    for (std::string& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);

    std::fflush(stdout);
    const pid_t child = fork();
    if (child < 0) return 0;
    if (child == 0) {
        if (!std::freopen(out.c_str(), "w", stdout) || !std::freopen(err.c_str(), "w", stderr)) _exit(97);
        // In a sanitizer build, freed memory waits in a quarantine (256 MB
        // at most) before it is used again, which looks like growth: kept
        // small here, so what grows is what the game keeps.
        std::string asan = getenv("ASAN_OPTIONS") ? getenv("ASAN_OPTIONS") : "";
        asan += std::string(asan.empty() ? "" : ":") + "quarantine_size_mb=2:detect_leaks=1";
        setenv("ASAN_OPTIONS", asan.c_str(), 1);
        execv(argv[0], argv.data());
        _exit(98);
    }
    std::vector<double> samples;
    int status = 0;
    rusage usage = {};
    for (;;) {
        const pid_t done = wait4(child, &status, WNOHANG, &usage);
        if (done == child) break;
        const double mb = rss_mb(child);
        if (mb > 0) samples.push_back(mb);
        std::this_thread::sleep_for(std::chrono::milliseconds(rss_sample_ms));
    }
    const std::string output = read_file(out), errors = read_file(err);
    std::string problem;
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
        problem = WIFSIGNALED(status) ? "killed by signal " + std::to_string(WTERMSIG(status))
                                      : "exit " + std::to_string(WEXITSTATUS(status));
    if (has_sanitizer_report(errors) || has_sanitizer_report(output)) problem += " sanitizer report";
    uint32_t frame = 0;
    int32_t score = 0;
    const size_t at = output.rfind("cleared=");
    if (at == std::string::npos || std::sscanf(output.c_str() + at, "cleared=%*d stage=%*d frame=%u corpses=%*d stars=%*d score=%d",
                                               &frame, &score) != 2)
        problem += " no summary";
    else if (frame != run.frames)
        problem += " played " + std::to_string(frame) + " of " + std::to_string(run.frames) + " frames";

    const double max_rss = double(usage.ru_maxrss) / 1024.0;
    t->max_rss_mb = std::max(t->max_rss_mb, max_rss);
    // A long run's memory, after its first fifth (loading, first stage):
    // the highest sample of its last fifth against the middle of its second.
    if (memory_run && samples.size() >= 10) {
        const size_t fifth = samples.size() / 5;
        std::vector<double> early(samples.begin() + long(fifth), samples.begin() + long(2 * fifth));
        std::sort(early.begin(), early.end());
        const double settled = early[early.size() / 2];
        const double late = *std::max_element(samples.end() - long(fifth), samples.end());
        t->long_runs += 1;
        if (t->long_runs == 1) t->rss_first_mb = settled;
        t->rss_last_mb = late;
        t->worst_growth_mb = std::max(t->worst_growth_mb, late - settled);
        if (late > settled * 1.05 + 2.0) problem += " memory grew from " + std::to_string(settled) + " to " + std::to_string(late) + " MB";
    }
    if (run.whole_flow) {
        t->whole_flows += 1;
        // The run's score entered the ranking: every stage was cleared
        // and the result screen saved it.
        if (score > 0 && first_place(data) == score) t->whole_flows_done += 1;
    }
    t->runs += 1;
    t->frames += frame;
    if (!problem.empty()) {
        t->faults += 1;
        std::fprintf(log, "FAULT in run %ld (%s):%s\n", t->runs, run.what.c_str(), problem.c_str());
        std::fprintf(log, "  command:");
        for (const std::string& a : args) std::fprintf(log, " %s", a.c_str());
        std::fprintf(log, "\n%s\n", errors.substr(0, 4000).c_str());
        // Keep what reproduces it.
        const std::string keep = o.work + "/fault_" + std::to_string(t->runs);
        fs::create_directories(keep);
        fs::copy_file(o.work + "/script.txt", keep + "/script.txt", fs::copy_options::overwrite_existing);
        write_file(keep + "/stderr.txt", errors);
        if (fs::exists(o.work + "/random_stage.dat"))
            fs::copy_file(o.work + "/random_stage.dat", keep + "/random_stage.dat", fs::copy_options::overwrite_existing);
        return 0;
    }
    return 1;
}

int usage_error() {
    std::fprintf(stderr,
                 "usage: quennary-soak --replay PATH --data DIR --seconds N [--seed S] [--solutions DIR] [--work DIR]\n"
                 "                     [--memory-replay PATH]\n");
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    Options o;
    for (int i = 1; i + 1 < argc; i += 2) {
        const std::string a = argv[i], v = argv[i + 1];
        if (a == "--replay") o.replay = v;
        else if (a == "--data") o.data = v;
        else if (a == "--seconds") o.seconds = std::atof(v.c_str());
        else if (a == "--seed") o.seed = uint32_t(std::strtoul(v.c_str(), nullptr, 10));
        else if (a == "--solutions") o.solutions = v;
        else if (a == "--work") o.work = v;
        else if (a == "--memory-replay") o.memory_replay = v;
        else return usage_error();
    }
    if (argc % 2 == 0 || o.replay.empty() || o.data.empty() || o.seconds <= 0) return usage_error();
    if (o.work.empty()) {
        char pattern[] = "/tmp/quennary-soak-XXXXXX";
        if (!mkdtemp(pattern)) return 1;
        o.work = pattern;
    }
    fs::create_directories(o.work);
    o.replay = fs::absolute(o.replay).string();
    if (!o.memory_replay.empty()) o.memory_replay = fs::absolute(o.memory_replay).string();
    o.data = fs::absolute(o.data).string();
    const std::string data = o.work + "/data";
    make_data_copy(o, data);

    std::mt19937 rng(o.seed);
    Totals t;
    const auto start = std::chrono::steady_clock::now();
    auto elapsed = [&] { return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count(); };
    double next_report = 60;
    for (long index = 0; elapsed() < o.seconds; ++index) {
        const Run run = next_run(o, index, rng);
        play(o, run, data, &t, stdout);
        if (elapsed() > next_report) {
            std::printf("soak: %.0f s, %ld runs, %ld frames, %ld faults\n", elapsed(), t.runs, t.frames, t.faults);
            std::fflush(stdout);
            next_report += 60;
        }
    }
    std::printf(
        "soak: %ld runs, %ld frames, %ld faults in %.0f s; whole flows from the title %ld (%ld reached the "
        "ranking); memory of %ld long runs: %.1f MB settled at first, %.1f MB at the end of the last, worst "
        "growth in one run %.1f MB; largest run %.1f MB\n",
        t.runs, t.frames, t.faults, elapsed(), t.whole_flows, t.whole_flows_done, t.long_runs, t.rss_first_mb,
        t.rss_last_mb, t.worst_growth_mb, t.max_rss_mb);
    if (t.faults == 0) {
        std::error_code ignored;
        fs::remove_all(o.work + "/data", ignored);
    }
    return t.faults == 0 ? 0 : 1;
}
