// The headless play harness: plays the real game from a script of input, in a child process.
//
// Usage:
//   Harness h("intro");                                   // a fresh run folder with data/ linked in
//   h.probe("screen", [] { return int64_t(currentScreen); });  // recorded at every tick
//   h.wait(10).tap(SDL_SCANCODE_SPACE);                   // space down at tick 10, up at tick 11
//   h.wait(200).snapshot("intro-logo").button(2).quit();  // artifacts/intro-logo.png at tick 212, ...
//   HarnessRun r = h.runGame({"-w"});                     // gameMain("mirabo", "-w") under that script
//   EXPECT_EQ(r.status, 0);
//   EXPECT_EQ(r.value("screen", 12), 0);
// or h.play([] { startUp(); initStuff(); run(0, 0, 0); return exitGame(); }) for any entry point.
//
// Ticks: the input is scripted by tick as script.h says (tick 0 is the first read of the run); the
// probes are recorded at every read, before the calls (snapshot, call, stop) of that tick.
// Time: the virtual clock advances only when the game sleeps, and each presented frame (flipScreen
// reports it through sysPresented) waits for the next 60 Hz refresh of a virtual display, so a paced
// screen loop runs 60 ticks per virtual second, as on a real display with vertical sync. Each tick's
// virtual milliseconds are in the trace.
// Isolation: every run is a fork of the test process: the game's globals start fresh, a fatal error or
// exit() ends only the child, and standard output and standard error are captured. The run folder holds a
// data/ folder linking every file of MIRABO_RUN_DIR/data, a link to its test.bin, and the files given with
// file(), which may replace those ("data/levels.bin" too); it is removed with the Harness. SDL runs with the
// dummy video and audio drivers. Snapshots go to the tests' artifacts folder.
#pragma once

#include "script.h"

#include <SDL.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

constexpr int HARNESS_STOPPED = 200;   // the run reached stop()
constexpr int HARNESS_TIMED_OUT = 201; // the run reached its tick limit
constexpr int HARNESS_LEAKED = 202;    // under the sanitizers: the run left memory nothing points to

struct HarnessTick {
    uint32_t ms;                 // virtual time at the read
    int frames;                  // frames presented so far
    std::vector<int64_t> values; // the probes, in the order they were added
};

struct HarnessRun {
    int status = -1; // exit status, HARNESS_STOPPED, HARNESS_TIMED_OUT, or -signal (under the sanitizer
                     // a crash other than abort() ends with status 1)
    std::string out; // what the game wrote to standard output
    std::string err; // what it wrote to standard error
    int frames = 0;  // frames presented
    std::vector<std::string> probes;
    std::vector<HarnessTick> ticks; // one per read of the input

    bool returned = false; // the run's body returned (not exit(), stop() or a crash)
    HarnessTick end;       // the probes after the body returned

    int64_t value(const char *probe, int tick) const; // fails the test when either is unknown
    int64_t last(const char *probe) const;            // after the body returned, else at the last tick
    // The first tick from `from` on at which the probe had this value, or -1.
    int firstTick(const char *probe, int64_t value, int from = 0) const;
};

struct Harness : ScriptBuilder<Harness> {
    explicit Harness(const char *name);
    ~Harness();
    Harness(const Harness &) = delete;
    Harness &operator=(const Harness &) = delete;

    // Work in the child right after the read at the cursor.
    Harness &snapshot(const char *name); // `screen` as artifacts/NAME.png
    Harness &stop();                     // the run ends with HARNESS_STOPPED

    // Recorded at every tick.
    Harness &probe(const char *name, std::function<int64_t()> read);

    // A file in the run folder before the run starts.
    Harness &file(const char *name, const std::vector<uint8_t> &bytes);
    std::string path(const char *name) const; // a file of the run folder, to look at after the run

    int maxTicks = 20000; // then HARNESS_TIMED_OUT
    int wallSeconds = 60; // then the child is killed (5 times as long under qemu, in cross builds)
    bool vsync = true;    // a presented frame waits for the next 60 Hz refresh
    const char *audioDriver = "dummy"; // SDL_AUDIODRIVER of the run: "none" for a machine without sound

    HarnessRun runGame(const std::vector<std::string> &args); // gameMain("mirabo", args...)
    HarnessRun play(std::function<int()> body);               // body's result is the exit status

  private:
    std::string name;
    std::string runDir;
    std::vector<std::string> probeNames;
    std::vector<std::function<int64_t()>> probeReads;
};

std::string harnessArtifactDir();                       // created on first use
int gameMainWith(const std::vector<std::string> &args); // gameMain("mirabo", args...)
// A probe: whether a screen past the intro runs, so that the menu or the test stage has set up the
// game's assets.
int64_t gameStarted();
