// modgen: composes the game's music as 4-channel "M.K." tracker modules with our own 8-bit instruments.
//   modgen OUTDIR                 writes OUTDIR/<stem>.mod for every track of the playlist
//   modgen --render TRACK OUT.wav  renders one track once through (22050 Hz stereo) to a WAV file
// Each stage tune is an intro and A and B sections over 8-bar chord progressions, played twice with
// variations, then a jump back to A. Melodies grow from a one-bar motif; the bass walks roots and fifths;
// a chord channel arpeggiates, stabs or holds a pad line; the drums come from noise and pitch sweeps.
// The output is the same on every run.
#include "sound/sound.h"

#include <libmodplug/modplug.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

constexpr double PI = 3.14159265358979323846;
constexpr int CHANNELS = 4, ROWS = 64, BAR = 16;
constexpr int MEL = 0, BASS = 1, CHORD = 2, DRUM = 3; // what each channel plays

// Periods of the three octaves a module may use; index 12 (C-3) is period 428.
constexpr int periods[36] = {856, 808, 762, 720, 678, 640, 604, 570, 538, 508, 480, 453,
                             428, 404, 381, 360, 340, 320, 302, 285, 269, 254, 240, 226,
                             214, 202, 190, 180, 170, 160, 151, 143, 135, 127, 120, 113};
constexpr double C3_RATE = 3546895.0 / 428.0; // playback rate of a sample at C-3

// ---- Instruments -------------------------------------------------------------------------------

enum Instrument { SQUARE = 1, PULSE, FLUTE, BELL, TRIBASS, PAD, ARP, STAB, KICK, SNARE, HAT, INSTRUMENTS };

struct Sample {
    std::string name;
    std::vector<int8_t> data;
    int volume = 64;
    bool loops = true;
};

// A 32-sample cycle sounds C-4 at C-3; a 64-sample cycle (the bass) sounds C-3.
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
double square(double x) { return pulseWidth(x, 0.5) * 0.9; }
double pulse25(double x) { return pulseWidth(x, 0.25) * 1.1; }
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
        data[i] = int8_t(std::lround(values[i] / peak * 110.0));
    return data;
}

// One-shot samples are rendered for playback at rate; f(t) gives the signal at time t in seconds.
template <typename F> std::vector<int8_t> oneShot(double seconds, double rate, F f) {
    std::vector<int8_t> data(2 * int(seconds * rate / 2));
    for (size_t i = 2; i < data.size(); i++) // two leading zeros: the one-shot convention
        data[i] = int8_t(std::lround(std::clamp(f(i / rate), -1.0, 1.0) * 120.0));
    return data;
}

uint32_t noiseState = 1;
double noise() {
    noiseState = noiseState * 1664525u + 1013904223u;
    return double(noiseState >> 8) / double(1u << 23) - 1.0;
}

std::array<Sample, INSTRUMENTS> makeInstruments() {
    std::array<Sample, INSTRUMENTS> s;
    s[SQUARE] = {"square", cycle(32, square, 100), 48};
    s[PULSE] = {"pulse 25%", cycle(32, pulse25, 100), 48};
    s[FLUTE] = {"soft lead", cycle(32, flute, 95), 52};
    s[BELL] = {"bell",
               oneShot(0.9, C3_RATE,
                       [](double t) {
                           double f = C3_RATE / 32, a = std::min(1.0, t / 0.003);
                           return a * (0.6 * std::sin(2 * PI * f * t) * std::exp(-t / 0.4) +
                                       0.3 * std::sin(4 * PI * f * t) * std::exp(-t / 0.18) +
                                       0.12 * std::sin(6 * PI * f * t) * std::exp(-t / 0.08));
                       }),
               54, false};
    s[TRIBASS] = {"triangle bass", cycle(64, triangle, 120), 56};
    s[PAD] = {"detuned saw pad", padLoop(), 40};
    s[ARP] = {"arp pulse", s[PULSE].data, 26};
    s[STAB] = {"stab square", s[SQUARE].data, 30};
    s[KICK] = {"kick",
               oneShot(0.28, C3_RATE,
                       [](double t) {
                           double phase =
                               2 * PI * (48.0 * t + (170.0 - 48.0) * 0.03 * (1 - std::exp(-t / 0.03)));
                           return std::sin(phase) * std::exp(-t / 0.12) * std::min(1.0, t / 0.001);
                       }),
               60, false};
    noiseState = 7;
    s[SNARE] = {"snare",
                oneShot(0.2, C3_RATE,
                        [](double t) {
                            return 0.75 * noise() * std::exp(-t / 0.06) +
                                   0.5 * std::sin(2 * PI * 185.0 * t) * std::exp(-t / 0.035);
                        }),
                52, false};
    noiseState = 11;
    double previous = 0.0;
    s[HAT] = {"hat", // rendered for C-4, twice the rate, for a brighter tick
              oneShot(0.08, 2 * C3_RATE,
                      [&previous](double t) {
                          double n = noise(), high = n - previous;
                          previous = n;
                          return 0.6 * high * std::exp(-t / 0.018);
                      }),
              40, false};
    return s;
}

// ---- Patterns ----------------------------------------------------------------------------------

struct Cell {
    int note = -1; // index into periods, or -1
    int sample = 0, effect = 0, param = 0;
};
using Row = std::array<Cell, CHANNELS>;

struct Song {
    std::string title;
    std::vector<Row> rows; // the whole song, cut into 64-row patterns when written
    int loopOrder = -1;    // the order the end jumps back to, or -1 to stop
};

void play(Song &song, int row, int channel, int note, int sample, int effect = 0, int param = 0) {
    if (note < 0 || note > 35) {
        fprintf(stderr, "modgen: note %d of %s is out of range\n", note, song.title.c_str());
        exit(1);
    }
    song.rows[row][channel] = {note, sample, effect, param};
}

// Puts an effect on a row where the channel has none yet; returns false when the slot is taken.
bool effect(Song &song, int row, int channel, int effect, int param) {
    Cell &cell = song.rows[row][channel];
    if (cell.effect || cell.param)
        return false;
    cell.effect = effect;
    cell.param = param;
    return true;
}

// A song-wide command (speed, tempo, jump) in the first free effect slot of the row.
void command(Song &song, int row, int effectCode, int param) {
    for (int channel : {DRUM, CHORD, BASS, MEL})
        if (effect(song, row, channel, effectCode, param))
            return;
    song.rows[row][DRUM].effect = effectCode;
    song.rows[row][DRUM].param = param;
}

// Life on a held note: vibrato after the attack, and a volume slide down over its last rows.
void shapeNote(Song &song, int row, int length, int channel, int vibrato, int fade) {
    for (int r = row + 2; r < row + length - 2; r++)
        effect(song, r, channel, 0x4, r == row + 2 ? vibrato : 0);
    for (int r = std::max(row + 1, row + length - 2); r < row + length; r++)
        effect(song, r, channel, 0xA, fade);
}

// ---- Harmony and melody ------------------------------------------------------------------------

struct Mode {
    int steps[7];
};
constexpr Mode IONIAN = {{0, 2, 4, 5, 7, 9, 11}}, DORIAN = {{0, 2, 3, 5, 7, 9, 10}},
               MIXOLYDIAN = {{0, 2, 4, 5, 7, 9, 10}}, AEOLIAN = {{0, 2, 3, 5, 7, 8, 10}},
               LYDIAN = {{0, 2, 4, 6, 7, 9, 11}};

// Semitones above the tonic of a scale degree (degrees may go below 0 or past the octave).
int semis(const Mode &mode, int degree) {
    int octave = degree >= 0 ? degree / 7 : -((6 - degree) / 7);
    return mode.steps[degree - 7 * octave] + 12 * octave;
}

// A motif note: start row in the bar, length in rows, scale steps above the bar's chord root.
struct MotifNote {
    int row, length, step;
};
using Motif = std::vector<MotifNote>;

const Motif motifs[] = {
    {{0, 4, 0}, {4, 2, 1}, {6, 2, 2}, {8, 6, 4}, {14, 2, 2}},
    {{0, 6, 4}, {6, 2, 2}, {8, 4, 0}, {12, 4, 2}},
    {{0, 3, 2}, {3, 3, 4}, {6, 2, 7}, {8, 8, 4}},
    {{0, 2, 0}, {2, 2, 2}, {4, 4, 4}, {8, 2, 5}, {10, 2, 4}, {12, 4, 2}},
    {{0, 8, 2}, {8, 4, 4}, {12, 2, 2}, {14, 2, 1}},
    {{2, 2, 4}, {4, 4, 2}, {8, 2, 0}, {10, 2, 2}, {12, 4, 4}},
    {{0, 12, 4}, {12, 2, 2}, {14, 2, 4}},
    {{0, 4, 7}, {4, 4, 4}, {8, 4, 2}, {12, 4, 0}},
};

// Varies the motif for bar number bar (0..7) of a phrase: statements, altered endings, an answer with
// the contour turned over, a rhythmic split, and a held cadence to close the phrase.
Motif vary(const Motif &motif, int bar) {
    if (bar == 7)
        return {{0, 12, 0}, {12, 4, 1}};
    Motif out;
    for (MotifNote note : motif) {
        if (bar == 3)
            note.step = 4 - note.step;
        if (bar == 6 && note.length >= 4) {
            out.push_back({note.row, note.length / 2, note.step});
            out.push_back({note.row + note.length / 2, note.length - note.length / 2, note.step + 1});
        } else {
            out.push_back(note);
        }
    }
    if ((bar == 1 || bar == 5) && !out.empty())
        out.back().step += bar == 1 ? 2 : -1;
    return out;
}

// The second time round a melody gains passing notes wherever it leaps after a long enough note.
Motif embellish(const Motif &motif) {
    Motif out;
    for (size_t i = 0; i < motif.size(); i++) {
        MotifNote note = motif[i];
        if (i + 1 < motif.size() && note.length >= 4 && std::abs(motif[i + 1].step - note.step) >= 2) {
            out.push_back({note.row, note.length - 2, note.step});
            out.push_back({note.row + note.length - 2, 2, (note.step + motif[i + 1].step) / 2});
        } else {
            out.push_back(note);
        }
    }
    return out;
}

// ---- Track styles ------------------------------------------------------------------------------

enum ChordStyle { CH_ARP, CH_PAD, CH_STAB };

struct BassNote {
    int row, length, kind; // kind 0 root, 1 fifth, 2 octave
};

const std::vector<BassNote> bassLines[] = {
    {{0, 4, 0}, {6, 2, 0}, {8, 4, 1}, {12, 2, 2}, {14, 2, 1}},            // bouncing
    {{0, 4, 0}, {4, 4, 1}, {8, 4, 2}, {12, 4, 1}},                        // walking
    {{0, 8, 0}, {8, 6, 1}, {14, 2, 0}},                                   // slow
    {{0, 3, 0}, {3, 3, 0}, {6, 2, 1}, {8, 3, 0}, {11, 3, 2}, {14, 2, 1}}, // syncopated
};

// Drum grooves, one bar each: K kick, S snare, h hat, H accented hat, T and t toms (the kick pitched up).
const char *const grooves[] = {
    "K.h.S.h.K.h.S.hh", // backbeat
    "K.h.h.h.K.h.h.hH", // light
    "K..hS.h.K.hhS..h", // shuffle
    "K.T.t.T.K.TtS.Tt", // jungle toms
    "K.h.h.h.S.h.h.h.", // half time
    "K.....h.K.....h.", // sparse
};
const char *const fills[] = {"SSSS", "TTtt", "S.SS"};

struct Style {
    int root; // tonic, semitones above C
    const Mode *mode;
    int tempo;
    int lead, leadB; // lead instruments of the A and B sections
    ChordStyle chords;
    int bass, groove, fill;
    int progA[8], progB[8]; // scale degrees of the chords, one per bar
    int motifA, motifB;
};

// Tracks 0 to 10: the title tune, then the stage tunes.
const Style styles[MUSIC_TITLES] = {
    {5,
     &IONIAN,
     132,
     SQUARE,
     PULSE,
     CH_ARP,
     0,
     0,
     0,
     {0, 4, 5, 3, 0, 4, 3, 4},
     {3, 4, 0, 5, 3, 4, 1, 4},
     0,
     4},
    {7,
     &IONIAN,
     116,
     FLUTE,
     PULSE,
     CH_PAD,
     1,
     1,
     2,
     {0, 3, 0, 4, 0, 3, 1, 4},
     {5, 3, 0, 4, 5, 3, 1, 4},
     3,
     6},
    {10,
     &LYDIAN,
     108,
     BELL,
     FLUTE,
     CH_ARP,
     2,
     2,
     2,
     {0, 1, 0, 1, 5, 1, 3, 4},
     {3, 0, 3, 0, 5, 3, 1, 4},
     5,
     1},
    {9,
     &DORIAN,
     138,
     PULSE,
     SQUARE,
     CH_STAB,
     3,
     3,
     1,
     {0, 3, 0, 3, 0, 6, 3, 4},
     {2, 3, 6, 0, 2, 3, 4, 4},
     2,
     7},
    {4,
     &AEOLIAN,
     104,
     FLUTE,
     BELL,
     CH_PAD,
     2,
     4,
     0,
     {0, 5, 2, 6, 0, 5, 3, 4},
     {5, 6, 0, 3, 5, 6, 4, 4},
     1,
     6},
    {0,
     &AEOLIAN,
     100,
     BELL,
     FLUTE,
     CH_PAD,
     2,
     5,
     2,
     {0, 5, 3, 4, 0, 5, 6, 4},
     {3, 0, 5, 6, 3, 0, 3, 4},
     4,
     2},
    {2,
     &IONIAN,
     128,
     PULSE,
     FLUTE,
     CH_ARP,
     1,
     0,
     0,
     {0, 5, 3, 4, 0, 5, 1, 4},
     {3, 0, 3, 0, 1, 4, 0, 4},
     7,
     3},
    {7,
     &DORIAN,
     120,
     SQUARE,
     BELL,
     CH_STAB,
     3,
     3,
     1,
     {0, 6, 3, 0, 0, 6, 3, 4},
     {5, 6, 0, 0, 2, 3, 4, 4},
     0,
     5},
    {3,
     &MIXOLYDIAN,
     136,
     SQUARE,
     PULSE,
     CH_STAB,
     0,
     2,
     0,
     {0, 6, 3, 0, 0, 6, 3, 4},
     {3, 3, 0, 0, 6, 6, 3, 4},
     6,
     3},
    {6,
     &AEOLIAN,
     112,
     FLUTE,
     PULSE,
     CH_ARP,
     1,
     4,
     2,
     {0, 3, 6, 2, 5, 3, 4, 4},
     {5, 6, 2, 0, 5, 3, 4, 4},
     2,
     0},
    {9,
     &IONIAN,
     124,
     PULSE,
     SQUARE,
     CH_PAD,
     0,
     0,
     0,
     {0, 3, 4, 0, 5, 3, 1, 4},
     {3, 4, 2, 5, 3, 4, 0, 4},
     1,
     5},
};

// Arpeggio parameter of the triad on degree: third and fifth in semitones above its root.
int triad(const Style &style, int degree) {
    int root = semis(*style.mode, degree);
    return (semis(*style.mode, degree + 2) - root) << 4 | (semis(*style.mode, degree + 4) - root);
}

// Note indexes of the voices: the lead around C-4, the bass below C-3 (its long cycle sounds an octave
// lower), chords around C-4.
constexpr int LEAD_LOW = -2, LEAD_HIGH = 10; // scale degrees around the lead's tonic
int leadBase(const Style &style) { return style.root <= 6 ? 12 + style.root : style.root; }
int bassNote(const Style &style, int degree, int kind) {
    int note = style.root + semis(*style.mode, degree) + (kind == 1 ? 7 : kind == 2 ? 12 : 0);
    return note > 23 ? note - 12 : note;
}
int chordNote(const Style &style, int degree) {
    int note = 12 + style.root + semis(*style.mode, degree);
    return note >= 24 ? note - 12 : note;
}

struct Composer {
    const Style &style;
    Song &song;
    int lastLeadDegree = 2, lastPad = -1;

    // One bar of the melody starting at row from over the chord on degree.
    void melodyBar(int from, int chord, const Motif &notes, int instrument) {
        for (const MotifNote &note : notes) {
            // the octave nearest to the last note, within the lead's range of an octave and a half
            int degree = chord + note.step, best = LEAD_HIGH + 7;
            for (int candidate = degree - 14; candidate <= degree + 14; candidate += 7)
                if (candidate >= LEAD_LOW && candidate <= LEAD_HIGH &&
                    std::abs(candidate - lastLeadDegree) < std::abs(best - lastLeadDegree))
                    best = candidate;
            degree = best <= LEAD_HIGH ? best : std::clamp(degree, LEAD_LOW, LEAD_HIGH);
            lastLeadDegree = degree;
            int row = from + note.row, accent = note.row == 0 ? 0x30 : note.row == 8 ? 0x2C : 0x26;
            play(song, row, MEL, leadBase(style) + semis(*style.mode, degree), instrument, 0xC, accent);
            if (note.length >= 6)
                shapeNote(song, row, note.length, MEL, 0x43, 0x02);
            else if (note.length >= 3)
                effect(song, row + note.length - 1, MEL, 0xA, 0x04);
        }
    }

    void bassBar(int from, int chord, int nextChord, bool lastBar) {
        for (const BassNote &b : bassLines[style.bass]) {
            // the last note of a bar leans toward the next chord when it is the fifth
            int degree = b.row >= 14 && b.kind == 1 ? nextChord : chord;
            int kind = b.row >= 14 && b.kind == 1 ? 0 : b.kind;
            play(song, from + b.row, BASS, bassNote(style, degree, kind), TRIBASS);
            if (b.length >= 3)
                effect(song, from + b.row + b.length - 1, BASS, 0xA, lastBar ? 0x04 : 0x02);
        }
    }

    void chordBar(int from, int chord, bool lastBar) {
        int arp = triad(style, chord);
        switch (style.chords) {
        case CH_ARP:
            for (int r = 0; r < BAR; r++) {
                if (r % 8 == 0)
                    play(song, from + r, CHORD, chordNote(style, chord), ARP);
                effect(song, from + r, CHORD, 0x0, arp);
            }
            break;
        case CH_STAB:
            for (int r = 2; r < BAR; r += 4) {
                play(song, from + r, CHORD, chordNote(style, chord), STAB, 0x0, arp);
                effect(song, from + r + 1, CHORD, 0xC, 0x00);
            }
            break;
        case CH_PAD: {
            // an inner voice: the chord tone nearest to the last one, swelling in and breathing out
            int best = -1;
            for (int step : {0, 2, 4}) {
                int note = chordNote(style, chord + step);
                if (best < 0 || (lastPad >= 0 && std::abs(note - lastPad) < std::abs(best - lastPad)))
                    best = note;
            }
            lastPad = best;
            play(song, from, CHORD, best, PAD, 0xC, 0x10);
            for (int r = 1; r <= 3; r++)
                effect(song, from + r, CHORD, 0xA, 0x20);
            effect(song, from + 5, CHORD, 0x4, 0x32);
            for (int r = 6; r < 12; r++)
                effect(song, from + r, CHORD, 0x4, 0x00);
            for (int r = 12; r < BAR; r++)
                effect(song, from + r, CHORD, 0xA, lastBar ? 0x03 : 0x01);
            break;
        }
        }
    }

    void drumBar(int from, bool fill) {
        std::string bar = grooves[style.groove];
        if (fill)
            bar.replace(12, 4, fills[style.fill]);
        for (int r = 0; r < BAR; r++) {
            char hit = bar[r];
            int volume = fill && r >= 12 ? 0x20 + 6 * (r - 12) : 0;
            switch (hit) {
            case 'K':
                play(song, from + r, DRUM, 12, KICK, 0xC, 0x38);
                break;
            case 'S':
                play(song, from + r, DRUM, 12, SNARE, 0xC, volume ? volume : 0x30);
                break;
            case 'h':
                play(song, from + r, DRUM, 24, HAT, 0xC, 0x14);
                break;
            case 'H':
                play(song, from + r, DRUM, 24, HAT, 0xC, 0x22);
                break;
            case 'T':
                play(song, from + r, DRUM, 21, KICK, 0xC, volume ? volume : 0x2C);
                break;
            case 't':
                play(song, from + r, DRUM, 16, KICK, 0xC, volume ? volume : 0x2C);
                break;
            }
        }
    }

    // An 8-bar section; second marks the varied repeat.
    void section(int from, const int *prog, int motif, int lead, bool second) {
        for (int bar = 0; bar < 8; bar++) {
            int at = from + bar * BAR, next = prog[(bar + 1) % 8];
            Motif notes = vary(motifs[motif], bar);
            if (second && bar != 7)
                notes = embellish(notes);
            melodyBar(at, prog[bar], notes, lead);
            bassBar(at, prog[bar], next, bar == 7);
            chordBar(at, prog[bar], bar == 7);
            drumBar(at, bar == 7 || (second && bar == 3));
        }
    }

    // Four bars of chords and bass over the first half of the A progression; the drums join halfway.
    void intro() {
        for (int bar = 0; bar < 4; bar++) {
            int at = bar * BAR;
            bassBar(at, style.progA[bar], style.progA[bar + 1], false);
            chordBar(at, style.progA[bar], false);
            if (bar >= 2)
                drumBar(at, bar == 3);
        }
    }
};

// Intro, A, B, A', B', then back to A: about a minute or more at every tempo.
Song composeStage(int track) {
    const Style &style = styles[track];
    Song song{musix_titles[track], std::vector<Row>(ROWS * 9), 1};
    Composer c{style, song};
    c.intro();
    c.section(1 * ROWS, style.progA, style.motifA, style.lead, false);
    c.section(3 * ROWS, style.progB, style.motifB, style.leadB, false);
    c.section(5 * ROWS, style.progA, style.motifA, style.lead, true);
    c.section(7 * ROWS, style.progB, style.motifB, style.leadB, true);
    command(song, 0, 0xF, 6);
    command(song, 0, 0xF, style.tempo);
    return song;
}

// A short piece ending on a held chord: the notes are (row, channel, note, instrument); the whole
// chord fades over the last rows and a pattern break ends the song after length rows.
struct ShortNote {
    int row, channel, note, instrument, effect, param;
};
Song composeShort(const std::string &title, int tempo, int length, const std::vector<ShortNote> &notes) {
    Song song{title, std::vector<Row>(ROWS), -1};
    for (const ShortNote &n : notes)
        play(song, n.row, n.channel, n.note, n.instrument, n.effect, n.param);
    for (int channel = 0; channel < CHANNELS; channel++) {
        for (int r = length - 10; r < length - 4; r++)
            effect(song, r, channel, 0x4, r == length - 10 ? 0x33 : 0);
        for (int r = length - 4; r < length; r++)
            effect(song, r, channel, 0xA, 0x03);
    }
    command(song, 0, 0xF, 6);
    command(song, 0, 0xF, tempo);
    song.rows[length - 1][DRUM].effect = 0xD; // break into the empty order list: the end
    song.rows[length - 1][DRUM].param = 0;
    return song;
}

// The stage-complete fanfare: a rising C major call, a ii-V cadence and a held chord, about 3.8 s.
Song composeFanfare() {
    std::vector<ShortNote> notes = {
        {0, MEL, 12, SQUARE, 0xC, 0x30},  {2, MEL, 16, SQUARE, 0xC, 0x30},  {4, MEL, 19, SQUARE, 0xC, 0x30},
        {6, MEL, 24, SQUARE, 0xC, 0x34},  {12, MEL, 21, SQUARE, 0xC, 0x30}, {14, MEL, 23, SQUARE, 0xC, 0x30},
        {16, MEL, 24, SQUARE, 0xC, 0x38}, {0, BASS, 12, TRIBASS, 0, 0},     {6, BASS, 7, TRIBASS, 0, 0},
        {12, BASS, 5, TRIBASS, 0, 0},     {14, BASS, 7, TRIBASS, 0, 0},     {16, BASS, 0, TRIBASS, 0, 0},
        {0, CHORD, 12, ARP, 0x0, 0x47},   {12, CHORD, 17, ARP, 0x0, 0x49},  {14, CHORD, 19, ARP, 0x0, 0x47},
        {16, CHORD, 16, PAD, 0xC, 0x30},  {0, DRUM, 12, KICK, 0xC, 0x38},   {6, DRUM, 12, KICK, 0xC, 0x38},
        {8, DRUM, 12, SNARE, 0xC, 0x18},  {9, DRUM, 12, SNARE, 0xC, 0x1C},  {10, DRUM, 12, SNARE, 0xC, 0x22},
        {11, DRUM, 12, SNARE, 0xC, 0x28}, {12, DRUM, 12, SNARE, 0xC, 0x2E}, {14, DRUM, 12, SNARE, 0xC, 0x34},
        {16, DRUM, 19, PAD, 0xC, 0x30},
    };
    Song song = composeShort(musix[MUSIC_LEVEL_COMPLETE], 125, 32, notes);
    int arp = 0;
    for (int r = 0; r < 16; r++) { // each arpeggio holds until the next chord
        Cell &cell = song.rows[r][CHORD];
        arp = cell.note >= 0 ? cell.param : arp;
        effect(song, r, CHORD, 0x0, arp);
    }
    return song;
}

// The maker jingle: three rising bell notes over a stab, then a held chord with an added ninth, about 2.9 s.
Song composeJingle() {
    std::vector<ShortNote> notes = {
        {0, MEL, 19, BELL, 0xC, 0x34},   {2, MEL, 24, BELL, 0xC, 0x38},  {4, MEL, 28, BELL, 0xC, 0x3C},
        {6, MEL, 26, FLUTE, 0xC, 0x30},  {0, BASS, 0, TRIBASS, 0, 0},    {6, BASS, 0, TRIBASS, 0, 0},
        {0, CHORD, 12, STAB, 0x0, 0x47}, {6, CHORD, 16, PAD, 0xC, 0x2C}, {0, DRUM, 12, KICK, 0xC, 0x30},
        {6, DRUM, 19, PAD, 0xC, 0x2C},
    };
    return composeShort(musix[MUSIC_JINGLE], 125, 24, notes);
}

Song compose(int track) {
    if (track == MUSIC_LEVEL_COMPLETE)
        return composeFanfare();
    if (track == MUSIC_JINGLE)
        return composeJingle();
    return composeStage(track);
}

// ---- The module file ---------------------------------------------------------------------------

void putName(std::string &out, const std::string &name, size_t size) {
    std::string field = name.substr(0, size);
    field.resize(size, '\0');
    out += field;
}
void putWord(std::string &out, int value) {
    out += char((value >> 8) & 0xFF);
    out += char(value & 0xFF);
}

std::string writeModule(const Song &song, const std::array<Sample, INSTRUMENTS> &instruments) {
    std::string out;
    putName(out, song.title, 20);
    for (int i = 1; i <= 31; i++) {
        Sample none{"", {}, 0, false};
        const Sample &s = i < INSTRUMENTS ? instruments[i] : none;
        putName(out, s.name, 22);
        putWord(out, int(s.data.size() / 2));
        out += char(0);        // finetune
        out += char(s.volume); // default volume
        putWord(out, 0);       // loop start
        putWord(out, s.loops ? int(s.data.size() / 2) : 1);
    }
    int patterns = int(song.rows.size() / ROWS);
    out += char(patterns);
    out += char(127);
    for (int i = 0; i < 128; i++)
        out += char(i < patterns ? i : 0);
    out += "M.K.";
    std::vector<Row> rows = song.rows;
    if (song.loopOrder >= 0) {
        // the jump back sits on the last row, in a channel with a free effect slot
        Song copy = song;
        command(copy, int(rows.size()) - 1, 0xB, song.loopOrder);
        rows = copy.rows;
    }
    for (const Row &row : rows)
        for (const Cell &cell : row) {
            int period = cell.note >= 0 ? periods[cell.note] : 0;
            out += char((cell.sample & 0xF0) | (period >> 8));
            out += char(period & 0xFF);
            out += char(((cell.sample & 0x0F) << 4) | cell.effect);
            out += char(cell.param);
        }
    for (int i = 1; i < INSTRUMENTS; i++)
        out.append(reinterpret_cast<const char *>(instruments[i].data.data()), instruments[i].data.size());
    return out;
}

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

// Renders the module once through with the game's output settings, for listening and measuring.
int render(const std::string &module, const char *path) {
    ModPlug_Settings settings;
    ModPlug_GetSettings(&settings);
    settings.mFlags = MODPLUG_ENABLE_OVERSAMPLING | MODPLUG_ENABLE_NOISE_REDUCTION;
    settings.mChannels = 2;
    settings.mBits = 16;
    settings.mFrequency = 22050;
    settings.mResamplingMode = MODPLUG_RESAMPLE_LINEAR;
    settings.mLoopCount = 0;
    ModPlug_SetSettings(&settings);
    ModPlugFile *file = ModPlug_Load(module.data(), int(module.size()));
    if (!file) {
        fprintf(stderr, "modgen: libmodplug rejects the module\n");
        return 1;
    }
    std::string pcm;
    char buffer[4096];
    int got;
    while ((got = ModPlug_Read(file, buffer, sizeof buffer)) > 0 && pcm.size() < 22050u * 4 * 600)
        pcm.append(buffer, size_t(got));
    ModPlug_Unload(file);
    std::string wav = "RIFF";
    put32(wav, uint32_t(36 + pcm.size()));
    wav += "WAVEfmt ";
    put32(wav, 16);
    put32(wav, 1 | 2 << 16); // PCM, stereo
    put32(wav, 22050);
    put32(wav, 22050 * 4);
    put32(wav, 4 | 16 << 16); // block align, bits
    wav += "data";
    put32(wav, uint32_t(pcm.size()));
    wav += pcm;
    if (!writeFile(path, wav)) {
        fprintf(stderr, "modgen: cannot write %s\n", path);
        return 1;
    }
    printf("%s: %.1f s\n", path, pcm.size() / (22050.0 * 4));
    return 0;
}

} // namespace

int main(int argc, char **argv) {
    auto instruments = makeInstruments();
    if (argc == 4 && std::string(argv[1]) == "--render") {
        int track = atoi(argv[2]);
        if (track < 0 || track >= MUSIC_TRACKS) {
            fprintf(stderr, "modgen: tracks are 0 to %d\n", MUSIC_TRACKS - 1);
            return 1;
        }
        return render(writeModule(compose(track), instruments), argv[3]);
    }
    if (argc != 2) {
        fprintf(stderr, "usage: modgen OUTDIR | modgen --render TRACK OUT.wav\n");
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
