// The audio thread's music cost: one MP_HookMusic call (1024 stereo 16-bit frames, 4096 bytes) for
// every track, reported also as the share of the 46.4 ms the buffer lasts at 22050 Hz.
//   bench/sound_bench      (run from the build folder after a build has made data/music.zka)
#include "data/winzka.h"
#include "sound/modplayer.h"
#include "sound/sound.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <ctime>
#include <unistd.h>

static void hookOneBuffer(benchmark::State &state) {
    int track = int(state.range(0));
    ModPlugFile *module = loadMusic(track);
    if (!module) {
        state.SkipWithError("no data/music.zka: build the content first");
        return;
    }
    MP_VolumeMusic(128);
    MP_PlayMusic(module, -1);
    Uint8 stream[4096];
    timespec start, end;
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &start);
    for (auto _ : state) {
        MP_HookMusic(module, stream, sizeof stream);
        benchmark::DoNotOptimize(stream);
    }
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &end);
    stopMusic(module);
    // the audio thread's share of real time: CPU time per call over the 46.4 ms a buffer lasts
    double perCall =
        ((end.tv_sec - start.tv_sec) + (end.tv_nsec - start.tv_nsec) * 1e-9) / state.iterations();
    char label[64];
    snprintf(label, sizeof label, "%-16s %.3f %% of a buffer", musix[track],
             100.0 * perCall / (1024.0 / 22050.0));
    state.SetLabel(label);
}
BENCHMARK(hookOneBuffer)->DenseRange(0, MUSIC_TRACKS - 1)->Unit(benchmark::kMicrosecond);

int main(int argc, char **argv) {
    if (chdir(MIRABO_RUN_DIR) != 0)
        perror(MIRABO_RUN_DIR);
    mpFrequency = 22050;
    mpChannels = 2;
    openArchives();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    closeArchives();
    return 0;
}
