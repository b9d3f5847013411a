// The 4-channel "M.K." module file of a song.
#pragma once

#include "instruments.h"
#include "song.h"

#include <array>
#include <string>

// The bytes of the module: identical 64-row patterns are written once and played again from the
// order list; a looping song's last row jumps back to the first order.
std::string writeModule(const Song &song, const std::array<Sample, INSTRUMENTS> &instruments);
