// Our own 8-bit instruments: pulse and square leads, a soft lead, bell and thumb-piano plucks, a
// triangle bass, a detuned saw pad, and drums synthesized from noise and pitch sweeps.
#pragma once

#include "song.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

struct Sample {
    std::string name;
    std::vector<int8_t> data;
    int volume = 64; // the default volume, heard wherever a note sets none
    bool loops = true;
};

std::array<Sample, INSTRUMENTS> makeInstruments();
