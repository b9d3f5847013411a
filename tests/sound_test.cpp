// The generated sound content as the game loads it (effects through the mixer on SDL's dummy audio
// driver, modules through the game's own player), the effect channels, and the fatal errors of a bad
// sound archive.
#include "data/winzka.h"
#include "measure.h"
#include "sound/modplayer.h"
#include "sound/sound.h"
#include "temp_folder.h"
#include "zka_writer.h"

#include <SDL.h>
#include <SDL_mixer.h>
#include <libmodplug/modplug.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <sys/stat.h>

namespace {

constexpr int RATE = SOUND_RATE;

// The samples of a 16-bit PCM WAV file at our rate; empty when the file is anything else.
Pcm parseWav(const uint8_t *bytes, uint32_t size) {
    Pcm pcm;
    pcm.channels = 0;
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

// A stretch of a sound, from frame first for count frames.
Pcm part(const Pcm &pcm, size_t first, size_t count) {
    Pcm out;
    out.channels = pcm.channels;
    auto from = pcm.samples.begin() + std::min(first, pcm.frames()) * pcm.channels;
    out.samples.assign(from,
                       from + std::min(count, pcm.frames() - std::min(first, pcm.frames())) * pcm.channels);
    return out;
}

// The mean square of each 10 ms of a mono sound.
std::vector<double> windowPowers(const Pcm &pcm) {
    std::vector<double> powers;
    for (size_t start = 0; start + RATE / 100 <= pcm.frames(); start += RATE / 100) {
        double sum = 0.0;
        for (size_t i = start; i < start + RATE / 100; i++)
            sum += double(pcm.samples[i]) * pcm.samples[i];
        powers.push_back(sum / (RATE / 100));
    }
    return powers;
}

// A flying bird plays its wing beat every 0.3 s for seconds on end, so it is made 6 dB softer than
// the other effects.
double softer(int effect) { return effect == SFX_BIRD_FLYING ? 6.0 : 0.0; }

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

    static Pcm effect(int index) {
        uint32_t size = 0;
        uint8_t *bytes = loadZKAFile(ZKA_SOUND, snd_name[index], "wav", &size);
        Pcm pcm = bytes ? parseWav(bytes, size) : Pcm{};
        free(bytes);
        return pcm;
    }
    static std::string module(int track) {
        uint32_t size = 0;
        uint8_t *bytes = loadZKAFile(ZKA_MUSIC, musix[track], "mod", &size);
        std::string data = bytes ? std::string(reinterpret_cast<char *>(bytes), size) : "";
        free(bytes);
        return data;
    }
};

// Every effect decodes, is short, fades in and out without a click, peaks just under -3 dBFS, rings
// out before its end fade (no decay cut off), and is as loud as the others over its loudest 50 ms
// (the wing beat 6 dB softer).
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
        free(bytes);
        Pcm pcm = effect(i);
        ASSERT_EQ(pcm.channels, 1);
        ASSERT_GT(pcm.frames(), 500u);
        EXPECT_LT(pcm.seconds(), 2.0);
        EXPECT_LT(peakDb(pcm), -2.99);
        EXPECT_GT(peakDb(pcm), -4.0 - softer(i));
        EXPECT_LT(peakDb(part(pcm, 0, RATE / 5000)), -26.0);
        EXPECT_LT(peakDb(part(pcm, pcm.frames() - RATE / 500, RATE / 500)), -34.0);
        // the 10 ms before the end fade of 8 ms lie 30 dB or more below the loudest 10 ms
        std::vector<double> powers = windowPowers(part(pcm, 0, pcm.frames() - RATE * 8 / 1000));
        double loudest = *std::max_element(powers.begin(), powers.end());
        EXPECT_LT(10.0 * std::log10(powers.back() / loudest), -30.0);
        loudness.push_back(shortLoudness(pcm) + softer(i));
    }
    std::vector<double> sorted = loudness;
    std::sort(sorted.begin(), sorted.end());
    double median = sorted[sorted.size() / 2];
    for (int i = 0; i < SFX_COUNT; i++)
        EXPECT_NEAR(loudness[i], median, 2.5) << snd_name[i];
}

// The stage plays the clock every 67 ticks (1.12 s): the tock comes halfway, and the sound is over
// before the next tick.
TEST_F(Sound, TimerTicksAndTocksEvenly) {
    Pcm pcm = effect(SFX_TIMER_LAST_10_SEC);
    const double repeat = 67.0 / 60.0;
    EXPECT_LT(pcm.seconds(), repeat);
    std::vector<double> powers = windowPowers(pcm);
    // the loudest 10 ms in the first and in the second half of the repeat
    size_t half = size_t(repeat / 2 * 100);
    ASSERT_GT(powers.size(), half);
    size_t tick = size_t(std::max_element(powers.begin(), powers.begin() + half) - powers.begin());
    size_t tock = size_t(std::max_element(powers.begin() + half - 5, powers.end()) - powers.begin());
    EXPECT_NEAR((tock - tick) / 100.0, repeat / 2, 0.015);
}

// The snore rattles at 100 to 150 Hz, which small speakers still play: the strongest period in the
// envelope of the in-breath.
TEST_F(Sound, SnoreRattlesBetween100And150Hz) {
    Pcm pcm = effect(SFX_KAVRIN_SLEEP);
    ASSERT_GT(pcm.seconds(), 0.75);
    std::vector<double> envelope;
    double smooth = 0.0;
    for (size_t i = 0; i < size_t(0.75 * RATE); i++) {
        smooth += 0.2 * (std::fabs(double(pcm.samples[i])) - smooth);
        envelope.push_back(smooth);
    }
    double mean = 0.0;
    for (double e : envelope)
        mean += e / envelope.size();
    int bestLag = 0;
    double best = -1.0;
    for (int lag = RATE / 400; lag <= RATE / 40; lag++) {
        double sum = 0.0;
        for (size_t i = size_t(0.2 * RATE); i + lag < size_t(0.55 * RATE); i++)
            sum += (envelope[i] - mean) * (envelope[i + lag] - mean);
        if (sum > best)
            best = sum, bestLag = lag;
    }
    double frequency = double(RATE) / bestLag;
    EXPECT_GE(frequency, 100.0);
    EXPECT_LE(frequency, 150.0);
}

// At the default volumes (effects 15 %, music 100 %) every effect's loudest 50 ms comes within 8 dB of
// the music's loudness, and in the octave that carries most of it the effect is no quieter than the
// music by more than 1.5 dB, so it is heard over it (the wing beat by design 6 dB less).
TEST_F(Sound, EffectsHoldTheirOwnAgainstTheMusic) {
    double music = 0.0;
    std::array<double, OCTAVES> musicBands{};
    for (int track = 0; track < MUSIC_TITLES; track++) {
        Pcm pass = renderThroughPlayer(module(track), 1);
        ASSERT_FALSE(pass.samples.empty()) << musix[track];
        music += loudness(pass, false) / MUSIC_TITLES;
        auto bands = octaveLevels(pass, false);
        for (int b = 0; b < OCTAVES; b++)
            musicBands[b] += bands[b] / MUSIC_TITLES;
    }
    for (int i = 0; i < SFX_COUNT; i++) {
        Pcm played = scaled(effect(i), mixerVolume(15) / 128.0, 2);
        EXPECT_GT(shortLoudness(played) + softer(i), music - 8.0) << snd_name[i];
        auto bands = octaveLevels(played, true);
        int main = int(std::max_element(bands.begin(), bands.end()) - bands.begin());
        EXPECT_GT(bands[main] + softer(i), musicBands[main] - 1.5)
            << snd_name[i] << " at " << OCTAVE_CENTRES[main] << " Hz";
    }
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
        ModPlugFile *loaded = loadMusic(track);
        ASSERT_NE(loaded, nullptr);
        EXPECT_EQ(mpLoops, -1);
        MP_FreeMusic(loaded);
        Pcm pcm = renderThroughPlayer(module(track), 1);
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
        for (size_t second = 0; second + 1 < size_t(pcm.seconds()); second++)
            ASSERT_GT(rmsDb(part(pcm, second * RATE, RATE)), -40.0) << "second " << second;
        EXPECT_LT(peakDb(pcm), -1.0);
    }
}

// The short pieces end on a held chord that fades out: loud just before the end, quiet at the end.
TEST_F(Sound, ShortPiecesEndOnAFadedHeldChord) {
    for (int track : {MUSIC_LEVEL_COMPLETE, MUSIC_JINGLE}) {
        SCOPED_TRACE(musix[track]);
        Pcm pcm = renderThroughPlayer(module(track), 1);
        size_t end = pcm.frames(), tenth = RATE / 10;
        ASSERT_GT(end, 10 * tenth);
        EXPECT_GT(rmsDb(part(pcm, end - 6 * tenth, tenth)), -26.0);
        EXPECT_LT(peakDb(part(pcm, end - 100, 100)), -26.0);
    }
}

// Played through the game's player, each stage tune's second pass follows the first without a silent
// stretch or a click: the longest near-silence around the seam is under 2 ms and the largest step
// there is a small part of the largest step anywhere in the tune.
TEST_F(Sound, EveryTuneLoopsWithoutAGap) {
    for (int track = 0; track < MUSIC_TITLES; track++) {
        SCOPED_TRACE(musix[track]);
        std::string bytes = module(track);
        Seam seam = findSeam(renderThroughPlayer(bytes, 2), passFrames(bytes));
        ASSERT_GT(seam.frame, size_t(55 * RATE));
        EXPECT_LT(seam.gapMs, 2.0);
        EXPECT_LT(seam.jump, seam.largestStep / 4);
    }
}

// Bass and kick in the middle: below 150 Hz both sides within 1.5 dB; the peaks of the mix lie
// between -9 and -3 dBFS.
TEST_F(Sound, TunesAreCentredAndFull) {
    for (int track = 0; track < MUSIC_TRACKS; track++) {
        SCOPED_TRACE(musix[track]);
        Pcm pcm = renderThroughPlayer(module(track), 1);
        EXPECT_NEAR(lowBalanceDb(pcm), 0.0, 1.5);
        EXPECT_GT(peakDb(pcm), -9.0);
        EXPECT_LT(peakDb(pcm), -3.0);
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
