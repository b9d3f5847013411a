// The module player driven buffer by buffer, as the mixer's callback would: loop counting, the end
// of the music, fades, the volume, and the playlist's play-once buffer. No audio device is opened,
// so no audio thread runs beside the test.
#include "sound/modplayer.h"
#include "sound/sound.h"

#include <SDL_mixer.h>
#include <libmodplug/modplug.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

namespace {

constexpr int BUFFER = 4096; // 1024 stereo 16-bit frames: one mixer buffer

// A one-pattern module: a looping square sample struck every 16 rows, speed 6, tempo 125, so one
// pass lasts 64 × 0.12 s = 7.68 s.
std::string testModule() {
    std::string mod(20, '\0');
    for (int i = 1; i <= 31; i++) {
        std::string header(30, '\0');
        if (i == 1) {
            header[23] = 16; // 32 bytes
            header[25] = 64; // volume
            header[29] = 16; // the whole sample loops
        } else {
            header[29] = 1;
        }
        mod += header;
    }
    mod += char(1);
    mod += char(127);
    mod += std::string(128, '\0');
    mod += "M.K.";
    std::string pattern(64 * 16, '\0');
    auto cell = [&pattern](int row, int channel) { return &pattern[row * 16 + channel * 4]; };
    for (int row = 0; row < 64; row += 16) {
        cell(row, 0)[0] = 0x01; // period 428 (0x1AC), sample 1
        cell(row, 0)[1] = char(0xAC);
        cell(row, 0)[2] = 0x10;
    }
    cell(0, 1)[2] = 0x0F; // speed 6
    cell(0, 1)[3] = 0x06;
    cell(0, 2)[2] = 0x0F; // tempo 125
    cell(0, 2)[3] = 0x7D;
    mod += pattern;
    for (int i = 0; i < 32; i++)
        mod += char(i < 16 ? 100 : -100);
    return mod;
}

class Player : public testing::Test {
  protected:
    void SetUp() override {
        mpFrequency = 22050;
        mpChannels = 2;
        MP_HookMusicFinished(nullptr);
        MP_VolumeMusic(128);
        mp_delta = 0;
        bytes = testModule();
        module = MP_LoadMusic(bytes.data(), int(bytes.size()), -1);
        ASSERT_NE(module, nullptr);
        passBytes = bytesPerPass();
        MP_PlayMusic(module, 1);
        passBuffers = mixUntilEnd(1000);
        ASSERT_GT(passBuffers, 0);
    }
    void TearDown() override {
        MP_HaltMusic();
        MP_FreeMusic(module);
    }

    // The bytes of one pass of the module, rendered by the library alone; also kept in pass.
    int bytesPerPass() {
        ModPlug_Seek(module, 0);
        pass.clear();
        int got;
        while ((got = ModPlug_Read(module, out, BUFFER)) > 0)
            pass.insert(pass.end(), out, out + got);
        return int(pass.size());
    }

    // Runs the music hook once, as the mixer does: over a silent buffer.
    void mix() {
        std::fill(out, out + BUFFER, 0);
        MP_HookMusic(module, out, BUFFER);
    }

    // Mixes until the music ends; the number of buffers mixed, or -1 after limit buffers.
    int mixUntilEnd(int limit) {
        for (int i = 1; i <= limit; i++) {
            mix();
            if (!MP_PlayingMusic())
                return i;
        }
        return -1;
    }

    double rms() const {
        const int16_t *samples = reinterpret_cast<const int16_t *>(out);
        double sum = 0.0;
        for (int i = 0; i < BUFFER / 2; i++)
            sum += double(samples[i]) * samples[i];
        return std::sqrt(sum / (BUFFER / 2));
    }

    std::string bytes;
    ModPlugFile *module = nullptr;
    std::vector<Uint8> pass;
    int passBytes = 0;
    int passBuffers = 0; // the buffers the player mixes for one pass, up to the end of the music
    Uint8 out[BUFFER];
};

// One pass of the test module: 64 rows of 6 ticks of 441 frames (tempo 125 at 22050 Hz).
constexpr int PASS_FRAMES = 64 * 6 * 441, FRAME = 4;
// The player finds the end of a pass within a piece of 32 frames; after the last pass the library
// fades the last notes over 100 ms before it renders nothing more.
constexpr int PIECE_FRAMES = 32, END_FADE_FRAMES = 2205;

TEST_F(Player, LoopCountPlaysThatManyPassesThenUnhooks) {
    ASSERT_GT(passBuffers, 100); // 7.68 s at 46.4 ms a buffer
    for (int loops : {1, 2, 3}) {
        MP_PlayMusic(module, loops);
        EXPECT_EQ(MP_PlayingMusic(), 1);
        int shortest = loops * PASS_FRAMES / 1024;
        int longest = (loops * (PASS_FRAMES + PIECE_FRAMES) + END_FADE_FRAMES + PIECE_FRAMES) / 1024 + 1;
        int buffers = mixUntilEnd(10 * passBuffers);
        EXPECT_GE(buffers, shortest) << loops << " loops";
        EXPECT_LE(buffers, longest) << loops << " loops";
        EXPECT_EQ(mpLoops, 0);
    }
}

// A looping module starts its next pass in the same buffer in which the last one ended, at most one
// piece after the end of its last row: the mixed stream is the passes back to back, without a silent
// stretch or a lost sample between them. Around the seam the player ramps one piece down and the next
// up; the rest is the library's output unchanged.
TEST_F(Player, LoopForeverPlaysThePassesBackToBack) {
    ASSERT_GE(pass.size(), size_t(PASS_FRAMES * FRAME));
    MP_PlayMusic(module, -1);
    std::vector<Uint8> mixed;
    while (mixed.size() < 4 * pass.size()) {
        mix();
        ASSERT_GT(rms(), 0.0) << "buffer " << mixed.size() / BUFFER;
        mixed.insert(mixed.end(), out, out + BUFFER);
    }
    EXPECT_EQ(MP_PlayingMusic(), 1);
    EXPECT_EQ(mpLoops, -1);
    const size_t music = PASS_FRAMES * FRAME, piece = PIECE_FRAMES * FRAME;
    auto samePass = [&](size_t at, size_t from, size_t to) {
        return std::equal(pass.begin() + from, pass.begin() + to, mixed.begin() + at + from);
    };
    ASSERT_TRUE(samePass(0, 0, music - piece));
    size_t start = 0;
    for (int p = 1; p <= 3; p++) {
        size_t next = start + music;
        while (next <= start + music + piece && !samePass(next, piece, music - piece))
            next += FRAME;
        ASSERT_LE(next, start + music + piece) << "pass " << p << " does not follow pass " << p - 1;
        start = next;
    }
}

static int finishedCalls;
static void countFinished() { finishedCalls++; }

TEST_F(Player, FinishedHookReplacesTheUnhooking) {
    finishedCalls = 0;
    MP_HookMusicFinished(countFinished);
    MP_PlayMusic(module, 1);
    for (int i = 1; i < passBuffers; i++)
        mix();
    EXPECT_EQ(finishedCalls, 0);
    mix();
    EXPECT_EQ(finishedCalls, 1);
    EXPECT_EQ(MP_PlayingMusic(), 1); // the hook decides what happens to the music
}

TEST_F(Player, FadeInClimbsOneStepPerBufferTo128) {
    MP_FadeInMusic(module, -1, 300);
    EXPECT_EQ(mp_fade, 1);
    mix();
    double quiet = rms();
    for (int i = 2; i <= 127; i++)
        mix();
    EXPECT_EQ(mp_fade, 128);
    mix();
    EXPECT_EQ(mp_fade, 128);
    EXPECT_GT(rms(), 10 * quiet);
    EXPECT_EQ(MP_PlayingMusic(), 1);
}

TEST_F(Player, FadeOutReachesZeroAndEndsEvenALoopingModule) {
    struct Case {
        int volume, start, buffers;
    };
    for (Case c : {Case{128, 126, 63}, Case{127, 124, 62}, Case{2, 0, 1}, Case{1, 0, 1}}) {
        MP_VolumeMusic(c.volume);
        MP_PlayMusic(module, -1);
        mix();
        MP_FadeOutMusic(300);
        EXPECT_EQ(mp_fade, c.start) << "from " << c.volume;
        EXPECT_EQ(mixUntilEnd(200), c.buffers) << "from " << c.volume;
        EXPECT_EQ(mp_fade, 0);
    }
}

TEST_F(Player, AfterAFadeOutOnlyAFadeInOrAVolumeRestoresPlayback) {
    MP_PlayMusic(module, -1);
    MP_FadeOutMusic(300);
    ASSERT_EQ(mixUntilEnd(200), 63);
    MP_PlayMusic(module, -1);
    EXPECT_EQ(mixUntilEnd(10), 1); // fade level 0: the music ends at once
    MP_FadeInMusic(module, -1, 300);
    EXPECT_EQ(mixUntilEnd(300), -1);
    MP_FadeOutMusic(300);
    ASSERT_EQ(mixUntilEnd(200), 63);
    MP_VolumeMusic(100);
    MP_PlayMusic(module, -1);
    EXPECT_EQ(mixUntilEnd(300), -1);
}

// Music started at volume 0 plays silently, so that raising the volume later (the options screen)
// makes it heard; a fade-out still ends it, so that a stage's track change goes on.
TEST_F(Player, VolumeZeroPlaysSilentlyUntilTheVolumeIsRaised) {
    MP_VolumeMusic(0);
    MP_FadeInMusic(module, -1, 300);
    EXPECT_EQ(MP_PlayingMusic(), 1);
    EXPECT_EQ(mp_fade, 0);
    for (int i = 0; i < 3 * passBuffers; i++) {
        mix();
        ASSERT_EQ(rms(), 0.0) << "buffer " << i;
    }
    EXPECT_EQ(MP_PlayingMusic(), 1);
    MP_VolumeMusic(100);
    mix();
    EXPECT_GT(rms(), 0.0);

    MP_VolumeMusic(0);
    MP_FadeOutMusic(300);
    EXPECT_EQ(mixUntilEnd(10), 1);
}

TEST_F(Player, VolumeEndsAFadeAtTheNewLevel) {
    MP_FadeInMusic(module, -1, 300);
    for (int i = 0; i < 10; i++)
        mix();
    MP_VolumeMusic(64);
    for (int i = 0; i < 10; i++)
        mix();
    EXPECT_EQ(mp_fade, 64);
    MP_FadeOutMusic(300);
    for (int i = 0; i < 10; i++)
        mix();
    MP_VolumeMusic(90);
    for (int i = 0; i < 10; i++)
        mix();
    EXPECT_EQ(mp_fade, 90);
    EXPECT_EQ(MP_PlayingMusic(), 1);
}

TEST_F(Player, MissingModulesAreIgnored) {
    EXPECT_EQ(MP_LoadMusic(nullptr, 0, -1), nullptr);
    std::string junk(2000, 'x');
    EXPECT_EQ(MP_LoadMusic(junk.data(), int(junk.size()), -1), nullptr);
    MP_PlayMusic(nullptr, -1);
    MP_FadeInMusic(nullptr, -1, 300);
    EXPECT_EQ(MP_PlayingMusic(), 0);
    stopMusic(nullptr);
    EXPECT_EQ(loadMusic(-1), nullptr);
    EXPECT_EQ(loadMusic(MUSIC_TRACKS), nullptr);
}

TEST_F(Player, StopMusicUnhooksAndForgetsTheFinishedHook) {
    ModPlugFile *other = MP_LoadMusic(bytes.data(), int(bytes.size()), -1);
    MP_HookMusicFinished(countFinished);
    MP_PlayMusic(other, -1);
    stopMusic(other);
    EXPECT_EQ(MP_PlayingMusic(), 0);
    EXPECT_EQ(mp_hook.load(), nullptr);
}

// The buffered module plays once and unloads itself from the audio thread; a later call then has
// nothing to unload. A call while one still plays replaces it. (The sanitizer build checks that
// every module is unloaded exactly once.)
TEST_F(Player, BufferedModulePlaysOnceAndUnloadsItself) {
    playMusicFromBuffer(bytes.data(), int(bytes.size()), 100);
    EXPECT_EQ(mp_volume, 100);
    ModPlugFile *buffered = static_cast<ModPlugFile *>(mp_music.load());
    ASSERT_NE(buffered, nullptr);
    for (int i = 0; i < 20; i++)
        MP_HookMusic(buffered, out, BUFFER);
    playMusicFromBuffer(bytes.data(), int(bytes.size()), 100);
    buffered = mp_music;
    ASSERT_NE(buffered, nullptr);
    int buffers = 0;
    while (MP_PlayingMusic() && buffers < 10 * passBuffers) {
        MP_HookMusic(buffered, out, BUFFER);
        buffers++;
    }
    EXPECT_EQ(buffers, passBuffers);
    EXPECT_EQ(mp_hook.load(), nullptr);
    playMusicFromBuffer(bytes.data(), int(bytes.size()), 100);
    EXPECT_EQ(MP_PlayingMusic(), 1);
    stopMusic(mp_music);
}

// The settings reach the library before a load: a module loaded at half the rate renders half the
// bytes, and the configured effects are in the library's record.
TEST_F(Player, SettingsApplyToModulesLoadedAfterThem) {
    mpFrequency = 11025;
    mpReverbDepth = 30;
    mpFlags = 3 | 4;
    ModPlugFile *half = MP_LoadMusic(bytes.data(), int(bytes.size()), -1);
    ModPlug_Settings settings;
    ModPlug_GetSettings(&settings);
    EXPECT_EQ(settings.mFrequency, 11025);
    EXPECT_EQ(settings.mReverbDepth, 30);
    EXPECT_EQ(settings.mFlags, 7);
    EXPECT_EQ(settings.mBits, 16);
    EXPECT_EQ(settings.mLoopCount, 0);
    int halfBytes = 0, got;
    while ((got = ModPlug_Read(half, out, BUFFER)) > 0)
        halfBytes += got;
    MP_FreeMusic(half);
    mpFrequency = 22050;
    mpReverbDepth = 0;
    mpFlags = 3;
    MP_ApplySettings();
    EXPECT_NEAR(halfBytes, passBytes / 2, BUFFER / 2);
}

TEST(Volumes, PercentToMixerScale) {
    struct Case {
        int percent, mixer;
    };
    for (Case c : {Case{15, 19}, Case{100, 128}, Case{50, 64}, Case{0, 0}, Case{1, 1}, Case{99, 126}})
        EXPECT_EQ(mixerVolume(c.percent), c.mixer) << c.percent << " %";
}

// The options screen shows the titles in the 8 × 8 font across a 320-pixel screen.
TEST(Playlist, TitlesAreShortUpperCaseTexts) {
    for (int track = 0; track < MUSIC_TITLES; track++) {
        std::string title = getMusicTitle(track);
        EXPECT_FALSE(title.empty()) << track;
        EXPECT_LE(title.size(), 16u) << title;
        for (char c : title)
            EXPECT_TRUE((c >= 'A' && c <= 'Z') || c == ' ') << title;
    }
    EXPECT_STREQ(getMusicTitle(MUSIC_LEVEL_COMPLETE), "");
    EXPECT_STREQ(getMusicTitle(-1), "");
    EXPECT_STREQ(musix[MUSIC_LEVEL_COMPLETE], "x.levelcomplete");
    EXPECT_STREQ(musix[MUSIC_JINGLE], "y.jingle");
}

} // namespace
