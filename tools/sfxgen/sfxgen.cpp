// sfxgen: synthesizes the game's fourteen sound effects as 22050 Hz 16-bit mono WAV files.
//   sfxgen OUTDIR     writes OUTDIR/<effect name>.wav for every effect of the effect table
// Every effect is built from oscillators, noise, filters and envelopes, then faded at both ends,
// levelled to a common loudness and kept below -3 dBFS. The game plays effects at 15 % beside music at
// full volume, so they are made dense and bright enough to be heard over it. The output is the same
// on every run.
#include "measure.h"
#include "sound/sound.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace {

constexpr int RATE = 22050;
constexpr double PI = 3.14159265358979323846;
constexpr double PEAK_LIMIT = 0.708;     // -3 dBFS
constexpr double TARGET_LOUDNESS = -9.0; // K-weighted loudness of the loudest 50 ms, mono, in LUFS
constexpr double LIMIT_RANGE = 2.8;      // at most 9 dB of limiting

using Wave = std::vector<double>;

int samples(double seconds) { return int(seconds * RATE + 0.5); }

// A small deterministic noise source, so every build writes the same bytes.
struct Noise {
    uint32_t state;
    double next() {
        state = state * 1664525u + 1013904223u;
        return double(state >> 8) / double(1u << 23) - 1.0;
    }
};

// Adds source into wave starting at the given time, growing the wave as needed.
void mixAt(Wave &wave, const Wave &source, double at, double gain = 1.0) {
    size_t start = size_t(samples(at));
    if (wave.size() < start + source.size())
        wave.resize(start + source.size(), 0.0);
    for (size_t i = 0; i < source.size(); i++)
        wave[start + i] += gain * source[i];
}

// Attack-then-exponential-decay envelope: rises linearly over attack seconds, then falls with time
// constant tau.
double env(double t, double attack, double tau) {
    if (t < attack)
        return t / attack;
    return std::exp(-(t - attack) / tau);
}

// A sine whose frequency glides exponentially from f0 to f1 over glide seconds, shaped by env().
Wave sweep(double seconds, double f0, double f1, double glide, double attack, double tau) {
    Wave wave(samples(seconds));
    double phase = 0.0;
    for (size_t i = 0; i < wave.size(); i++) {
        double t = double(i) / RATE;
        double f = f0 * std::pow(f1 / f0, std::min(t / glide, 1.0));
        phase += 2 * PI * f / RATE;
        wave[i] = std::sin(phase) * env(t, attack, tau);
    }
    return wave;
}

// A struck body: a few damped partials at ratios of the fundamental (wood, bells, clock parts).
struct Partial {
    double ratio, gain, tau;
};
Wave modes(double seconds, double f, const std::vector<Partial> &partials, double attack = 0.001) {
    Wave wave(samples(seconds));
    for (const Partial &p : partials)
        for (size_t i = 0; i < wave.size(); i++) {
            double t = double(i) / RATE;
            wave[i] += p.gain * std::sin(2 * PI * f * p.ratio * t) * env(t, attack, p.tau);
        }
    return wave;
}

// Noise through a two-pole resonant band-pass (state-variable filter) whose centre may glide.
Wave bandNoise(double seconds, double f0, double f1, double q, uint32_t seed) {
    Noise noise{seed};
    Wave wave(samples(seconds));
    double low = 0.0, band = 0.0;
    for (size_t i = 0; i < wave.size(); i++) {
        double t = double(i) / wave.size();
        double f = 2.0 * std::sin(PI * (f0 + (f1 - f0) * t) / RATE);
        double high = noise.next() - low - band / q;
        band += f * high;
        low += f * band;
        wave[i] = band;
    }
    return wave;
}

void shape(Wave &wave, double attack, double tau) {
    for (size_t i = 0; i < wave.size(); i++)
        wave[i] *= env(double(i) / RATE, attack, tau);
}

// A voice of additive harmonics under a spectral envelope: the hippo's hum through closed lips.
// pitch(t) gives the fundamental, level(t) the loudness.
template <typename Pitch, typename Level> Wave hum(double seconds, Pitch pitch, Level level) {
    Wave wave(samples(seconds));
    std::vector<double> phases(40, 0.0);
    for (size_t i = 0; i < wave.size(); i++) {
        double t = double(i) / RATE;
        double f = pitch(t), sum = 0.0;
        for (size_t h = 1; h <= phases.size() && f * h < 3500.0; h++) {
            phases[h - 1] += 2 * PI * f * h / RATE;
            double fh = f * h;
            // nasal murmur: strong around 250 Hz, the half-open mouth's resonance near 750 Hz, a weak
            // one near 2.1 kHz; the upper two carry the hum on small speakers
            double murmur = 0.2 / (1.0 + std::pow(fh / 300.0, 4.0));
            double mouth = 0.7 * std::exp(-std::pow((fh - 750.0) / 200.0, 2.0));
            double nasal = 0.2 * std::exp(-std::pow((fh - 2100.0) / 350.0, 2.0));
            sum += (murmur + mouth + nasal) * std::sin(phases[h - 1]) / std::sqrt(double(h));
        }
        wave[i] = sum * level(t);
    }
    return wave;
}

// fruits_disappear: a round bubble pop with a tiny airy burst.
Wave fruitsDisappear() {
    Wave wave = sweep(0.26, 380.0, 1100.0, 0.035, 0.002, 0.04);
    mixAt(wave, sweep(0.1, 1400.0, 2200.0, 0.03, 0.001, 0.018), 0.012, 0.35);
    Wave air = bandNoise(0.03, 3000.0, 1500.0, 1.5, 11);
    shape(air, 0.001, 0.006);
    mixAt(wave, air, 0.0, 0.5);
    return wave;
}

// lion_hand: a paw knocking on wood: a few inharmonic, quickly damped modes and a short click.
Wave lionHand() {
    Wave wave = modes(0.25, 330.0, {{1.0, 0.8, 0.035}, {2.76, 0.9, 0.02}, {5.4, 0.45, 0.01}});
    Wave click = bandNoise(0.02, 2500.0, 2500.0, 2.0, 23);
    shape(click, 0.0005, 0.004);
    mixAt(wave, click, 0.0, 0.9);
    return wave;
}

// menu_control: a soft wooden "tok" from a small marimba bar with a felt mallet. It is the menus' move
// sound and the sound of every morph and landing on the board, where it comes in quick runs, so it is
// short, round and pitched, with only a touch of mallet noise.
Wave menuControl() {
    Wave wave(samples(0.2));
    double phase = 0.0;
    for (size_t i = 0; i < wave.size(); i++) {
        double t = double(i) / RATE;
        phase += 2 * PI * 784.0 * (1.0 + 0.03 * std::exp(-t / 0.006)) / RATE; // the bar settles after the hit
        wave[i] =
            std::sin(phase) * env(t, 0.0015, 0.028) + 0.3 * std::sin(3.93 * phase) * env(t, 0.001, 0.01);
    }
    Wave mallet = bandNoise(0.01, 2800.0, 2800.0, 2.0, 17);
    shape(mallet, 0.0005, 0.002);
    mixAt(wave, mallet, 0.0, 0.25);
    return wave;
}

// select_option: a bright two-note chime, a fifth up, ringing out to silence.
Wave selectOption() {
    const std::vector<Partial> bell = {{1.0, 1.0, 0.16}, {2.0, 0.35, 0.08}, {3.0, 0.12, 0.04}};
    Wave wave = modes(1.05, 987.8, bell, 0.002);
    mixAt(wave, modes(1.1, 1480.0, bell, 0.002), 0.085);
    return wave;
}

// timer_last_10_sec: a clock's tick and tock. The stage plays it every 67 ticks (1.12 s), so the tock
// comes half of that after the tick and the two alternate evenly.
Wave timerWarning() {
    auto strike = [](double f, uint32_t seed) {
        Wave wave = modes(0.16, f, {{1.0, 1.0, 0.02}, {1.7, 0.6, 0.012}, {3.1, 0.3, 0.006}}, 0.0005);
        Wave click = bandNoise(0.015, 4000.0, 4000.0, 3.0, seed);
        shape(click, 0.0003, 0.002);
        mixAt(wave, click, 0.0, 0.5);
        return wave;
    };
    Wave wave = strike(2100.0, 31);
    mixAt(wave, strike(1500.0, 37), 67.0 / 60.0 / 2.0);
    return wave;
}

// hippo: a low, playful "hm-hmm": a short rise, then a longer, lower fall. The hum's low harmonics are
// kept soft, so the mouth's resonance carries it on small speakers.
Wave hippo() {
    auto syllable = [](double seconds, double f0, double f1) {
        return hum(
            seconds,
            [=](double t) {
                double x = t / seconds;
                return f0 + (f1 - f0) * x * x * (3 - 2 * x) + 2.0 * std::sin(2 * PI * 5.5 * t);
            },
            [=](double t) {
                return std::min(1.0, t / 0.04) * std::pow(std::min(1.0, (seconds - t) / 0.1), 3.0);
            });
    };
    Wave wave = syllable(0.2, 150.0, 180.0);
    mixAt(wave, syllable(0.36, 200.0, 130.0), 0.27);
    return wave;
}

// bird_flying: one soft wing beat, a puff of moving air. A flying bird plays it at every beat of its
// wings, every 0.3 s for seconds on end, so it is short, and levelled 6 dB under the other effects.
Wave birdFlying() {
    Wave wave = bandNoise(0.22, 1500.0, 900.0, 1.2, 41);
    shape(wave, 0.02, 0.03);
    Wave air = bandNoise(0.22, 400.0, 300.0, 1.5, 43); // the body of air the wing pushes
    shape(air, 0.025, 0.03);
    mixAt(wave, air, 0.0, 0.6);
    return wave;
}

// flower_grow: a rising sparkle: quick bell notes climbing a pentatonic scale over a soft glide.
Wave flowerGrow() {
    const double notes[] = {1046.5, 1174.7, 1318.5, 1568.0, 1760.0, 2093.0, 2349.3, 2637.0};
    Wave wave = sweep(0.62, 520.0, 1040.0, 0.45, 0.05, 0.12);
    for (double &s : wave)
        s *= 0.3;
    int i = 0;
    for (double f : notes)
        mixAt(wave, modes(0.16, f, {{1.0, 1.0, 0.05}, {2.0, 0.2, 0.02}}, 0.002), 0.045 * i++, 0.5);
    return wave;
}

// The mascot's blinks: tiny blips, one long, one short, and a double for both eyes.
Wave eyeLong() { return sweep(0.24, 1700.0, 1200.0, 0.08, 0.004, 0.03); }
Wave eyeShort() { return sweep(0.1, 1900.0, 1600.0, 0.03, 0.003, 0.012); }
Wave eyesShort() {
    Wave wave = eyeShort();
    mixAt(wave, eyeShort(), 0.07, 0.9);
    return wave;
}

// kavrin_jump: a springy up-sweep with a little wobble at the top.
Wave kavrinJump() {
    Wave wave(samples(0.55));
    double phase = 0.0;
    for (size_t i = 0; i < wave.size(); i++) {
        double t = double(i) / RATE;
        double f = 330.0 * std::pow(4.0, std::min(t / 0.16, 1.0)) * (1.0 + 0.04 * std::sin(2 * PI * 18 * t));
        phase += 2 * PI * f / RATE;
        // a triangle with a touch of its octave: round but bright enough to cut through the music
        double tri = 2.0 / PI * std::asin(std::sin(phase));
        wave[i] = (tri + 0.5 * std::sin(2 * phase)) * env(t, 0.03, 0.12);
    }
    return wave;
}

// kavrin_sleep: one slow snore: a rattling in-breath, its buzz at 110 to 125 Hz so small speakers
// still carry it, through the throat's resonance; then a soft breathy out-breath.
Wave kavrinSleep() {
    Noise noise{57};
    Wave wave(samples(1.5));
    double throatLow = 0.0, throatBand = 0.0, breath = 0.0, phase = 0.0;
    const double throat = 2.0 * std::sin(PI * 900.0 / RATE);
    for (size_t i = 0; i < wave.size(); i++) {
        double t = double(i) / RATE;
        double n = noise.next();
        breath += 0.1 * (n - breath); // the nose: thin air
        if (t < 0.75) {
            double x = t / 0.75;
            phase += 2 * PI * (110.0 + 15.0 * x) / RATE;
            // the soft palate flutters once a cycle and chops the air rushing past it into bursts of
            // noise, which the throat's resonance colours
            double flutter = std::pow(0.5 + 0.5 * std::cos(phase), 2.0);
            double high = flutter * n - throatLow - throatBand / 4.0;
            throatBand += throat * high;
            throatLow += throat * throatBand;
            double level = std::sin(PI * x) * std::sin(PI * x);
            wave[i] = (throatBand + 0.15 * flutter * std::sin(phase)) * level;
        } else if (t > 0.85) {
            double x = (t - 0.85) / 0.65;
            wave[i] = 0.25 * breath * std::sin(PI * x) * (1.0 - 0.5 * x);
        }
    }
    return wave;
}

// totem_anim: a hollow wooden drum, struck twice, each stroke ringing out before the effect ends.
Wave totemAnim() {
    auto hit = [](double f) {
        Wave wave(samples(0.5));
        double phase = 0.0;
        for (size_t i = 0; i < wave.size(); i++) {
            double t = double(i) / RATE;
            phase += 2 * PI * f * (1.0 + 0.25 * std::exp(-t / 0.015)) / RATE;
            wave[i] = 0.6 * std::sin(phase) * env(t, 0.001, 0.07);
        }
        mixAt(wave, modes(0.25, f, {{2.32, 1.0, 0.045}, {4.1, 0.5, 0.02}}), 0.0);
        Wave stick = bandNoise(0.012, 1800.0, 1800.0, 2.0, 61); // the beater on the wood
        shape(stick, 0.0005, 0.003);
        mixAt(wave, stick, 0.0, 0.6);
        return wave;
    };
    Wave wave = hit(262.0);
    mixAt(wave, hit(196.0), 0.16, 0.85);
    return wave;
}

struct Design {
    SoundEffect effect;
    Wave (*make)();
    double level; // dB against the common loudness
};

const Design designs[SFX_COUNT] = {
    {SFX_FRUITS_DISAPPEAR, fruitsDisappear, 0.0}, {SFX_LION_HAND, lionHand, 0.0},
    {SFX_MENU_CONTROL, menuControl, 0.0},         {SFX_SELECT_OPTION, selectOption, 0.0},
    {SFX_TIMER_LAST_10_SEC, timerWarning, 0.0},   {SFX_HIPPO, hippo, 0.0},
    {SFX_BIRD_FLYING, birdFlying, -6.0},          {SFX_FLOWER_GROW, flowerGrow, 0.0},
    {SFX_KAVRIN_EYELONG, eyeLong, 0.0},           {SFX_KAVRIN_EYESHORT, eyeShort, 0.0},
    {SFX_KAVRIN_EYESSHORT, eyesShort, 0.0},       {SFX_KAVRIN_JUMP, kavrinJump, 0.0},
    {SFX_KAVRIN_SLEEP, kavrinSleep, 0.0},         {SFX_TOTEM_ANIM, totemAnim, 0.0},
};

// Loudness as soundcheck and the tests measure it: K-weighted, over the loudest 50 ms.
double loudnessOf(const Wave &wave) {
    Pcm pcm;
    pcm.channels = 1;
    for (double s : wave)
        pcm.samples.push_back(int16_t(std::lround(std::clamp(s, -1.0, 1.0) * 32767.0)));
    return shortLoudness(pcm);
}

// A peak limiter that looks 2 ms ahead: the gain falls before a peak and recovers over about 30 ms,
// so loud attacks come down without the waveform being bent.
void limit(Wave &wave, double ceiling) {
    const size_t ahead = size_t(samples(0.002));
    const double release = 1.0 / samples(0.03);
    std::vector<double> need(wave.size());
    for (size_t i = 0; i < wave.size(); i++)
        need[i] = std::min(1.0, ceiling / std::max(std::fabs(wave[i]), 1e-9));
    std::vector<double> gain(wave.size());
    double held = 1.0;
    for (size_t i = 0; i < wave.size(); i++) {
        double lowest = 1.0;
        for (size_t j = i; j < std::min(wave.size(), i + ahead + 1); j++)
            lowest = std::min(lowest, need[j]);
        held = std::min(lowest, held + (1.0 - held) * release);
        gain[i] = held;
    }
    // an average over the look-ahead smooths the steps and still reaches each peak's gain in time
    double sum = double(ahead + 1) * (gain.empty() ? 1.0 : gain[0]); // before the start: the first gain
    for (size_t i = 0; i < wave.size(); i++) {
        sum += gain[i] - gain[i > ahead ? i - ahead - 1 : 0];
        wave[i] *= sum / double(ahead + 1);
    }
}

// Fades both ends (no clicks), then levels the effect to the common loudness (plus level dB) without
// passing -3 dBFS: peaks above that are limited, by at most 9 dB, so short knocks and ticks reach the
// level of the rounder sounds.
void master(Wave &wave, double level) {
    const size_t fadeIn = size_t(samples(0.003)), fadeOut = size_t(samples(0.008));
    for (size_t i = 0; i < fadeIn && i < wave.size(); i++)
        wave[i] *= double(i) / fadeIn;
    for (size_t i = 0; i < fadeOut && i < wave.size(); i++)
        wave[wave.size() - 1 - i] *= double(i) / fadeOut;
    for (int pass = 0; pass < 3; pass++) {
        double peak = 0.0;
        for (double s : wave)
            peak = std::max(peak, std::fabs(s));
        double gain = std::min(std::pow(10.0, (TARGET_LOUDNESS + level - loudnessOf(wave)) / 20.0),
                               LIMIT_RANGE * PEAK_LIMIT / peak);
        for (double &s : wave)
            s *= gain;
        limit(wave, PEAK_LIMIT);
    }
}

void put16(std::string &out, uint32_t value) {
    out += char(value & 0xFF);
    out += char((value >> 8) & 0xFF);
}
void put32(std::string &out, uint32_t value) {
    put16(out, value & 0xFFFF);
    put16(out, value >> 16);
}

bool writeWav(const std::string &path, const Wave &wave) {
    std::string out = "RIFF";
    put32(out, uint32_t(36 + 2 * wave.size()));
    out += "WAVEfmt ";
    put32(out, 16);
    put16(out, 1); // PCM
    put16(out, 1); // mono
    put32(out, RATE);
    put32(out, RATE * 2);
    put16(out, 2);
    put16(out, 16);
    out += "data";
    put32(out, uint32_t(2 * wave.size()));
    for (double s : wave)
        put16(out, uint16_t(int16_t(std::lround(std::clamp(s, -1.0, 1.0) * 32767.0))));
    FILE *file = fopen(path.c_str(), "wb");
    if (!file)
        return false;
    bool ok = fwrite(out.data(), 1, out.size(), file) == out.size();
    return fclose(file) == 0 && ok;
}

} // namespace

int main(int argc, char **argv) {
    if (argc != 2) {
        fprintf(stderr, "usage: sfxgen OUTDIR\n");
        return 1;
    }
    for (const Design &design : designs) {
        Wave wave = design.make();
        master(wave, design.level);
        std::string path = std::string(argv[1]) + "/" + snd_name[design.effect] + ".wav";
        if (!writeWav(path, wave)) {
            fprintf(stderr, "sfxgen: cannot write %s\n", path.c_str());
            return 1;
        }
    }
    return 0;
}
