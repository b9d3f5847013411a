// Measures of rendered sound for the content tools and the tests.
#include "measure.h"

#include "sound/modplayer.h"

#include <libmodplug/modplug.h>

#include <algorithm>
#include <cmath>
#include <cstring>

static bool renderFinished;
static void finishRender() { renderFinished = true; }

Pcm renderThroughPlayer(const std::string &module, int passes) {
    constexpr int BUFFER = 4096, LIMIT_SECONDS = 1200;
    Pcm pcm;
    mpFrequency = SOUND_RATE;
    mpChannels = 2;
    ModPlugFile *file = MP_LoadMusic(module.data(), int(module.size()), passes);
    if (!file)
        return pcm;
    // MP_PlayMusic without hooking the module into the mixer, whose own audio thread would render it
    // too while an audio device is open; the finished hook tells us the end instead of unhooking
    MP_VolumeMusic(128);
    MP_HookMusicFinished(finishRender);
    ModPlug_SetMasterVolume(file, 128);
    ModPlug_Seek(file, 0);
    renderFinished = false;
    Uint8 buffer[BUFFER];
    while (!renderFinished && pcm.seconds() < LIMIT_SECONDS) {
        memset(buffer, 0, sizeof buffer);
        MP_HookMusic(file, buffer, BUFFER);
        const int16_t *samples = reinterpret_cast<const int16_t *>(buffer);
        pcm.samples.insert(pcm.samples.end(), samples, samples + BUFFER / 2);
    }
    MP_HookMusicFinished(nullptr);
    MP_FreeMusic(file);
    while (pcm.samples.size() >= 2 && pcm.samples.back() == 0 && pcm.samples[pcm.samples.size() - 2] == 0)
        pcm.samples.resize(pcm.samples.size() - 2);
    return pcm;
}

static double toDb(double level) { return 20.0 * std::log10(std::max(level, 1e-9)); }

double peakDb(const Pcm &pcm) {
    int peak = 0;
    for (int16_t s : pcm.samples)
        peak = std::max(peak, std::abs(int(s)));
    return toDb(peak / 32768.0);
}

static double meanSquare(const int16_t *samples, size_t count) {
    double sum = 0.0;
    for (size_t i = 0; i < count; i++)
        sum += double(samples[i]) * samples[i];
    return count ? sum / count / (32768.0 * 32768.0) : 0.0;
}

double rmsDb(const Pcm &pcm) {
    return 10.0 * std::log10(std::max(meanSquare(pcm.samples.data(), pcm.samples.size()), 1e-18));
}

// A second-order filter section (direct form I).
struct Biquad {
    double b0, b1, b2, a1, a2;
    double x1 = 0, x2 = 0, y1 = 0, y2 = 0;
    double step(double x) {
        double y = b0 * x + b1 * x1 + b2 * x2 - a1 * y1 - a2 * y2;
        x2 = x1;
        x1 = x;
        y2 = y1;
        y1 = y;
        return y;
    }
};

static Biquad lowPass(double frequency, double q) {
    double w = 2.0 * M_PI * frequency / SOUND_RATE, alpha = std::sin(w) / (2.0 * q), c = std::cos(w);
    double a0 = 1.0 + alpha;
    return {(1.0 - c) / 2.0 / a0, (1.0 - c) / a0, (1.0 - c) / 2.0 / a0, -2.0 * c / a0, (1.0 - alpha) / a0};
}

// The two stages of the K weighting of loudness meters (a high shelf of +4 dB above about 1.7 kHz,
// a high pass at 38 Hz), designed for our rate.
static Biquad highShelf() {
    double k = std::tan(M_PI * 1681.974450955533 / SOUND_RATE), q = 0.7071752369554196;
    double vh = std::pow(10.0, 3.999843853973347 / 20.0), vb = std::pow(vh, 0.4996667741545416);
    double a0 = 1.0 + k / q + k * k;
    return {(vh + vb * k / q + k * k) / a0, 2.0 * (k * k - vh) / a0, (vh - vb * k / q + k * k) / a0,
            2.0 * (k * k - 1.0) / a0, (1.0 - k / q + k * k) / a0};
}
static Biquad highPass() {
    double k = std::tan(M_PI * 38.13547087602444 / SOUND_RATE), q = 0.5003270373238773;
    double a0 = 1.0 + k / q + k * k;
    return {1.0, -2.0, 1.0, 2.0 * (k * k - 1.0) / a0, (1.0 - k / q + k * k) / a0};
}

// Runs each channel through a chain of sections; the result in parts of full scale.
static std::vector<std::vector<double>> filtered(const Pcm &pcm, const std::vector<Biquad> &chain) {
    std::vector<std::vector<double>> out(pcm.channels, std::vector<double>(pcm.frames()));
    for (int c = 0; c < pcm.channels; c++) {
        std::vector<Biquad> sections = chain;
        for (size_t i = 0; i < pcm.frames(); i++) {
            double x = pcm.samples[i * pcm.channels + c] / 32768.0;
            for (Biquad &b : sections)
                x = b.step(x);
            out[c][i] = x;
        }
    }
    return out;
}

double lowBalanceDb(const Pcm &pcm) {
    // an eighth-order Butterworth low pass, steep enough that the panned melody above it does not count
    auto low = filtered(pcm, {lowPass(150.0, 0.5098), lowPass(150.0, 0.6013), lowPass(150.0, 0.9000),
                              lowPass(150.0, 2.5629)});
    double power[2] = {0.0, 0.0};
    for (int c = 0; c < 2 && c < pcm.channels; c++)
        for (double x : low[c])
            power[c] += x * x;
    return 10.0 * std::log10(std::max(power[0], 1e-18) / std::max(power[1], 1e-18));
}

// Mean squares of 10 ms windows, every channel summed.
static std::vector<double> windowPowers(const std::vector<std::vector<double>> &channels) {
    const size_t window = SOUND_RATE / 100;
    std::vector<double> powers;
    for (size_t start = 0; start + window <= channels[0].size(); start += window) {
        double sum = 0.0;
        for (const auto &channel : channels)
            for (size_t i = start; i < start + window; i++)
                sum += channel[i] * channel[i];
        powers.push_back(sum / window);
    }
    return powers;
}

// The mean of the windows within 30 dB of the loudest (all of them when not active).
static double meanPower(const std::vector<double> &powers, bool active) {
    if (powers.empty())
        return 1e-18;
    double loudest = *std::max_element(powers.begin(), powers.end()), sum = 0.0;
    int count = 0;
    for (double p : powers)
        if (!active || p >= loudest * 0.001) {
            sum += p;
            count++;
        }
    return std::max(sum / count, 1e-18);
}

double activeRmsDb(const Pcm &pcm) {
    auto plain = filtered(pcm, {});
    return 10.0 * std::log10(meanPower(windowPowers(plain), true) / pcm.channels);
}

double loudness(const Pcm &pcm, bool active) {
    return -0.691 +
           10.0 * std::log10(meanPower(windowPowers(filtered(pcm, {highShelf(), highPass()})), active));
}

// The mean square over the loudest 50 ms, or over the whole sound, every channel summed.
static double power(const std::vector<std::vector<double>> &channels, bool loudest50ms) {
    const size_t window = loudest50ms ? SOUND_RATE / 20 : channels[0].size();
    std::vector<double> power(channels[0].size(), 0.0);
    for (const auto &channel : channels)
        for (size_t i = 0; i < channel.size(); i++)
            power[i] += channel[i] * channel[i];
    double sum = 0.0, loudest = 0.0;
    for (size_t i = 0; i < power.size(); i++) {
        sum += power[i] - (i >= window ? power[i - window] : 0.0);
        loudest = std::max(loudest, sum);
    }
    return std::max(loudest / std::max<size_t>(window, 1), 1e-18);
}

double shortLoudness(const Pcm &pcm) {
    return -0.691 + 10.0 * std::log10(power(filtered(pcm, {highShelf(), highPass()}), true));
}

static Biquad bandPass(double frequency, double q) {
    double w = 2.0 * M_PI * frequency / SOUND_RATE, alpha = std::sin(w) / (2.0 * q), c = std::cos(w);
    double a0 = 1.0 + alpha;
    return {alpha / a0, 0.0, -alpha / a0, -2.0 * c / a0, (1.0 - alpha) / a0};
}

std::array<double, OCTAVES> octaveLevels(const Pcm &pcm, bool loudest50ms) {
    std::array<double, OCTAVES> levels;
    for (int band = 0; band < OCTAVES; band++) {
        Biquad section = bandPass(OCTAVE_CENTRES[band], 1.41);
        levels[band] = 10.0 * std::log10(power(filtered(pcm, {section, section}), loudest50ms));
    }
    return levels;
}

Pcm scaled(const Pcm &pcm, double gain, int channels) {
    Pcm out;
    out.channels = channels;
    for (size_t i = 0; i < pcm.frames(); i++)
        for (int c = 0; c < channels; c++) {
            double s = pcm.samples[i * pcm.channels + c % pcm.channels] * gain;
            out.samples.push_back(int16_t(std::clamp(std::lround(s), -32768L, 32767L)));
        }
    return out;
}

size_t passFrames(const std::string &module) {
    constexpr int PIECE = 32 * 4;
    mpFrequency = SOUND_RATE;
    mpChannels = 2;
    ModPlugFile *file = MP_LoadMusic(module.data(), int(module.size()), 1);
    if (!file)
        return 0;
    ModPlug_SetMasterVolume(file, 128);
    Uint8 piece[PIECE];
    size_t frames = 0;
    int got;
    while ((got = ModPlug_Read(file, piece, PIECE)) > 0 && frames < size_t(SOUND_RATE) * 1200) {
        frames += size_t(got) / 4;
        if (ModPlug_GetCurrentPattern(file) == 255) // the library's order past the end of the song
            break;
    }
    MP_FreeMusic(file);
    return frames;
}

Seam findSeam(const Pcm &twoPasses, size_t passEnd) {
    Seam seam;
    const size_t frames = twoPasses.frames(), skip = 64, match = 4096, ch = size_t(twoPasses.channels);
    const size_t near = 16, around = SOUND_RATE / 4;
    const int16_t *s = twoPasses.samples.data();
    // the first frame from which the render repeats its start, past the player's ramp at the seam
    for (size_t at = passEnd - std::min<size_t>(passEnd, 64); at < passEnd + around && !seam.frame; at++)
        if (at + skip + match <= frames &&
            std::equal(s + skip * ch, s + (skip + match) * ch, s + (at + skip) * ch))
            seam.frame = at;
    if (!seam.frame)
        return seam;
    auto step = [&](size_t i) {
        int most = 0;
        for (size_t c = 0; c < ch; c++)
            most = std::max(most, std::abs(int(s[i * ch + c]) - int(s[(i - 1) * ch + c])));
        return most / 32768.0;
    };
    for (size_t i = 1; i < frames; i++) {
        bool atSeam = i + near >= seam.frame && i <= seam.frame + near;
        (atSeam ? seam.jump : seam.largestStep) = std::max(atSeam ? seam.jump : seam.largestStep, step(i));
    }
    size_t run = 0, longest = 0;
    for (size_t i = seam.frame - std::min(seam.frame, around); i < std::min(frames, seam.frame + around);
         i++) {
        bool quiet = true;
        for (size_t c = 0; c < ch; c++)
            quiet = quiet && std::abs(int(s[i * ch + c])) <= 33; // -60 dBFS
        run = quiet ? run + 1 : 0;
        longest = std::max(longest, run);
    }
    seam.gapMs = 1000.0 * longest / SOUND_RATE;
    return seam;
}
