// The scores as music: melodies that sit on their chords, rhythms of each tune's own, phrases and
// forms that turn back to their start, and modules that place every channel in the stereo picture.
#include "compose.h"
#include "scores.h"
#include "sound/sound.h"

#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>

namespace {

std::vector<MelodyNote> notesOf(const Track &track, const Section &section) {
    return parseMelody(section.melody, *track.mode, track.leadTonic, section.chords);
}

bool inChord(const std::array<int, 3> &chord, int note) {
    int pitch = note % 12;
    return pitch == chord[0] || pitch == chord[1] || pitch == chord[2];
}

// Every note that starts on the first or third beat, or lasts half a bar, is a tone of the chord
// it sounds over, unless it is a short leaning note that steps onto one.
TEST(Scores, StrongNotesSitOnTheirChords) {
    for (int t = 0; t < MUSIC_TITLES; t++) {
        const Track &track = stageScore(t);
        for (size_t s = 0; s < track.form.size(); s++) {
            const Section &section = track.form[s];
            auto harmony = sectionHarmony(track, section);
            auto notes = notesOf(track, section);
            for (size_t i = 0; i < notes.size(); i++) {
                const MelodyNote &n = notes[i];
                if (n.note < 0 || (n.row % 8 && n.length < 8))
                    continue;
                const auto &chord = harmony[n.row / 8];
                const MelodyNote *next = i + 1 < notes.size() ? &notes[i + 1] : nullptr;
                bool leans = n.length <= 4 && next && next->note >= 0 && std::abs(next->note - n.note) <= 2 &&
                             inChord(harmony[next->row / 8], next->note);
                EXPECT_TRUE(inChord(chord, n.note) || leans)
                    << musix_titles[t] << " section " << s + 1 << " bar " << n.row / 16 + 1 << " row "
                    << n.row % 16 << ": note " << n.note << " over the chord on " << chord[0];
            }
        }
    }
}

// One bar of a melody as onsets: x a note, r a rest, - a held row.
std::string rhythmOf(const std::vector<MelodyNote> &notes, int bar) {
    std::string rhythm(16, '-');
    for (const MelodyNote &n : notes)
        if (n.row / 16 == bar)
            rhythm[n.row % 16] = n.note < 0 ? 'r' : 'x';
    return rhythm;
}
int onsets(const std::string &rhythm) {
    return int(rhythm.size()) - int(std::count(rhythm.begin(), rhythm.end(), '-'));
}

// No two tunes share a bar rhythm of their melodies (bars of one or two notes aside): each has
// motifs and answers of its own.
TEST(Scores, EveryTuneHasMelodicRhythmsOfItsOwn) {
    std::map<std::string, int> owner;
    for (int t = 0; t < MUSIC_TITLES; t++) {
        std::set<std::string> bars;
        for (const Section &section : stageScore(t).form) {
            if (section.melody.empty())
                continue;
            auto notes = notesOf(stageScore(t), section);
            for (int bar = 0; bar < notes.back().row / 16 + 1; bar++)
                if (onsets(rhythmOf(notes, bar)) >= 3)
                    bars.insert(rhythmOf(notes, bar));
        }
        EXPECT_GE(bars.size(), 3u) << musix_titles[t];
        for (const std::string &rhythm : bars) {
            auto [at, fresh] = owner.insert({rhythm, t});
            EXPECT_TRUE(fresh) << musix_titles[t] << " plays " << rhythm << " as " << musix_titles[at->second]
                               << " does";
        }
    }
}

// Sections of 8 bars carry a question that ends away from the tonic and an answer; every tune varies
// its bass and drums between sections; no two sections end with the same cadence; the tune starts on
// its tonic and its last bar leaves it, so the next pass arrives home.
TEST(Scores, FormsVaryAndTurnBackToTheStart) {
    int bridges = 0;
    for (int t = 0; t < MUSIC_TITLES; t++) {
        const Track &track = stageScore(t);
        std::set<int> basses, grooves;
        std::set<std::pair<int, int>> cadences;
        int melodic = 0;
        for (const Section &section : track.form) {
            auto harmony = sectionHarmony(track, section);
            basses.insert(section.bass);
            grooves.insert(section.groove);
            bridges += section.chordStyle == CH_ECHO || section.chordStyle == CH_PLUCK ||
                       (section.melody.empty() && &section != &track.form.front());
            if (section.melody.empty())
                continue;
            EXPECT_EQ(harmony.size(), 16u) << musix_titles[t] << ": a melody over " << section.chords;
            EXPECT_NE(harmony[7][0], track.root)
                << musix_titles[t] << ": a question ends home in " << section.chords;
            int last = -1;
            for (const MelodyNote &n : notesOf(track, section))
                last = n.note >= 0 ? n.note % 12 : last;
            melodic++;
            cadences.insert({harmony.back()[0], last});
        }
        EXPECT_GE(basses.size(), 2u) << musix_titles[t];
        EXPECT_GE(grooves.size(), 2u) << musix_titles[t];
        EXPECT_EQ(int(cadences.size()), melodic) << musix_titles[t] << ": two sections end alike";
        auto first = sectionHarmony(track, track.form.front()),
             last = sectionHarmony(track, track.form.back());
        EXPECT_EQ(first.front()[0], track.root) << musix_titles[t];
        EXPECT_NE(last.back()[0], track.root) << musix_titles[t];
    }
    EXPECT_GE(bridges, 4);
}

// Every channel has its place before it plays: bass and drums in the middle, melody and chords to
// either side; the first row sets the tune's tempo.
TEST(Modules, ChannelsArePlacedAndTheTempoSet) {
    for (int t = 0; t < MUSIC_TRACKS; t++) {
        Song song = compose(t);
        for (int channel = 0; channel < CHANNELS; channel++) {
            int pan = -1;
            for (const Row &row : song.rows) {
                if (row[channel].effect == 0x8 && pan < 0)
                    pan = row[channel].param;
                if (row[channel].note >= 0)
                    break;
            }
            EXPECT_EQ(pan, channel == BASS || channel == DRUM ? 0x40
                           : channel == MEL                   ? 0x30
                                                              : 0x50)
                << musix[t] << " channel " << channel;
        }
        if (t < MUSIC_TITLES) {
            int tempo = 0;
            for (const Cell &cell : song.rows[0])
                tempo = cell.effect == 0xF ? cell.param : tempo;
            EXPECT_EQ(tempo, stageScore(t).tempo) << musix[t];
        }
    }
}

} // namespace
