// Composing a stage tune from its score: sections of bars with a chord per bar, a written melody,
// and the track's own bass lines, grooves and fills.
#pragma once

#include "song.h"

#include <array>
#include <string>
#include <vector>

struct Mode {
    int steps[7];
};
extern const Mode IONIAN, DORIAN, MIXOLYDIAN, AEOLIAN, LYDIAN;

// What the chord channel plays in a section.
enum ChordStyle {
    CH_NONE,
    CH_ARP,   // the chord as a fast arpeggio, struck where the rhythm says x
    CH_STAB,  // short square chords, struck where the rhythm says x
    CH_PAD,   // a held inner voice that moves to the nearest tone of each chord
    CH_PLUCK, // broken chords on the thumb piano: the rhythm names chord tones 1 3 5 8
    CH_ECHO,  // the melody again, softer, a few rows later
};

// One section: a chord per bar, or two split by '/' ("1 6 4/5 1"): scale degrees of the mode, with
// the mode's own triad, or a major one where an M follows (the dominant of a minor key: "5M").
// The melody is written as notes "pitch duration": pitch a scale degree 1 to 7 (a leading b or #
// for a semitone off the mode, then ' for each octave up or , for each down), r for a rest or - to
// hold the note before; duration w h q e s (16, 8, 4, 2, 1 rows), a dot adding half. '|' marks the
// bar lines, and is checked.
struct Section {
    const char *chords;
    std::string melody; // empty: the lead rests
    int lead;           // the lead's instrument
    int leadVolume;     // its volume on weak beats, 0 to 64
    ChordStyle chordStyle;
    const char *chordRhythm; // one bar of 16 rows for CH_ARP, CH_STAB and CH_PLUCK
    int bass;                // index into the track's bass lines
    int groove;              // index into the track's grooves
    int drumsFrom = 0;       // the bar the drums come in
};

struct Track {
    int root; // the tonic, semitones above C
    const Mode *mode;
    int tempo;
    int leadTonic, bassTonic; // note indexes of the tonic in the lead's and the bass's register
    // bass lines of one bar or more, 16 rows a bar: R r root (accented, soft), 3 5 8 the third, fifth,
    // octave of the chord, a the scale step below the next chord's root, c the semitone below it,
    // - hold, . silence
    std::vector<const char *> bassLines;
    bool pluckedBass; // the bass dies away under each note rather than holding
    // drum grooves of one bar or more: K k kick (accented, soft), S s snare, h H hat, o open hat,
    // T M L toms high to low, r rim, . nothing
    std::vector<const char *> grooves;
    const char *shortFill; // the last 4 rows of the fourth bar of a section
    const char *longFill;  // the last 8 rows of a section
    std::vector<Section> form;
};

// The whole tune, from its first bar to the turnaround that leads back into it.
Song composeTrack(const std::string &title, const Track &track);

// The pitch classes (0 is C) of the root, third and fifth of the chord of each half bar of a section.
std::vector<std::array<int, 3>> sectionHarmony(const Track &track, const Section &section);

// The notes of a written melody: rows from 0, note indexes from the tonic's.
struct MelodyNote {
    int row, length, note; // note -1: a rest
};
std::vector<MelodyNote> parseMelody(const std::string &melody, const Mode &mode, int tonic,
                                    const std::string &where);
