// The software doubling passes that build the 640 × 480 picture in fscreen.
#pragma once

#include <cstdint>

extern uint8_t *aabuf;  // the antialiasing pass's work buffer, freed by gfxShutdown

void Scanline2x();
void antiAlias2();
