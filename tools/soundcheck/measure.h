// Measures of rendered sound: music rendered through the game's own player, and the levels,
// loudness, low-frequency balance and loop seam of 16-bit PCM at the game's output rate.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

constexpr int SOUND_RATE = 22050;

// Interleaved 16-bit samples.
struct Pcm {
    std::vector<int16_t> samples;
    int channels = 2;
    size_t frames() const { return samples.size() / channels; }
    double seconds() const { return double(frames()) / SOUND_RATE; }
};

// Plays a module as the game does (the player's settings for 22050 Hz stereo, full volume, its music
// hook once per 1024-frame buffer) for the given number of passes, until the music ends; the silent
// rest of the last buffer is left off. Empty when the library rejects the module. The module is not
// hooked into the mixer, so an open audio device does not play it meanwhile.
Pcm renderThroughPlayer(const std::string &module, int passes);

double peakDb(const Pcm &pcm);                // dBFS
double rmsDb(const Pcm &pcm);                 // dBFS, every channel together
double activeRmsDb(const Pcm &pcm);           // dBFS over the 10 ms windows within 30 dB of the loudest
double lowBalanceDb(const Pcm &pcm);          // left minus right below 150 Hz, in dB
double loudness(const Pcm &pcm, bool active); // K-weighted, in LUFS; active: the active windows only
double shortLoudness(const Pcm &pcm);         // K-weighted, in LUFS, of the loudest 50 ms
// Levels in dB in the octaves around 125 Hz to 8 kHz: over the whole sound, or its loudest 50 ms.
constexpr int OCTAVES = 7;
constexpr double OCTAVE_CENTRES[OCTAVES] = {125, 250, 500, 1000, 2000, 4000, 8000};
std::array<double, OCTAVES> octaveLevels(const Pcm &pcm, bool loudest50ms);

Pcm scaled(const Pcm &pcm, double gain, int channels); // a copy at a gain, spread to channels

// The frames of one pass of a module as the library alone renders it, up to the piece of 32 frames
// in which its last row ends.
size_t passFrames(const std::string &module);

// The loop point of a render of two passes: where the second pass starts (0 when it does not repeat
// the first within 0.25 s after passEnd), the longest near-silent stretch within 0.25 s of it, and the
// largest step between two frames within 16 frames (0.7 ms) of it against the largest anywhere else.
struct Seam {
    size_t frame = 0;
    double gapMs = 0.0, jump = 0.0, largestStep = 0.0; // steps in parts of full scale
};
Seam findSeam(const Pcm &twoPasses, size_t passEnd);
