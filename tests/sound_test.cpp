// The generated sound content as the game loads it (effects through the mixer on SDL's dummy audio
// driver, modules through libmodplug), the effect channels, and the fatal errors of a bad sound archive.
#include "data/winzka.h"
#include "sound/modplayer.h"
#include "sound/sound.h"
#include "temp_folder.h"
#include "zka_writer.h"

#include <SDL.h>
#include <SDL_mixer.h>
#include <libmodplug/modplug.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <sys/stat.h>

namespace {

constexpr int RATE = 22050;

struct Pcm {
    std::vector<int16_t> samples;
    int channels = 0;
    double seconds() const { return double(samples.size()) / channels / RATE; }
};

// The samples of a 16-bit PCM WAV file at our rate; empty when the file is anything else.
Pcm parseWav(const uint8_t *bytes, uint32_t size) {
    Pcm pcm;
    auto le16 = [&](uint32_t at) { return uint32_t(bytes[at] | bytes[at + 1] << 8); };
    auto le32 = [&](uint32_t at) { return le16(at) | le16(at + 2) << 16; };
    if (size < 44 || memcmp(bytes, "RIFF", 4) != 0 || memcmp(bytes + 8, "WAVEfmt ", 8) != 0)
        return pcm;
    if (le16(20) != 1 || le32(24) != RATE || le16(34) != 16 || memcmp(bytes + 36, "data", 4) != 0)
        return pcm;
    uint32_t length = std::min(le32(40), size - 44) / 2;
    pcm.channels = int(le16(22));
    for (uint32_t i = 0; i < length; i++)
        pcm.samples.push_back(int16_t(le16(44 + 2 * i)));
    return pcm;
}

double peakOf(const int16_t *samples, size_t count) {
    int peak = 0;
    for (size_t i = 0; i < count; i++)
        peak = std::max(peak, std::abs(int(samples[i])));
    return peak / 32768.0;
}

// Loudness of the part that sounds: RMS over the 10 ms windows within 30 dB of the loudest.
double activeRms(const std::vector<int16_t> &samples) {
    const size_t window = RATE / 100;
    std::vector<double> powers;
    for (size_t start = 0; start + window <= samples.size(); start += window) {
        double sum = 0.0;
        for (size_t i = start; i < start + window; i++)
            sum += double(samples[i]) * samples[i];
        powers.push_back(sum / window / (32768.0 * 32768.0));
    }
    double loudest = *std::max_element(powers.begin(), powers.end()), sum = 0.0;
    int count = 0;
    for (double p : powers)
        if (p >= loudest * 0.001) {
            sum += p;
            count++;
        }
    return std::sqrt(sum / count);
}

// Renders a module once through, as the player would with the library's own looping off.
Pcm renderOnce(ModPlugFile *module) {
    Pcm pcm{{}, 2};
    int16_t buffer[2048];
    int got;
    ModPlug_Seek(module, 0);
    while ((got = ModPlug_Read(module, buffer, sizeof buffer)) > 0 && pcm.seconds() < 600)
        pcm.samples.insert(pcm.samples.end(), buffer, buffer + got / 2);
    return pcm;
}

class Sound : public testing::Test {
  protected:
    static void SetUpTestSuite() {
        ASSERT_EQ(chdir(MIRABO_RUN_DIR), 0);
        ASSERT_EQ(SDL_Init(SDL_INIT_AUDIO), 0) << SDL_GetError();
        ASSERT_EQ(MP_OpenAudio(22050, AUDIO_S16LSB, 2, 1024), 0) << SDL_GetError();
        Mix_AllocateChannels(16);
        openArchives();
    }
    static void TearDownTestSuite() {
        closeArchives();
        Mix_CloseAudio();
        SDL_Quit();
    }
};

TEST_F(Sound, EveryEffectDecodesAndIsShortCleanAndLevelled) {
    std::vector<double> loudness;
    for (int i = 0; i < SFX_COUNT; i++) {
        SCOPED_TRACE(snd_name[i]);
        uint32_t size = 0;
        uint8_t *bytes = loadZKAFile(ZKA_SOUND, snd_name[i], "wav", &size);
        ASSERT_NE(bytes, nullptr);
        Mix_Chunk *chunk = Mix_LoadWAV_RW(SDL_RWFromConstMem(bytes, int(size)), 1);
        EXPECT_NE(chunk, nullptr) << Mix_GetError();
        Mix_FreeChunk(chunk);
        Pcm pcm = parseWav(bytes, size);
        free(bytes);
        ASSERT_EQ(pcm.channels, 1);
        ASSERT_GT(pcm.samples.size(), 500u);
        EXPECT_LT(pcm.seconds(), i == SFX_TIMER_LAST_10_SEC ? 1.1 : 2.0);
        // peaks near -3 dBFS and never at full scale
        double peak = peakOf(pcm.samples.data(), pcm.samples.size());
        EXPECT_LT(peak, 0.72);
        EXPECT_GT(peak, 0.3);
        // a few milliseconds of fade at both ends: no click when the effect starts or stops
        EXPECT_LT(peakOf(pcm.samples.data(), RATE / 5000), 0.05);
        EXPECT_LT(peakOf(pcm.samples.data() + pcm.samples.size() - RATE / 500, RATE / 500), 0.02);
        loudness.push_back(20 * std::log10(activeRms(pcm.samples)));
    }
    std::vector<double> sorted = loudness;
    std::sort(sorted.begin(), sorted.end());
    double median = sorted[sorted.size() / 2];
    for (int i = 0; i < SFX_COUNT; i++)
        EXPECT_NEAR(loudness[i], median, 3.0) << snd_name[i];
}

static std::vector<int> heard;
static void listen(int index) { heard.push_back(index); }

TEST_F(Sound, EffectsPlayOnSixteenChannels) {
    loadSFX();
    heard.clear();
    sfxListener = listen;
    std::vector<int> channels;
    for (int i = 0; i < 16; i++)
        channels.push_back(playSFX(SFX_KAVRIN_SLEEP)); // 1.5 s: none ends during the loop
    EXPECT_EQ(playSFX(SFX_KAVRIN_SLEEP), -1);          // all sixteen busy: dropped
    std::sort(channels.begin(), channels.end());
    for (int i = 0; i < 16; i++)
        EXPECT_EQ(channels[i], i);
    Mix_HaltChannel(-1);
    EXPECT_GE(playSFX(SFX_MENU_CONTROL), 0);
    EXPECT_EQ(playSFX(SFX_COUNT), -1);
    EXPECT_EQ(heard.size(), 19u);
    EXPECT_EQ(heard.back(), SFX_COUNT);
    Mix_HaltChannel(-1);
    for (int i = 0; i < SFX_COUNT; i++)
        freeSFX(i);
    EXPECT_EQ(playSFX(SFX_MENU_CONTROL), -1);
    sfxListener = nullptr;
}

TEST_F(Sound, EveryTrackLoadsAndPlaysItsLength) {
    for (int track = 0; track < MUSIC_TRACKS; track++) {
        SCOPED_TRACE(musix[track]);
        ModPlugFile *module = loadMusic(track);
        ASSERT_NE(module, nullptr);
        EXPECT_EQ(mpLoops, -1);
        Pcm pcm = renderOnce(module);
        MP_FreeMusic(module);
        if (track == MUSIC_JINGLE) {
            EXPECT_GE(pcm.seconds(), 2.0);
            EXPECT_LE(pcm.seconds(), 4.0);
        } else if (track == MUSIC_LEVEL_COMPLETE) {
            EXPECT_GE(pcm.seconds(), 3.0);
            EXPECT_LE(pcm.seconds(), 5.0);
        } else {
            EXPECT_GE(pcm.seconds(), 55.0); // about a minute or more before it repeats
            EXPECT_LE(pcm.seconds(), 180.0);
        }
        // every second of the tune sounds, and nothing clips
        for (size_t second = 0; second + 1 < size_t(pcm.seconds()); second++) {
            std::vector<int16_t> part(pcm.samples.begin() + second * 2 * RATE,
                                      pcm.samples.begin() + (second + 1) * 2 * RATE);
            ASSERT_GT(activeRms(part), 0.01) << "second " << second;
        }
        EXPECT_LT(peakOf(pcm.samples.data(), pcm.samples.size()), 0.99);
    }
}

// The short pieces end on a held chord that fades out: loud just before the end, quiet at the end.
TEST_F(Sound, ShortPiecesEndOnAFadedHeldChord) {
    for (int track : {MUSIC_LEVEL_COMPLETE, MUSIC_JINGLE}) {
        SCOPED_TRACE(musix[track]);
        ModPlugFile *module = loadMusic(track);
        ASSERT_NE(module, nullptr);
        Pcm pcm = renderOnce(module);
        MP_FreeMusic(module);
        size_t end = pcm.samples.size(), tenth = 2 * RATE / 10;
        ASSERT_GT(end, 10 * tenth);
        std::vector<int16_t> held(pcm.samples.end() - 6 * tenth, pcm.samples.end() - 5 * tenth);
        EXPECT_GT(activeRms(held), 0.05);
        EXPECT_LT(peakOf(pcm.samples.data() + end - 200, 200), 0.05);
    }
}

// A bad sound archive ends the game with the message and the effect's name (error() writes to
// standard output, which the child sends to standard error for the check).
class SoundArchive : public Sound {
  protected:
    static void loadFrom(const std::vector<ZkaMember> &members) {
        char folder[] = "/tmp/mirabo_sound_XXXXXX";
        if (!mkdtemp(folder) || chdir(folder) != 0 || mkdir("data", 0755) != 0)
            abort();
        std::vector<uint8_t> archive = makeZka(members);
        writeBytes("data/sound.zka", archive);
        closeArchives();
        openArchives();
        loadSFX();
    }
};

TEST_F(SoundArchive, MissingOrRejectedEffectIsFatal) {
    GTEST_FLAG_SET(death_test_style, "threadsafe"); // the audio thread runs beside the test
    EXPECT_EXIT(loadFrom({{"menu_control.wav", {1, 2, 3}}}), testing::ExitedWithCode(1),
                "Can't load sound file: fruits_disappear.wav in \\./data/sound.zka");
    EXPECT_EXIT(loadFrom({{"fruits_disappear.wav", std::vector<uint8_t>(100, 7)}}),
                testing::ExitedWithCode(1), "Unable to load sound: ");
}

} // namespace
