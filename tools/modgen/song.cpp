// Writing notes and effects into a song's rows.
#include "song.h"

#include <cstdio>
#include <cstdlib>

void play(Song &song, int row, int channel, int note, int sample, int effectCode, int param) {
    if (note < 0 || note >= NOTES || row < 0 || row >= int(song.rows.size())) {
        fprintf(stderr, "modgen: note %d at row %d of %s is out of range\n", note, row, song.title.c_str());
        exit(1);
    }
    song.rows[row][channel] = {note, sample, effectCode, param};
}

bool effect(Song &song, int row, int channel, int effectCode, int param) {
    if (row < 0 || row >= int(song.rows.size()))
        return false;
    Cell &cell = song.rows[row][channel];
    if (cell.effect || cell.param)
        return false;
    cell.effect = effectCode;
    cell.param = param;
    return true;
}

void command(Song &song, int row, int effectCode, int param) {
    for (int channel : {DRUM, CHORD, BASS, MEL})
        if (effect(song, row, channel, effectCode, param))
            return;
    song.rows[row][DRUM].effect = effectCode;
    song.rows[row][DRUM].param = param;
}

// The channels' places: bass and drums in the middle, the melody a little to the left and the
// chords a little to the right. The library reads 8xx of these modules from 00 (left) through 40
// (middle) to 80 (right). Each setting goes on the first free slot up to the channel's first note.
void placePans(Song &song) {
    const int pans[CHANNELS] = {0x30, 0x40, 0x50, 0x40};
    for (int channel = 0; channel < CHANNELS; channel++) {
        int first = 0;
        while (first + 1 < int(song.rows.size()) && song.rows[first][channel].note < 0)
            first++;
        int row = 0;
        while (row < first && !effect(song, row, channel, 0x8, pans[channel]))
            row++;
        if (row == first && song.rows[first][channel].effect != 0xF)
            song.rows[first][channel].effect = 0x8, song.rows[first][channel].param = pans[channel];
    }
}
