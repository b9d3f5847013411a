// soundcheck: measures the generated music and effects as the game plays them.
//   soundcheck RUN_DIR     reads RUN_DIR/data/music.zka and sound.zka and prints two tables
// Every track is rendered through the game's own player for two passes: its length up to the loop,
// peak, RMS, K-weighted loudness, the left/right balance below 150 Hz, the distinct patterns of the
// module and the seam where the second pass starts. Every effect is measured at the default effect
// volume (15 %, mixer volume 19 of 128) against the music at its default, full volume: the K-weighted
// loudness of its loudest 50 ms against the music's loudness over a whole pass, and, octave by
// in the octave that carries most of its energy, its loudest 50 ms against the music's mean level
// there: where it rises above the music in that octave, it is heard over it.
#include "measure.h"

#include "data/winzka.h"
#include "sound/sound.h"

#include <array>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <set>
#include <string>
#include <unistd.h>

namespace {

std::string member(int archive, const char *name, const char *ext) {
    uint32_t size = 0;
    uint8_t *bytes = loadZKAFile(archive, name, ext, &size);
    std::string data = bytes ? std::string(reinterpret_cast<char *>(bytes), size) : "";
    free(bytes);
    return data;
}

// The distinct patterns an M.K. module's order list plays, and the length of that list.
void countPatterns(const std::string &module, int *distinct, int *orders) {
    constexpr size_t ORDERS_AT = 952, PATTERNS_AT = 1084, PATTERN_BYTES = 64 * 4 * 4;
    *orders = module.size() > ORDERS_AT ? uint8_t(module[950]) : 0;
    std::set<std::string> seen;
    for (int i = 0; i < *orders; i++) {
        size_t at = PATTERNS_AT + uint8_t(module[ORDERS_AT + i]) * PATTERN_BYTES;
        if (at + PATTERN_BYTES <= module.size())
            seen.insert(module.substr(at, PATTERN_BYTES));
    }
    *distinct = int(seen.size());
}

// Pcm of a 16-bit mono WAV as our effect generator writes it (44-byte header).
Pcm wavSamples(const std::string &wav) {
    Pcm pcm;
    pcm.channels = 1;
    for (size_t at = 44; at + 1 < wav.size(); at += 2)
        pcm.samples.push_back(int16_t(uint8_t(wav[at]) | uint8_t(wav[at + 1]) << 8));
    return pcm;
}

} // namespace

int main(int argc, char **argv) {
    if (argc != 2 || chdir(argv[1]) != 0) {
        fprintf(stderr, "usage: soundcheck RUN_DIR\n");
        return 1;
    }
    openArchives();
    printf("%-16s %7s %7s %7s %7s %7s %9s %7s %7s %8s\n", "track", "loop s", "peak", "RMS", "LUFS", "low L-R",
           "patterns", "gap ms", "jump", "largest");
    double musicSum = 0.0;
    std::array<double, OCTAVES> musicBands{};
    for (int track = 0; track < MUSIC_TRACKS; track++) {
        std::string module = member(ZKA_MUSIC, musix[track], "mod");
        Pcm once = renderThroughPlayer(module, 1);
        if (once.samples.empty()) {
            printf("%-16s missing or rejected\n", musix[track]);
            continue;
        }
        bool loops = track < MUSIC_TITLES;
        Seam seam = loops ? findSeam(renderThroughPlayer(module, 2), passFrames(module)) : Seam{};
        int distinct = 0, orders = 0;
        countPatterns(module, &distinct, &orders);
        double lufs = loudness(once, false);
        if (loops) {
            musicSum += lufs;
            auto bands = octaveLevels(once, false);
            for (int b = 0; b < OCTAVES; b++)
                musicBands[b] += bands[b] / MUSIC_TITLES;
        }
        printf("%-16s %7.2f %7.1f %7.1f %7.1f %7.2f %5d/%-3d", musix[track],
               seam.frame ? double(seam.frame) / SOUND_RATE : once.seconds(), peakDb(once), rmsDb(once), lufs,
               lowBalanceDb(once), distinct, orders);
        if (loops)
            printf(" %7.1f %7.3f %8.3f", seam.gapMs, seam.jump, seam.largestStep);
        printf("%s\n", loops && !seam.frame ? "  (no second pass found)" : "");
    }
    double music = musicSum / MUSIC_TITLES;
    printf("\nmusic at 100 %%: %.1f LUFS on average over tracks 0 to %d; by octave (Hz):", music,
           MUSIC_TITLES - 1);
    for (int b = 0; b < OCTAVES; b++)
        printf(" %g %.1f dB%s", OCTAVE_CENTRES[b], musicBands[b], b + 1 < OCTAVES ? "," : "\n\n");
    const double gain = mixerVolume(15) / 128.0;
    printf("%-18s %6s %6s %6s %8s %9s %8s %s\n", "effect at 15 %", "length", "peak", "RMS", "act. RMS",
           "LUFS 50ms", "vs music", "over the music in its main octave");
    for (int i = 0; i < SFX_COUNT; i++) {
        Pcm effect = scaled(wavSamples(member(ZKA_SOUND, snd_name[i], "wav")), gain, 2);
        if (effect.samples.empty()) {
            printf("%-18s missing\n", snd_name[i]);
            continue;
        }
        double lufs = shortLoudness(effect);
        auto bands = octaveLevels(effect, true);
        int best = 0; // the octave that carries most of the effect
        for (int b = 1; b < OCTAVES; b++)
            best = bands[b] > bands[best] ? b : best;
        printf("%-18s %6.2f %6.1f %6.1f %8.1f %9.1f %+6.1f dB %+6.1f dB at %g Hz\n", snd_name[i],
               effect.seconds(), peakDb(effect), rmsDb(effect), activeRmsDb(effect), lufs, lufs - music,
               bands[best] - musicBands[best], OCTAVE_CENTRES[best]);
    }
    closeArchives();
    return 0;
}
