// The scores. Every tune is written in 8-bar phrases of a 4-bar question and a 4-bar answer over its
// own chords, with its own motifs, bass lines, grooves and fills; the last bars of each tune turn
// back to its first chord, where the next pass begins.
#include "scores.h"

#include "compose.h"
#include "sound/sound.h"

#include <string>
#include <vector>

namespace {

// clang-format off
// The tables below are laid out by hand: one section a line or two, in the order it plays.
// Section fields: chords, melody, lead, lead volume, chord style, chord rhythm, bass line, groove,
// and the bar the drums come in.

// ---- SUNRISE PARADE: F major, 132, bright and inviting ----------------------------------------------
// A dotted call that climbs from the fifth below to the tonic; the B section answers in D minor.
const std::string paradeCall = "5,e 5,e 1q. 3e 5q | 6q 4e 6e 1'h | 7e 1'e 6e 5e 3q 1q | 2q. 3e 2h | "
                               "5,e 5,e 1q. 3e 5q | 6q 4e 6e 1'h | ";

const Track parade = {
    5, &IONIAN, 132, 17, 5,
    {"R-5-8-5-R-5-8-a-", "R--R--5-8--5--a-", "R-------5-------"}, false,
    {"K.h.S.h.K.hKS.h.K.h.S.h.K.h.S.hh", "K.hhS.h.K.hhS.hHK.hhS.hKk.hhS.hH"}, "SSsS", "S.SSM.LL",
    {
        {"1 6 4 5", "", SQUARE, 0x2C, CH_ARP, "x-------x-------", 2, 0, 2},
        {"1 4 1 5 1 4 5 1", paradeCall + "2'q. 1'e 7h | 1'h. rq |", SQUARE, 0x2C, CH_ARP, "x-------x-------", 0, 0},
        {"1 4 1 5 1 4 4/5 1", paradeCall + "4'q 2'e 1'e 7h | 1'q 3'h rq |", SQUARE, 0x2C, CH_ARP, "x-------x-------", 0, 1},
        {"6 4 1 5 6 4 2 5", "rq 6e 1'e 3'q. 2'e | 1'h 6q 4q | 5q. 6e 5h | 2h. rq | "
                            "rq 6e 1'e 3'q. 4'e | 4'q. 3'e 1'h | 2'q 1'e 6e 4h | 7q. 1'e 5h |",
         PULSE, 0x2A, CH_STAB, "..x...x...x..x..", 1, 1},
        {"1 4 1 5 1 4 5 4/5", paradeCall + "2'q. 1'e 7h | 1'q. 6e 7h |", SQUARE, 0x2C, CH_ARP, "x-------x-------", 0, 0},
    },
};

// ---- MORNING WALK: G major, 116, an easy stroll ------------------------------------------------------
// A quarter, then a skip of a dotted eighth and a sixteenth; the B section sets off from the
// subdominant with offbeat starts.
const std::string walkCall = "3q 2e. 3s 5q 3q | 4q 3e. 4s 6h | 5q 3e. 2s 1q 2q | 2q 7,e. 6,s 5,h | "
                             "3q 2e. 3s 5q 3q | 4q 3e. 4s 6q 1'q | ";
const std::string walkB = "re 6e 1'e 6e 4q 6q | 5e 7e 2'q 7e 5e 2'q | 3'q 2'e. 1's 7q 5q | 6h rq 5e 6e | "
                          "re 4e 6e 4e 2q 4q | 5e 7e 2'q 7e 5e 2'q | ";

const Track morning = {
    7, &IONIAN, 116, 19, 7,
    {"R---5---8---5---", "R-.r5-.-R-.r3-a-", "R-------5-------"}, true,
    {"K.h.r.h.K.h.r.hHK.h.r.h.K.hKr.h.", "K.h.S.h.K.h.S.hhK.h.S.h.K.hKS.hH"}, "rrr.", "S.s.S.SS",
    {
        {"1 4 1 5", "", FLUTE, 0x34, CH_PAD, nullptr, 2, 0, 2},
        {"1 4 1 5 1 4 5 1", walkCall + "7q 6e. 5s 2q 7,q | 1w |", FLUTE, 0x34, CH_PAD, nullptr, 0, 0},
        {"4 5 3 6 2 5 1 5", walkB + "1'q 5e. 3s 5h | 2'h. rq |", PULSE, 0x2C, CH_PAD, nullptr, 1, 1},
        {"1 4 1 5 1 4 5 1", walkCall + "2'q 1'e. 7s 5q 2q | 3h. rq |", FLUTE, 0x34, CH_PAD, nullptr, 0, 1},
        {"4 5 3 6 2 5 4 5", walkB + "6q 1'e. 6s 4h | 5h 7,h |", PULSE, 0x2C, CH_PAD, nullptr, 1, 1},
    },
};

// ---- RIVER BEND: B flat lydian, 108, flowing -----------------------------------------------------------
// A rippling run that settles on a long bell note, over the lydian sway from I to II; a breakdown
// lets the bell's call ripple on in echoes.
const std::string riverCall = "1e 2e 3e 5e 3'h | 2'e 7e 6q 4q. 6e | 3'e 2'e 1'e 7e 6h | 7e 5e 2q 5h | "
                              "1e 2e 3e 5e 3'h | 2'e 7e 6q 4q. 6e | ";

const Track river = {
    10, &LYDIAN, 108, 10, 10,
    {"R-----5-8-----5-", "R--5--8-R--5--a-", "R-------R-----5-"}, false,
    {"K..hS.h.K.hhS..hK..hS.h.K.hhS.hh", "K..hS.hhK.hhS..hK..hS.h.KkhhS.oh", "K.......r.....h.K.....k.r...h.h."},
    "S.ss", "S..SS.SS",
    {
        {"1 2 1 2", "", BELL, 0x38, CH_ARP, "x-------x-------", 2, 0, 2},
        {"1 2 6 5 1 2 5 1", riverCall + "7e 7e 5q 2q 5q | 1'w |", BELL, 0x38, CH_ARP, "x-------x-------", 0, 0},
        {"1 2 6 5 1 2 5 2", riverCall + "2'e 1'e 7q 5q 7q | 4'w |", BELL, 0x38, CH_PLUCK, "1.5.3.5.8.5.3.5.", 0, 1},
        {"6 3 2 5 6 3 2 5", "rq 6q. 1'e 3'q | 3'e 3'e 2'q 7q. 5e | 6e 4e 2q 4h | 2'h. rq | "
                            "rq 6q. 1'e 3'q | 5'e 3'e 2'q 3'q. 7e | 2'q 6e 4e 2q. 4e | 7h. rq |",
         FLUTE, 0x34, CH_ARP, "x-----x-----x---", 1, 1},
        {"1 2 1 2 6 2 5 5", "1e 2e 3e 5e rh | 2'e 1'e 7e 6e rh | 3e 5e 1'e 2'e rh | 4'h rh | "
                            "6e 1'e 3'e 1'e rh | 2'e 4'e 6'e 4'e rh | 5'h. rq | rw |",
         BELL, 0x38, CH_ECHO, nullptr, 2, 2},
    },
};

// ---- JUNGLE DRUMS: A dorian, 138, toms and a tresillo ---------------------------------------------------
// Three-three-two calls over the dorian i-IV vamp; shouted square answers with rests between; a
// break for the toms alone with the bass.
const std::string drumsCall = "1e. 1e. 3e 5q 3q | 4e. 6e. 1'e 6h | 5e. 3e. 1e 3q 2q | 2e. 1e. 7,e 5,h | "
                              "1e. 1e. 3e 5q 3q | 4e. 6e. 1'e 6h | ";
const std::string drumsB = "3q re 5e 3q re 1e | 2q re 4e 2q re 7,e | 1e. 6,e. 4,e 6,q 1q | 2h rh | "
                           "3q re 5e 3q re 1e | 2q re 4e 2q re 7,e | ";

const Track drums = {
    9, &DORIAN, 138, 21, 9,
    {"R..R..5.8..5..a.", "R.R..R5.8.8..5a.", "R..R..5.R..R..8.",
     "................................R..R..5.8..5..a.R..R..5.8..5.c."}, true,
    {"K.T.M.T.K.TMS.TMK.T.M.T.KkTMS.TL", "K.h.S.hTK.hTS.MLKkh.S.hTK.hTS.MT", "KTMLK.TMK.TTM.LLK.TMK.MLK.TTMMLL"},
    "TMLL", "TTMMLLKK",
    {
        {"1 1 1 4", "", PULSE, 0x2C, CH_NONE, nullptr, 3, 0},
        {"1 4 1 5 1 4 7 1", drumsCall + "7,e. 2e. 4e 2h | 1'h. rq |", PULSE, 0x2C, CH_STAB, ".x..x..x.x..x..x", 0, 0},
        {"3 7 4 5 3 7 4 5", drumsB + "4e. 3e. 1e 6,q 4,q | 5h. rq |", SQUARE, 0x2C, CH_STAB, "x..x..x.....x...", 1, 1},
        {"1 1 4 4 1 1 7 5", "", PULSE, 0x2C, CH_STAB, "x.......x.x.....", 2, 2},
        {"1 4 1 5 1 4 3 4", drumsCall + "3e. 1e. 7,e 5,h | 6h 4h |", PULSE, 0x2C, CH_STAB, ".x..x..x.x..x..x", 0, 0},
        {"3 7 4 5 3 7 4 7", drumsB + "4e. 3e. 1e 6,q 4,q | 7,h 2h |", SQUARE, 0x2C, CH_STAB, "x..x..x.....x...", 1, 1},
    },
};

// ---- DUSK ACACIAS: E minor, 104, a slow sigh ------------------------------------------------------------
// Long notes that fall a step after a dotted quarter; the bell sections turn to G major and back, the
// second one home to the dominant.
const std::string duskCall = "5h 3q. 2e | 3h 1q. 7,e | 1q 4q 6q. 5e | #7,h 2h | 5h 3q. 2e | 3h 1q. 7,e | ";
const std::string duskB = "3'e. 5's 3'q 7q. 5e | 4'h 2'q. 7e | 3'e. 1's 6q 1'q. 7e | 5h. rq | "
                          "1'e. 4's 1'q 6q. 4e | 5'h 3'q. 1'e | ";

const Track dusk = {
    4, &AEOLIAN, 104, 16, 4,
    {"R-------R-----5-", "R---5---8---5---", "R---------------"}, false,
    {"K.h.h.h.S.h.h.h.K.h.h.hkS.h.h.hh", "K.h.o.h.S.h.h.hhK.h.o.hkS.h.hhh."}, "s.SS", "S.s.S.SS",
    {
        {"1 6 1 6", "", FLUTE, 0x34, CH_PAD, nullptr, 2, 0, 2},
        {"1 6 4 5M 1 6 4/5M 1", duskCall + "1q 4q 2q. #7,e | 1w |", FLUTE, 0x34, CH_PAD, nullptr, 0, 0},
        {"3 7 6 3 4 1 6 5M", duskB + "3'q 1'q. 6e 1'q | #7h 2'h |", BELL, 0x38, CH_PAD, nullptr, 1, 1},
        {"1 6 4 5M 1 6 4/5M 6", duskCall + "1q 4q 2q. #7,e | 3w |", FLUTE, 0x34, CH_PLUCK, "1.3.5.3.8.5.3.5.", 0, 1},
        {"3 7 6 3 4 1 4 5M", duskB + "6q 1'q. 4e 6q | #7h 5h |", BELL, 0x38, CH_PAD, nullptr, 1, 1},
    },
};

// ---- NIGHT PLAIN: C minor, 100, stars over the grass ------------------------------------------------------
// Bell notes with silences between them, like stars coming out; the soft lead sings in E flat major.
const std::string nightCall = "5e re 1'e re 3'h | 3'e re 1'e re 6h | 4e re 6e re 1'q 6q | 2'e re #7e re 5h | "
                              "5e re 1'e re 3'h | 3'e re 1'e re 6h | ";

const Track night = {
    0, &AEOLIAN, 100, 12, 0,
    {"R-------5-------", "R-----5-8-----5-", "R---------------"}, false,
    {"K.....h.K.....h.K.....h.K...r.h.", "K.....h.S.....h.K.....h.S...k.hh"}, "..rr", "r...r.rr",
    {
        {"1 6 1 5M", "", BELL, 0x38, CH_PAD, nullptr, 2, 0, 2},
        {"1 6 4 5M 1 6 4 1", nightCall + "4'e re 3'e re 1'q 6q | 1'w |", BELL, 0x38, CH_PAD, nullptr, 0, 0},
        {"1 6 4 5M 1 6 5M 1", nightCall + "2'e re 1'e re #7q 5q | 3'h. rq |", BELL, 0x38, CH_PLUCK, "1...5...8...5...",
         0, 1},
        {"3 7 6 3 4 1 6/7 5M", "3'h. 2'e 1'e | 7h. 1'e 2'e | 1'h. 6e 3'e | 5h rh | "
                               "4'h. 3'e 2'e | 3'h. 2'e 1'e | 1'h 2'h | #7w |",
         FLUTE, 0x34, CH_PAD, nullptr, 1, 1},
    },
};

// ---- TALL GRASS: D major, 128, swaying -------------------------------------------------------------------
// Short-long offbeat steps; the B section sways in dotted quarters across the bar; a thumb-piano bridge.
const std::string grassCall = "1e 3q 5e 3'q 1'q | 2'e 7q 5e 7q 2'q | 3'e 1'q 6e 1'q 3'q | 6e 4q 6e 1'h | "
                              "1e 3q 5e 3'q 1'q | 2'e 7q 5e 7q 2'q | ";

const Track grass = {
    2, &IONIAN, 128, 14, 2,
    {"R-5-R-5-R-5-8-a-", "R---R-5-8---5-a-", "R-------3-------"}, false,
    {"K.h.S.hhK.h.S.h.K.h.S.hhK.hKS.hh", "K.hhS.hhK.hhS.hHK.hhS.hhKkhhS.Hh", "K.......r.......K.....k.r......."},
    "S.SS", "S.SSSSSS",
    {
        {"1 4 1 5", "", PULSE, 0x2C, CH_ARP, "x-------x---x---", 2, 0, 2},
        {"1 5 6 4 1 5 4/5 1", grassCall + "4'e 3'q 2'e 7q 5q | 1'h. rq |", PULSE, 0x2C, CH_ARP, "x-------x---x---", 0, 0},
        {"1 5 6 4 1 5 6 2", grassCall + "3'e 2'q 1'e 6q 3q | 2'h 6h |", PULSE, 0x2C, CH_ARP, "x-------x---x---", 0, 1},
        {"4 1 4 5 4 1 2 5", "6q. 1'q. 4'q | 5q. 1'q. 3'q | 4'q. 2'q. 1'q | 2'h 5h | "
                            "6q. 1'q. 4'q | 3'q. 5'q. 3'q | 2'q. 4'q. 6'q | 5'h. rq |",
         FLUTE, 0x34, CH_ARP, "x-----x-----x---", 1, 1},
        {"6 3 4 5 6 3 2 5", "3'q. 2'q. 1'q | 7q. 5q. 3q | 6q. 1'q. 2'q | 7w | 3'q. 4'q. 5'q | 5'h 3'h | 2'h 4'h | 2'w |",
         FLUTE, 0x30, CH_PLUCK, "1.5.8.5.3.5.8.5.", 2, 2},
        {"1 5 6 4 1 5 4 5", grassCall + "4'e 2'q 1'e 6q 4q | 5h 7h |", PULSE, 0x2C, CH_ARP, "x-------x---x---", 0, 0},
    },
};

// ---- CANOPY: G dorian, 120, leaves and light ---------------------------------------------------------------
// Two quarters then a flicker of eighths over the dorian i-IV; long bell tones; a breakdown of toms
// and thumb piano.
const std::string canopyCall = "5q 3q 1e 3e 5e 3e | 6q 4q 1e 4e 6e 4e | 1'q. 5e 3e 5e 1'e 5e | 6h rh | "
                               "5q 3q 1e 3e 5e 3e | 6q 4q 1e 4e 6e 4e | 7,q 2q 4e 2e 7,e 5,e | ";

const Track canopy = {
    7, &DORIAN, 120, 19, 7,
    {"R---.-R-5---.-a-", "R-----5-8-----5-", "R.R...R.5.5...8."}, true,
    {"K.M.T.M.K.MTS.M.K.M.T.M.K.MTS.LL", "K.h.S.hMK.h.S.TMK.h.S.hMKkh.S.LL", "L..ML..MT.M.L...L..ML..MT.M.LLMT"},
    "TTMM", "T.TTM.LL",
    {
        {"1 4 1 4", "", SQUARE, 0x2C, CH_STAB, "..x...x...x...x.", 0, 0},
        {"1 4 1 4 1 4 7 1", canopyCall + "1'w |", SQUARE, 0x2C, CH_STAB, "..x...x...x...x.", 0, 0},
        {"3 7 4 5 3 7 4 5", "3e 5e 3h. | 7e 2'e 7h. | 6q 4q 1'e 6e 4e 1e | 5w | 5e 7e 5h. | 2e 4e 2h. | 1'q 6q 4e 6e 1'e 6e | 2'w |",
         BELL, 0x38, CH_STAB, "x.....x.....x...", 1, 1},
        {"1 1 4 4 1 1 7 7", "", SQUARE, 0x2C, CH_PLUCK, "1.3.5.8.5.3..5..", 2, 2},
        {"1 4 1 4 1 4 7 5", canopyCall + "2'h 5h |", SQUARE, 0x2C, CH_STAB, "..x...x...x...x.", 0, 1},
    },
};

// ---- FRUIT STALL: E flat mixolydian, 136, a busy market -------------------------------------------------------
// Calls that start with two quick sixteenths; the B section trades short phrases around a rest; a
// bridge in C minor with the melody echoed.
const std::string stallCall = "5s 6s 5e 3q 1q 3q | 4s 5s 4e 2q 7,q 2q | 1'e 2's 1's 6q 4e 6e 4q | 2h 5h | "
                              "5s 6s 5e 3q 1q 3q | 4s 5s 4e 2q 7,q 2q | ";

const Track stall = {
    3, &MIXOLYDIAN, 136, 15, 3,
    {"R..5R..5R..58.a.", "R.R.5..R8..5..a.", "R-----R-5-----5-"}, false,
    {"K..hS..hK..hS..hK..hS..hK.khS.hh", "K..hS.hhK.hhS..hK..hS.hhKkhhS.oh", "K.....h.r.....h.K.....h.r...k.h."},
    "S.SS", "SSS.S.SS",
    {
        {"1 7 4 1", "", SQUARE, 0x2C, CH_STAB, "x..x..x...x..x..", 0, 0},
        {"1 7 4 5 1 7 4/7 1", stallCall + "1's 2's 1'e 6q 7q 4q | 1'h. rq |", SQUARE, 0x2C, CH_STAB, "x..x..x...x..x..", 0, 0},
        {"1 7 4 5 1 7 4 6", stallCall + "6s 7s 6e 4q 1'q 6q | 6h. rq |", SQUARE, 0x2C, CH_STAB, "x..x..x...x..x..", 0, 1},
        {"4 1 4 5 4 7 2 5", "1'e 6e re 1'e 4'q 1'q | 5'e 3'e re 1'e 5q 3q | 6e 1'e re 6e 4q 1q | 2h rh | "
                            "1'e 6e re 1'e 4'q 1'q | 4'e 2'e re 7e 4q 2q | 2'e 1'e re 7e 6q 4q | 5h 2'h |",
         PULSE, 0x2A, CH_STAB, "..x..x..x..x..x.", 1, 1},
        {"6 2 6 2 4 7 4 5", "3'h 1'h | 4'h 2'h | 3'h 6h | 4'h rh | 1'h 6h | 7h 4h | 1'h 6h | 5w |", SQUARE, 0x28, CH_ECHO,
         nullptr, 2, 2},
        {"1 7 4 5 1 7 4 7", stallCall + "1's 2's 1'e 6q 4q 6q | 4h 2h |", SQUARE, 0x2C, CH_STAB, "x..x..x...x..x..", 0, 0},
    },
};

// ---- WARM RAIN: F sharp minor, 112, drops and puddles -----------------------------------------------------------
// A short drop then a long note, twice a bar; the B section patters in eighths around rests; in the
// bridge the drops echo.
const std::string rainCall = "5e 3q. 5e 1'q. | 3'e 1'q. 3'e 6q. | 2'e 7q. 4'e 2'q. | 3'h 5h | "
                             "5e 3q. 5e 1'q. | 3'e 1'q. 3'e 6q. | ";

const Track rain = {
    6, &AEOLIAN, 112, 18, 6,
    {"R-----R-5-------", "R---5---R-----a-", "R---------------"}, false,
    {"K..h.h.hS..h.h.hK..h.hkhS..h.hhh", "K.hhh.hhS.hhh.hhK.hhh.hkS.hhh.oh", "K.......S.......K.......S.....h."},
    "S.hS", "SsSsShSS",
    {
        {"1 6 1 6", "", FLUTE, 0x34, CH_ARP, "x-----x-x-------", 2, 0, 2},
        {"1 6 7 3 1 6 5M 1", rainCall + "#7e 2q. 5e #7q. | 1'w |", FLUTE, 0x34, CH_ARP, "x-----x-x-------", 0, 0},
        {"3 7 6 3 4 1 6 5M", "5q re 7e 5e 3e re 1e | 4q re 2'e 7e 4e re 2e | 3q re 6e 3e 1e re 6,e | 5h rh | "
                             "4q re 6e 4e 1e re 4,e | 5q re 1'e 5e 3e re 1e | 6q re 1'e 3'e 1'e re 6e | #7h 5h |",
         PULSE, 0x2C, CH_ARP, "x-----x-x-------", 1, 1},
        {"6 7 3 6 4 5M 1 5M", "1'q 3'e re 6h | 2'q 4'e re 7h | 7q 3'e re 5h | 6w | "
                              "6q 1'e re 4h | 5q #7e re 2'h | 1'q 5e re 3h | #7w |",
         FLUTE, 0x30, CH_ECHO, nullptr, 2, 2},
        {"1 6 7 3 1 6 4 5M", rainCall + "4e 2q. 6e 4q. | #7,h 2h |", FLUTE, 0x34, CH_ARP, "x-----x-x-------", 0, 1},
    },
};

// ---- HOMEWARD: A major, 124, the way back ---------------------------------------------------------------------
// A long note that steps down in eighths to a quarter; the B section runs in eighths through F sharp minor.
const std::string homeCall = "5h 3e 2e 1q | 7h 5e 4e 3q | 1'h 6e 5e 4q | 2'h 7q 5e 7e | 5h 3e 2e 1q | 7h 5e 4e 3q | ";

const Track homeward = {
    9, &IONIAN, 124, 21, 9,
    {"R---R-5-8---5-a-", "R-5-8-5-R-5-3-a-", "R-------5-------"}, false,
    {"K.h.S.h.KKh.S.hhK.h.S.h.K.hKS.hH", "K.hhS.hhK.hhS.hhK.hhS.hKK.hhS.oh"}, "SS.S", "K.S.SSSS",
    {
        {"1 4 1 5", "", PULSE, 0x2C, CH_PAD, nullptr, 2, 0, 2},
        {"1 3 4 5 1 3 4/5 1", homeCall + "6h 5e 4e 7q | 1'w |", PULSE, 0x2C, CH_PAD, nullptr, 0, 0},
        {"1 3 4 5 1 3 2 5", homeCall + "2'h 6e 5e 4q | 2'h 5h |", PULSE, 0x2C, CH_ARP, "x-----x-----x---", 0, 1},
        {"6 4 1 5 6 4 2 5", "3e 1e 6,e 1e 3e 6e 3q | 4e 6e 1'e 6e 4e 1e 4q | 5e 3e 1e 3e 5e 1'e 5q | 2'h 5h | "
                            "3e 1e 6,e 1e 3e 6e 3q | 4e 6e 1'e 6e 4e 1e 4q | 2e 4e 6e 4e 2e 6,e 2q | 7,h 2h |",
         SQUARE, 0x2C, CH_PAD, nullptr, 1, 1},
        {"1 3 4 5 1 3 4 5", homeCall + "1'h 6e 5e 4q | 5h 7h |", PULSE, 0x2C, CH_PAD, nullptr, 0, 0},
    },
};
// clang-format on

// ---- The short pieces ----------------------------------------------------------------------------

// A short piece ending on a held chord: the notes are (row, channel, note, instrument, effect); the
// whole chord fades over the last rows and a pattern break ends the song after length rows.
struct ShortNote {
    int row, channel, note, instrument, effect, param;
};
// Both play at the format's own speed 6 and tempo 125, so they need no tempo command.
Song composeShort(const std::string &title, int length, const std::vector<ShortNote> &notes) {
    Song song{title, std::vector<Row>(ROWS), false};
    for (const ShortNote &n : notes)
        play(song, n.row, n.channel, n.note, n.instrument, n.effect, n.param);
    for (int channel = 0; channel < CHANNELS; channel++) {
        for (int r = length - 10; r < length - 4; r++)
            effect(song, r, channel, 0x4, r == length - 10 ? 0x33 : 0);
        for (int r = length - 4; r < length; r++)
            effect(song, r, channel, 0xA, 0x03);
    }
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
    Song song = composeShort(musix[MUSIC_LEVEL_COMPLETE], 32, notes);
    int arp = 0;
    for (int r = 0; r < 16; r++) { // each arpeggio holds until the next chord
        Cell &cell = song.rows[r][CHORD];
        arp = cell.note >= 0 ? cell.param : arp;
        effect(song, r, CHORD, 0x0, arp);
    }
    placePans(song);
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
    Song song = composeShort(musix[MUSIC_JINGLE], 24, notes);
    placePans(song);
    return song;
}

const Track *const tracks[MUSIC_TITLES] = {&parade, &morning, &river, &drums, &dusk,    &night,
                                           &grass,  &canopy,  &stall, &rain,  &homeward};

} // namespace

const Track &stageScore(int track) { return *tracks[track]; }

Song compose(int track) {
    if (track == MUSIC_LEVEL_COMPLETE)
        return composeFanfare();
    if (track == MUSIC_JINGLE)
        return composeJingle();
    return composeTrack(musix_titles[track], *tracks[track]);
}
