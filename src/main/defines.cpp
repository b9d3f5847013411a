// The sine and cosine tables shared by the swaying animations.
#include "main/defines.h"

#include <cmath>

static std::array<int32_t, 512> makeTable(double (*wave)(double)) {
    std::array<int32_t, 512> table{};
    for (int i = 0; i < 512; i++)
        table[i] = int32_t(1024.0 * wave(2.0 * M_PI * i / 512.0)); // the cast truncates toward zero
    return table;
}

const std::array<int32_t, 512> tsin = makeTable(std::sin);
const std::array<int32_t, 512> tcos = makeTable(std::cos);
