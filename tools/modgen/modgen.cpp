// modgen: composes the game's music as 4-channel "M.K." tracker modules with our own 8-bit instruments.
//   modgen OUTDIR                          writes OUTDIR/<stem>.mod for every track of the playlist
//   modgen --render TRACK OUT.wav [PASSES] renders a track through the game's own player, once or for
//                                          PASSES passes back to back (22050 Hz stereo WAV)
//   modgen --print TRACK                   prints the track's rows as a tracker shows them
// The scores live in scores.cpp, the composer that turns them into rows in compose.cpp, the
// instruments in instruments.cpp. The output is the same on every run.
#include "instruments.h"
#include "measure.h"
#include "module.h"
#include "scores.h"
#include "sound/sound.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

bool writeFile(const std::string &path, const std::string &bytes) {
    FILE *file = fopen(path.c_str(), "wb");
    if (!file)
        return false;
    bool ok = fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    return fclose(file) == 0 && ok;
}

void put32(std::string &out, uint32_t value) {
    for (int i = 0; i < 4; i++)
        out += char((value >> (8 * i)) & 0xFF);
}

int render(const std::string &module, int passes, const char *path) {
    Pcm pcm = renderThroughPlayer(module, passes);
    if (pcm.samples.empty()) {
        fprintf(stderr, "modgen: libmodplug rejects the module\n");
        return 1;
    }
    std::string wav = "RIFF";
    uint32_t bytes = uint32_t(pcm.samples.size() * 2);
    put32(wav, 36 + bytes);
    wav += "WAVEfmt ";
    put32(wav, 16);
    put32(wav, 1 | 2 << 16); // PCM, stereo
    put32(wav, SOUND_RATE);
    put32(wav, SOUND_RATE * 4);
    put32(wav, 4 | 16 << 16); // block align, bits
    wav += "data";
    put32(wav, bytes);
    for (int16_t s : pcm.samples) {
        wav += char(s & 0xFF);
        wav += char((s >> 8) & 0xFF);
    }
    if (!writeFile(path, wav)) {
        fprintf(stderr, "modgen: cannot write %s\n", path);
        return 1;
    }
    printf("%s: %.1f s\n", path, pcm.seconds());
    return 0;
}

// One row as a tracker shows it: note, instrument and effect of each channel.
void printSong(const Song &song) {
    static const char *const names[12] = {"C-", "C#", "D-", "D#", "E-", "F-",
                                          "F#", "G-", "G#", "A-", "A#", "B-"};
    for (size_t r = 0; r < song.rows.size(); r++) {
        if (r % ROWS == 0)
            printf("-- pattern row %zu, bar %zu\n", r, r / BAR + 1);
        printf("%02zu", r % ROWS);
        for (const Cell &c : song.rows[r]) {
            if (c.note >= 0)
                printf(" | %s%d %02d", names[c.note % 12], c.note / 12 + 2, c.sample);
            else
                printf(" | ... ..");
            if (c.effect || c.param)
                printf(" %X%02X", c.effect, c.param);
            else
                printf(" ...");
        }
        printf("\n");
    }
}

} // namespace

int main(int argc, char **argv) {
    auto instruments = makeInstruments();
    if ((argc == 4 || argc == 5) && std::string(argv[1]) == "--render") {
        int track = atoi(argv[2]), passes = argc == 5 ? atoi(argv[4]) : 1;
        if (track < 0 || track >= MUSIC_TRACKS || passes < 1) {
            fprintf(stderr, "modgen: tracks are 0 to %d, passes 1 or more\n", MUSIC_TRACKS - 1);
            return 1;
        }
        return render(writeModule(compose(track), instruments), passes, argv[3]);
    }
    if (argc == 3 && std::string(argv[1]) == "--print" && atoi(argv[2]) >= 0 &&
        atoi(argv[2]) < MUSIC_TRACKS) {
        printSong(compose(atoi(argv[2])));
        return 0;
    }
    if (argc != 2) {
        fprintf(stderr,
                "usage: modgen OUTDIR | modgen --render TRACK OUT.wav [PASSES] | modgen --print TRACK\n");
        return 1;
    }
    for (int track = 0; track < MUSIC_TRACKS; track++) {
        std::string path = std::string(argv[1]) + "/" + musix[track] + ".mod";
        if (!writeFile(path, writeModule(compose(track), instruments))) {
            fprintf(stderr, "modgen: cannot write %s\n", path.c_str());
            return 1;
        }
    }
    return 0;
}
