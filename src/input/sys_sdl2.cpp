// The platform layer for the real game: SDL's clock and event queue.
#include "input/sys.h"

#include <unistd.h>

uint32_t sysTicks() { return SDL_GetTicks(); }

void sysDelay(uint32_t ms) { SDL_Delay(ms); }

void sysUsleep(uint32_t usec) { usleep(usec); }

int sysPollEvent(SDL_Event *event) { return SDL_PollEvent(event); }

void sysPumpEvents() { SDL_PumpEvents(); }

void sysPresented() {}
