// The music as modgen builds it: rows of four channels, cut into 64-row patterns when written.
#pragma once

#include <array>
#include <string>
#include <vector>

constexpr int CHANNELS = 4, ROWS = 64, BAR = 16, BEAT = 4;
constexpr int MEL = 0, BASS = 1, CHORD = 2, DRUM = 3; // what each channel plays
constexpr int NOTES = 36;                             // three octaves; index 12 is C-3, period 428

enum Instrument {
    SQUARE = 1,
    PULSE,
    FLUTE,
    BELL,
    KALIMBA,
    TRIBASS,
    PAD,
    ARP,
    STAB,
    KICK,
    SNARE,
    HAT,
    OPEN_HAT,
    RIM,
    INSTRUMENTS
};

struct Cell {
    int note = -1; // index into the period table, or -1
    int sample = 0, effect = 0, param = 0;
};
using Row = std::array<Cell, CHANNELS>;

struct Song {
    std::string title;
    std::vector<Row> rows; // the whole song, a multiple of 64 rows
    bool loops = true;     // the last row jumps back to the first
};

// Puts a note on a row; a note outside the three octaves stops modgen with a message.
void play(Song &song, int row, int channel, int note, int sample, int effect = 0, int param = 0);
// Puts an effect on a row where the channel has none yet; false when the slot is taken.
bool effect(Song &song, int row, int channel, int effect, int param);
// A song-wide command (speed, tempo, jump) in the first free effect slot of the row.
void command(Song &song, int row, int effectCode, int param);
// Places the channels in the stereo picture before their first notes: bass and drums in the middle,
// the melody a little to the left, the chords a little to the right.
void placePans(Song &song);
