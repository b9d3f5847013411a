// The composer: turns a track's score into rows.
#include "compose.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <sstream>

const Mode IONIAN = {{0, 2, 4, 5, 7, 9, 11}}, DORIAN = {{0, 2, 3, 5, 7, 9, 10}},
           MIXOLYDIAN = {{0, 2, 4, 5, 7, 9, 10}}, AEOLIAN = {{0, 2, 3, 5, 7, 8, 10}},
           LYDIAN = {{0, 2, 4, 6, 7, 9, 11}};

namespace {

[[noreturn]] void fail(const std::string &where, const std::string &what) {
    fprintf(stderr, "modgen: %s: %s\n", where.c_str(), what.c_str());
    exit(1);
}

// Semitones above the tonic of a scale degree counted from 0 (degrees may go below 0 or past 6).
int semis(const Mode &mode, int degree) {
    int octave = degree >= 0 ? degree / 7 : -((6 - degree) / 7);
    return mode.steps[degree - 7 * octave] + 12 * octave;
}

// ---- Chords ----------------------------------------------------------------------------------------

struct Chord {
    int degree; // 0-based scale degree of the root
    int root;   // semitones above the tonic, 0 to 11
    int third, fifth;
};

Chord parseChord(const std::string &token, const Mode &mode, const std::string &where) {
    if (token.empty() || token[0] < '1' || token[0] > '7' || token.size() > 2 ||
        (token.size() == 2 && token[1] != 'M'))
        fail(where, "chord \"" + token + "\" is not understood");
    int degree = token[0] - '1';
    Chord chord{degree, semis(mode, degree), semis(mode, degree + 2) - semis(mode, degree),
                semis(mode, degree + 4) - semis(mode, degree)};
    if (token.size() == 2)
        chord.third = 4, chord.fifth = 7;
    return chord;
}

// Two chords a bar, one for each half.
std::vector<Chord> parseChords(const char *chords, const Mode &mode, const std::string &where) {
    std::vector<Chord> halves;
    std::istringstream in(chords);
    std::string bar;
    while (in >> bar) {
        size_t split = bar.find('/');
        Chord first = parseChord(bar.substr(0, split), mode, where);
        halves.push_back(first);
        halves.push_back(split == std::string::npos ? first : parseChord(bar.substr(split + 1), mode, where));
    }
    return halves;
}

// ---- Melody ----------------------------------------------------------------------------------------

struct Written {
    int row, length;
    bool rest;
    int degree, shift; // 0-based scale degree with its octaves; semitones off the mode
};

std::vector<Written> parseWritten(const std::string &melody, const std::string &where) {
    std::vector<Written> notes;
    std::istringstream in(melody);
    std::string token;
    int row = 0, bars = 0;
    while (in >> token) {
        if (token == "|") {
            if (row != ++bars * BAR)
                fail(where, "bar " + std::to_string(bars) + " holds " +
                                std::to_string(row - (bars - 1) * BAR) + " rows");
            continue;
        }
        Written note{row, 0, false, 0, 0};
        size_t at = 0;
        bool hold = false;
        if (token[at] == 'r' || token[at] == '-') {
            note.rest = token[at] == 'r';
            hold = token[at++] == '-';
        } else {
            if (token[at] == 'b' || token[at] == '#')
                note.shift = token[at++] == 'b' ? -1 : 1;
            if (at >= token.size() || token[at] < '1' || token[at] > '7')
                fail(where, "note \"" + token + "\" has no pitch");
            note.degree = token[at++] - '1';
            for (; at < token.size() && (token[at] == '\'' || token[at] == ','); at++)
                note.degree += token[at] == '\'' ? 7 : -7;
        }
        const char *durations = "whqes";
        const char *found = at < token.size() ? strchr(durations, token[at]) : nullptr;
        if (!found)
            fail(where, "note \"" + token + "\" has no duration");
        note.length = 16 >> (found - durations);
        at++;
        if (at < token.size() && token[at] == '.') {
            note.length += note.length / 2;
            at++;
        }
        if (at != token.size())
            fail(where, "note \"" + token + "\" is not understood");
        if (hold) {
            if (notes.empty())
                fail(where, "a hold with nothing to hold");
            notes.back().length += note.length;
        } else {
            notes.push_back(note);
        }
        row += note.length;
    }
    if (row % BAR)
        fail(where, "the melody ends inside a bar");
    return notes;
}

} // namespace

std::vector<MelodyNote> parseMelody(const std::string &melody, const Mode &mode, int tonic,
                                    const std::string &where) {
    std::vector<MelodyNote> notes;
    for (const Written &w : parseWritten(melody, where))
        notes.push_back({w.row, w.length, w.rest ? -1 : tonic + semis(mode, w.degree) + w.shift});
    return notes;
}

std::vector<std::array<int, 3>> sectionHarmony(const Track &track, const Section &section) {
    std::vector<std::array<int, 3>> harmony;
    for (const Chord &chord : parseChords(section.chords, *track.mode, section.chords)) {
        int root = (track.root + chord.root) % 12;
        harmony.push_back({root, (root + chord.third) % 12, (root + chord.fifth) % 12});
    }
    return harmony;
}

namespace {

// ---- Sections ------------------------------------------------------------------------------------

bool oneShot(int instrument) { return instrument == BELL || instrument == KALIMBA; }

struct Composer {
    const Track &track;
    Song &song;
    int lastPad = -1;

    // The bass's root of a chord: within a fifth below and a fifth above the tonic, or above the tonic
    // where below would leave the three octaves.
    int bassRoot(const Chord &chord) const {
        int note = track.bassTonic + chord.root;
        return note > track.bassTonic + 7 && note >= 12 ? note - 12 : note;
    }
    // The chord channel's root: E-3 to D#4, so its arpeggio stays inside the three octaves.
    int chordRoot(const Chord &chord) const { return 16 + (track.root + chord.root + 8) % 12; }

    void melody(int from, int end, const Section &section, const std::vector<MelodyNote> &notes, int channel,
                int volumeDrop, int delay) {
        for (size_t i = 0; i < notes.size(); i++) {
            const MelodyNote &n = notes[i];
            int row = from + n.row + delay;
            if (row >= end)
                break;
            if (n.note < 0) {
                if (!oneShot(section.lead) && (i == 0 || notes[i - 1].note >= 0))
                    effect(song, row, channel, 0xC, 0);
                continue;
            }
            int accent = n.row % BAR == 0 ? 6 : n.row % BEAT == 0 ? 3 : 0;
            int volume = std::clamp(section.leadVolume + accent - volumeDrop, 8, 64);
            play(song, row, channel, n.note, section.lead, 0xC, volume);
            int last = std::min(row + n.length, end) - 1;
            if (oneShot(section.lead))
                continue;
            if (n.length >= 6) {
                int vibrato = section.lead == FLUTE ? 0x44 : 0x33;
                for (int r = row + 3; r < last - 1; r++)
                    effect(song, r, channel, 0x4, r == row + 3 ? vibrato : 0);
                effect(song, last - 1, channel, 0xA, 0x01);
                effect(song, last, channel, 0xA, 0x02);
            } else if (n.length >= 3) {
                effect(song, last, channel, 0xA, 0x02);
            }
        }
    }

    void bass(int from, int bars, const std::vector<Chord> &halves, const Chord &after, int line) {
        const char *pattern = track.bassLines[line];
        int length = int(strlen(pattern));
        for (int bar = 0; bar < bars; bar++) {
            const Chord &next = bar + 1 < bars ? halves[2 * bar + 2] : after;
            for (int r = 0; r < BAR; r++) {
                char c = pattern[(bar * BAR + r) % length];
                int row = from + bar * BAR + r;
                const Chord &chord = halves[2 * bar + r / 8];
                int root = bassRoot(chord), target = bassRoot(next);
                // the scale step below the next root, or an octave up where that leaves the range
                int step = target - (semis(*track.mode, next.degree) - semis(*track.mode, next.degree - 1));
                int note, volume = 0x38;
                switch (c) {
                case 'R':
                    note = root, volume = 0x40;
                    break;
                case 'r':
                    note = root, volume = 0x28;
                    break;
                case '3':
                    note = root + chord.third;
                    break;
                case '5':
                    note = root + chord.fifth;
                    break;
                case '8':
                    note = root + 12;
                    break;
                case 'a':
                    note = step < 0 ? step + 12 : step;
                    break;
                case 'c':
                    note = target > 0 ? target - 1 : target + 11;
                    break;
                case '-':
                    if (track.pluckedBass)
                        effect(song, row, BASS, 0xA, 0x01);
                    continue;
                case '.':
                    effect(song, row, BASS, 0xC, 0);
                    continue;
                default:
                    fail(song.title, std::string("bass line has '") + c + "'");
                }
                play(song, row, BASS, note, TRIBASS, 0xC, volume);
            }
        }
    }

    // The chord tones in the channel's range nearest to the last pad note.
    int padNote(const Chord &chord) {
        int best = -1;
        for (int interval : {0, chord.third, chord.fifth})
            for (int octave : {-12, 0, 12}) {
                int note = chordRoot(chord) + interval + octave;
                if (note < 14 || note > 27)
                    continue;
                if (best < 0 || std::abs(note - lastPad) < std::abs(best - lastPad))
                    best = note;
            }
        lastPad = best;
        return best;
    }

    void chords(int from, int bars, const std::vector<Chord> &halves, const Section &section) {
        const char *rhythm = section.chordRhythm ? section.chordRhythm : "";
        if (section.chordStyle != CH_ARP && section.chordStyle != CH_STAB && section.chordStyle != CH_PLUCK) {
            if (section.chordStyle == CH_NONE && from > 0)
                effect(song, from, CHORD, 0xC, 0);
            if (section.chordStyle != CH_PAD)
                return;
            for (int half = 0; half < 2 * bars; half++) {
                int at = from + half * 8;
                bool changes = half % 2 == 0 || halves[half].root != halves[half - 1].root ||
                               halves[half].third != halves[half - 1].third;
                if (!changes)
                    continue;
                bool whole = half % 2 == 0 && halves[half + 1].root == halves[half].root;
                int length = whole ? BAR : 8;
                play(song, at, CHORD, padNote(halves[half]), PAD, 0xC, 0x10);
                for (int r = 1; r <= 3; r++)
                    effect(song, at + r, CHORD, 0xA, 0x20);
                for (int r = 5; r < length - 3; r++)
                    effect(song, at + r, CHORD, 0x4, r == 5 ? 0x32 : 0);
                for (int r = length - 3; r < length; r++)
                    effect(song, at + r, CHORD, 0xA, 0x01);
            }
            return;
        }
        if (strlen(rhythm) != BAR)
            fail(song.title, "a chord rhythm is not one bar long");
        for (int bar = 0; bar < bars; bar++)
            for (int r = 0; r < BAR; r++) {
                int row = from + bar * BAR + r, half = 2 * bar + r / 8;
                const Chord &chord = halves[half];
                int arp = chord.third << 4 | chord.fifth;
                char c = rhythm[r];
                bool changed =
                    r == 8 && (chord.root != halves[half - 1].root || chord.third != halves[half - 1].third);
                if (section.chordStyle == CH_PLUCK) {
                    const char *tones = "1358";
                    const char *tone = strchr(tones, c);
                    if (c == '.')
                        continue;
                    if (!tone)
                        fail(song.title, std::string("a thumb-piano rhythm has '") + c + "'");
                    int intervals[4] = {0, chord.third, chord.fifth, 12};
                    int volume = r % BEAT == 0 ? 0x30 : 0x24;
                    play(song, row, CHORD, chordRoot(chord) + intervals[tone - tones] - 12, KALIMBA, 0xC,
                         volume);
                } else if (c == 'x' || (c == '-' && changed)) {
                    play(song, row, CHORD, chordRoot(chord), section.chordStyle == CH_ARP ? ARP : STAB, 0x0,
                         arp);
                } else if (c == '-') {
                    effect(song, row, CHORD, 0x0, arp);
                } else if (c == '.') {
                    if (r == 0 || rhythm[r - 1] != '.')
                        effect(song, row, CHORD, 0xC, 0);
                } else {
                    fail(song.title, std::string("a chord rhythm has '") + c + "'");
                }
            }
    }

    void drums(int from, int bars, const Section &section) {
        const char *groove = track.grooves[section.groove];
        int length = int(strlen(groove));
        for (int bar = section.drumsFrom; bar < bars; bar++) {
            std::string notes;
            for (int r = 0; r < BAR; r++)
                notes += groove[(bar * BAR + r) % length];
            if (bar == bars - 1)
                notes.replace(BAR - 8, 8, track.longFill);
            else if (bar == 3)
                notes.replace(BAR - 4, 4, track.shortFill);
            for (int r = 0; r < BAR; r++)
                hit(from + bar * BAR + r, notes[r]);
        }
    }

    void hit(int row, char c) {
        struct Hit {
            char name;
            int note, sample, volume;
        };
        static const Hit hits[] = {
            {'K', 12, KICK, 0x40}, {'k', 12, KICK, 0x28}, {'S', 12, SNARE, 0x36},    {'s', 12, SNARE, 0x16},
            {'h', 24, HAT, 0x14},  {'H', 24, HAT, 0x20},  {'o', 24, OPEN_HAT, 0x1A}, {'T', 21, KICK, 0x30},
            {'M', 17, KICK, 0x30}, {'L', 14, KICK, 0x32}, {'r', 24, RIM, 0x2A},
        };
        if (c == '.')
            return;
        for (const Hit &h : hits)
            if (h.name == c) {
                play(song, row, DRUM, h.note, h.sample, 0xC, h.volume);
                return;
            }
        fail(song.title, std::string("a groove has '") + c + "'");
    }

    void section(int from, const Section &section, const Chord &after, int index) {
        std::string where = song.title + " section " + std::to_string(index + 1);
        std::vector<Chord> halves = parseChords(section.chords, *track.mode, where);
        int bars = int(halves.size()) / 2;
        std::vector<MelodyNote> notes;
        if (!section.melody.empty()) {
            notes = parseMelody(section.melody, *track.mode, track.leadTonic, where);
            int rows = notes.empty() ? 0 : notes.back().row + notes.back().length;
            if (rows != bars * BAR)
                fail(where, "the melody has " + std::to_string(rows / BAR) + " bars, the chords " +
                                std::to_string(bars));
        } else if (from > 0) {
            effect(song, from, MEL, 0xC, 0); // the lead rests from here
        }
        int end = from + bars * BAR;
        melody(from, end, section, notes, MEL, 0, 0);
        if (section.chordStyle == CH_ECHO)
            melody(from, end, section, notes, CHORD, 0x14, 3);
        else
            chords(from, bars, halves, section);
        bass(from, bars, halves, after, section.bass);
        drums(from, bars, section);
    }
};

} // namespace

Song composeTrack(const std::string &title, const Track &track) {
    int bars = 0;
    std::vector<Chord> firsts;
    for (const Section &section : track.form) {
        std::vector<Chord> halves = parseChords(section.chords, *track.mode, title);
        if (halves.size() % 8)
            fail(title, "a section is not a whole number of 4-bar patterns");
        firsts.push_back(halves[0]);
        bars += int(halves.size()) / 2;
    }
    Song song{title, std::vector<Row>(bars * BAR), true};
    Composer composer{track, song};
    int from = 0;
    for (size_t i = 0; i < track.form.size(); i++) {
        // the last section leads back into the first
        composer.section(from, track.form[i], firsts[(i + 1) % firsts.size()], int(i));
        from += int(parseChords(track.form[i].chords, *track.mode, title).size()) * BAR / 2;
    }
    bool tempo = false;
    for (int channel : {MEL, CHORD, BASS, DRUM})
        tempo = tempo || effect(song, 0, channel, 0xF, track.tempo);
    if (!tempo)
        fail(title, "the first row has no room for the tempo");
    placePans(song);
    return song;
}
