// The headless play harness: plays the real game from a script of input, in a child process.
#include "harness.h"

#include "gfx/gfx_sdl2.h"
#include "gfx/png.h"
#include "input/sys_virtual.h"
#include "main/runner.h"
#include "main/screen.h"
#include "main/startup.h"

#include <gtest/gtest.h>

#ifdef __SANITIZE_ADDRESS__
#include <sanitizer/lsan_interface.h>
#endif

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace child {
void flushAndExit(int status);
}

std::string harnessArtifactDir() {
    const std::string dir = MIRABO_ARTIFACT_DIR;
    std::filesystem::create_directories(dir);
    return dir;
}

int64_t HarnessRun::value(const char *probe, int tick) const {
    const auto named = std::find(probes.begin(), probes.end(), probe);
    if (named == probes.end()) {
        ADD_FAILURE() << "no probe named " << probe;
        return 0;
    }
    if (tick < 0 || tick >= int(ticks.size())) {
        ADD_FAILURE() << "the run ended after " << ticks.size() << " ticks, before tick " << tick;
        return 0;
    }
    return ticks[tick].values[named - probes.begin()];
}

int64_t HarnessRun::last(const char *probe) const {
    if (returned) {
        const auto named = std::find(probes.begin(), probes.end(), probe);
        if (named != probes.end())
            return end.values[named - probes.begin()];
    }
    return value(probe, int(ticks.size()) - 1);
}

int HarnessRun::firstTick(const char *probe, int64_t wanted, int from) const {
    const auto named = std::find(probes.begin(), probes.end(), probe);
    if (named == probes.end()) {
        ADD_FAILURE() << "no probe named " << probe;
        return -1;
    }
    for (int tick = std::max(from, 0); tick < int(ticks.size()); tick++)
        if (ticks[tick].values[named - probes.begin()] == wanted)
            return tick;
    return -1;
}

Harness::Harness(const char *runName) : name(runName) {
    std::string pattern = (std::filesystem::temp_directory_path() / ("mirabo-" + name + "-XXXXXX")).string();
    if (!mkdtemp(pattern.data())) {
        ADD_FAILURE() << "cannot make a run folder: " << strerror(errno);
        return;
    }
    runDir = pattern;
    // data/ is a folder of its own, so a test can add or replace a file in it.
    const std::filesystem::path data = std::filesystem::path(runDir) / "data";
    std::error_code ignored;
    std::filesystem::create_directory(data, ignored);
    for (const auto &entry :
         std::filesystem::directory_iterator(std::filesystem::path(MIRABO_RUN_DIR) / "data", ignored))
        std::filesystem::create_symlink(entry.path(), data / entry.path().filename(), ignored);
    // The test stage of the switch -t, made by the build next to the game; the per-user files
    // (configuration, hiscores, saved game) start absent.
    const std::filesystem::path testStage = std::filesystem::path(MIRABO_RUN_DIR) / "test.bin";
    if (std::filesystem::exists(testStage))
        std::filesystem::create_symlink(testStage, std::filesystem::path(runDir) / "test.bin", ignored);
}

Harness::~Harness() {
    std::error_code ignored;
    if (!runDir.empty())
        std::filesystem::remove_all(runDir, ignored);
}

Harness &Harness::snapshot(const char *shotName) {
    const std::string target = harnessArtifactDir() + "/" + shotName + ".png";
    return call([target] {
        if (!screen || !savePNG(screen, target.c_str()))
            fprintf(stderr, "harness: cannot save %s\n", target.c_str());
    });
}

Harness &Harness::stop() {
    return call([] { child::flushAndExit(HARNESS_STOPPED); });
}

Harness &Harness::probe(const char *probeName, std::function<int64_t()> read) {
    probeNames.emplace_back(probeName);
    probeReads.push_back(std::move(read));
    return *this;
}

Harness &Harness::file(const char *fileName, const std::vector<uint8_t> &bytes) {
    std::error_code ignored;
    std::filesystem::remove(path(fileName), ignored); // a linked data file is replaced, not written through
    std::ofstream out(path(fileName), std::ios::binary);
    out.write(reinterpret_cast<const char *>(bytes.data()), std::streamsize(bytes.size()));
    if (!out)
        ADD_FAILURE() << "cannot write " << path(fileName);
    return *this;
}

std::string Harness::path(const char *fileName) const { return runDir + "/" + fileName; }

int gameMainWith(const std::vector<std::string> &args) {
    std::vector<std::string> words{"mirabo"};
    words.insert(words.end(), args.begin(), args.end());
    std::vector<char *> argv;
    for (std::string &word : words)
        argv.push_back(word.data());
    argv.push_back(nullptr);
    return gameMain(int(words.size()), argv.data());
}

int64_t gameStarted() {
    const Screen *top = screenTop();
    return top && top != &introScreen;
}

HarnessRun Harness::runGame(const std::vector<std::string> &args) {
    return play([args] { return gameMainWith(args); });
}

// The child's side: the trace and the display, reached from the platform's observers.
namespace child {
const std::vector<std::function<int64_t()>> *probes;
FILE *trace;
int frames;
int maxTicks;
bool vsync;
ScriptFeed feed;

// A child leaves with _exit, past the sanitizer's own leak check at exit, so it checks here.
void flushAndExit(int status) {
    fflush(stdout);
    fflush(trace);
#ifdef __SANITIZE_ADDRESS__
    if (__lsan_do_recoverable_leak_check())
        _exit(HARNESS_LEAKED);
#endif
    _exit(status);
}

void record(const char *prefix) {
    fprintf(trace, "%s%u %d", prefix, sysTicks(), frames);
    for (const auto &read : *probes)
        fprintf(trace, " %lld", static_cast<long long>(read()));
    fputc('\n', trace);
}

// Every read is recorded; the run ends at its tick limit.
void onRead(int tick) {
    record("");
    if (tick + 1 >= maxTicks)
        flushAndExit(HARNESS_TIMED_OUT);
}

// A display refreshing at 60 Hz: presenting waits for the next refresh.
void onPresent() {
    frames++;
    if (!vsync)
        return;
    const uint32_t now = sysTicks();
    const uint32_t refresh = (now * 3 / 50 + 1) * 50;
    sysVirtualAdvance((refresh + 2) / 3 - now);
}
} // namespace child

HarnessRun Harness::play(std::function<int()> body) {
    HarnessRun result;
    result.probes = probeNames;
    if (runDir.empty())
        return result;
    const std::string outPath = path("stdout.txt"), errPath = path("stderr.txt"),
                      tracePath = path("trace.txt");

    fflush(stdout);
    fflush(stderr);
    const pid_t pid = fork();
    if (pid < 0) {
        ADD_FAILURE() << "fork: " << strerror(errno);
        return result;
    }
    if (pid == 0) {
        if (chdir(runDir.c_str()) != 0)
            _exit(127);
        const int out = open(outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        const int err = open(errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        if (out < 0 || err < 0 || dup2(out, STDOUT_FILENO) < 0 || dup2(err, STDERR_FILENO) < 0)
            _exit(127);
        close(out);
        close(err);
        setenv("SDL_VIDEODRIVER", "dummy", 1);
        setenv("SDL_AUDIODRIVER", audioDriver, 1);
        // SDL would wait out each refresh of its simulated display in real time; the virtual display
        // of onPresent keeps the time instead.
        setenv("SDL_RENDER_VSYNC", "0", 1);
        child::probes = &probeReads;
        child::trace = fopen(tracePath.c_str(), "w");
        child::frames = 0;
        child::maxTicks = maxTicks;
        child::vsync = vsync;
        if (!child::trace)
            _exit(127);
        sysVirtualReset(0);
        sysVirtualSetPresentObserver(child::onPresent);
        child::feed.start(sortedScript(steps), child::onRead);
        const int status = body();
        child::record("end ");
        child::flushAndExit(status);
    }

    int status = 0;
    const int limit = wallSeconds * MIRABO_HARNESS_WALL_SCALE;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(limit);
    while (waitpid(pid, &status, WNOHANG) == 0) {
        if (std::chrono::steady_clock::now() > deadline) {
            kill(pid, SIGKILL);
            waitpid(pid, &status, 0);
            ADD_FAILURE() << "the run took more than " << limit << " s and was killed";
            break;
        }
        usleep(2000);
    }
    result.status = WIFEXITED(status) ? WEXITSTATUS(status) : -WTERMSIG(status);

    for (auto [file, text] : {std::pair{&outPath, &result.out}, std::pair{&errPath, &result.err}}) {
        std::ifstream captured(*file);
        std::stringstream contents;
        contents << captured.rdbuf();
        *text = contents.str();
    }
    fputs(result.err.c_str(), stderr); // still in the test's log, as it was before it was captured

    std::ifstream traceFile(tracePath);
    std::string line;
    while (std::getline(traceFile, line)) {
        const bool end = line.rfind("end ", 0) == 0;
        std::istringstream fields(end ? line.substr(4) : line);
        HarnessTick tick;
        fields >> tick.ms >> tick.frames;
        int64_t value;
        while (fields >> value)
            tick.values.push_back(value);
        if (tick.values.size() != probeNames.size())
            break; // a line cut short by a crash
        if (end) {
            result.returned = true;
            result.end = std::move(tick);
        } else {
            result.ticks.push_back(std::move(tick));
        }
    }
    if (result.returned)
        result.frames = result.end.frames;
    else if (!result.ticks.empty())
        result.frames = result.ticks.back().frames;
    return result;
}
