// The instruments, computed the same way on every run.
#include "instruments.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr double PI = 3.14159265358979323846;
constexpr double C3_RATE = 3546895.0 / 428.0; // playback rate of a sample at C-3
constexpr double FULL = 120.0;                // the loudest sample value, a little below 127

// One cycle of a wave with its mean removed. A 32-sample cycle sounds C-4 at C-3; a 64-sample cycle
// (the bass) sounds C-3.
std::vector<int8_t> cycle(int length, double (*wave)(double), double amplitude) {
    std::vector<double> values(length);
    double mean = 0.0;
    for (int i = 0; i < length; i++)
        mean += values[i] = wave(double(i) / length);
    std::vector<int8_t> data(length);
    for (int i = 0; i < length; i++)
        data[i] = int8_t(std::lround((values[i] - mean / length) * amplitude));
    return data;
}

// Pulse waves with softened edges (the first harmonics only), so they buzz rather than rasp.
double pulseWidth(double x, double width) {
    double sum = 0.0;
    for (int k = 1; k <= 12; k++)
        sum += std::sin(PI * k * width) / k * std::cos(2 * PI * k * (x - width / 2)) * (1.0 - k / 14.0);
    return sum;
}
double square(double x) { return pulseWidth(x, 0.5) * 1.05; }
double pulse25(double x) { return pulseWidth(x, 0.25) * 1.3; }
double triangle(double x) { return x < 0.5 ? 4 * x - 1 : 3 - 4 * x; }
double flute(double x) {
    return std::sin(2 * PI * x) + 0.25 * std::sin(4 * PI * x) + 0.08 * std::sin(6 * PI * x);
}

// A soft pad: three gently band-limited saws detuned by about a quarter of a semitone, looped over
// 2048 samples so the beating between them stays seamless.
std::vector<int8_t> padLoop() {
    const int length = 2048, cycles[3] = {64, 63, 65};
    std::vector<double> values(length, 0.0);
    for (int c : cycles)
        for (int i = 0; i < length; i++)
            for (int k = 1; k <= 8; k++)
                values[i] += std::sin(2 * PI * c * k * i / length) / (k * std::sqrt(double(k)));
    double peak = 0.0;
    for (double v : values)
        peak = std::max(peak, std::fabs(v));
    std::vector<int8_t> data(length);
    for (int i = 0; i < length; i++)
        data[i] = int8_t(std::lround(values[i] / peak * FULL));
    return data;
}

// One-shot samples rendered for playback at rate; f(t) gives the signal at time t in seconds.
template <typename F> std::vector<int8_t> oneShot(double seconds, double rate, F f) {
    std::vector<int8_t> data(2 * int(seconds * rate / 2));
    for (size_t i = 2; i < data.size(); i++) // two leading zeros: the one-shot convention
        data[i] = int8_t(std::lround(std::clamp(f(i / rate), -1.0, 1.0) * FULL));
    return data;
}

uint32_t noiseState = 1;
double noise() {
    noiseState = noiseState * 1664525u + 1013904223u;
    return double(noiseState >> 8) / double(1u << 23) - 1.0;
}

// Bright noise for the metal of hats: each value minus the last.
struct HighNoise {
    double previous = 0.0;
    double next() {
        double n = noise(), high = n - previous;
        previous = n;
        return high;
    }
};

// Struck plucks at the lead's pitch (C-4 at C-3): partials as (ratio, level, decay time).
struct Partial {
    double ratio, level, tau;
};
std::vector<int8_t> pluck(double seconds, std::initializer_list<Partial> partials) {
    std::vector<Partial> list(partials);
    return oneShot(seconds, C3_RATE, [list](double t) {
        double f = C3_RATE / 32, sum = 0.0;
        for (const Partial &p : list)
            sum += p.level * std::sin(2 * PI * f * p.ratio * t) * std::exp(-t / p.tau);
        return sum * std::min(1.0, t / 0.002);
    });
}

} // namespace

std::array<Sample, INSTRUMENTS> makeInstruments() {
    std::array<Sample, INSTRUMENTS> s;
    s[SQUARE] = {"square", cycle(32, square, FULL * 0.8), 44};
    s[PULSE] = {"pulse 25%", cycle(32, pulse25, FULL * 0.8), 44};
    s[FLUTE] = {"soft lead", cycle(32, flute, FULL * 0.85), 52};
    s[BELL] = {"bell", pluck(0.9, {{1.0, 0.62, 0.4}, {2.0, 0.3, 0.18}, {3.0, 0.12, 0.08}}), 54, false};
    // a thumb piano: a round tone with a quick inharmonic tine click
    s[KALIMBA] = {"thumb piano", pluck(0.6, {{1.0, 0.8, 0.22}, {5.4, 0.25, 0.02}, {2.0, 0.1, 0.06}}), 50,
                  false};
    s[TRIBASS] = {"triangle bass", cycle(64, triangle, FULL), 56};
    s[PAD] = {"detuned saw pad", padLoop(), 36};
    s[ARP] = {"arp pulse", s[PULSE].data, 26};
    s[STAB] = {"stab square", s[SQUARE].data, 30};
    s[KICK] = {"kick",
               oneShot(0.28, C3_RATE,
                       [](double t) {
                           double phase =
                               2 * PI * (50.0 * t + (180.0 - 50.0) * 0.03 * (1 - std::exp(-t / 0.03)));
                           return std::sin(phase) * std::exp(-t / 0.11) * std::min(1.0, t / 0.001);
                       }),
               64, false};
    noiseState = 7;
    s[SNARE] = {"snare",
                oneShot(0.2, C3_RATE,
                        [](double t) {
                            return 0.75 * noise() * std::exp(-t / 0.06) +
                                   0.5 * std::sin(2 * PI * 185.0 * t) * std::exp(-t / 0.035);
                        }),
                56, false};
    noiseState = 11;
    HighNoise hat; // rendered for C-4, twice the rate, for a brighter tick
    s[HAT] = {
        "hat",
        oneShot(0.08, 2 * C3_RATE, [&hat](double t) { return 0.7 * hat.next() * std::exp(-t / 0.018); }), 32,
        false};
    noiseState = 13;
    HighNoise open;
    s[OPEN_HAT] = {
        "open hat",
        oneShot(0.3, 2 * C3_RATE, [&open](double t) { return 0.6 * open.next() * std::exp(-t / 0.09); }), 28,
        false};
    s[RIM] = {"rim",
              oneShot(0.06, 2 * C3_RATE,
                      [](double t) {
                          return (0.8 * std::sin(2 * PI * 1700.0 * t) + 0.4 * std::sin(2 * PI * 430.0 * t)) *
                                 std::exp(-t / 0.012);
                      }),
              40, false};
    return s;
}
