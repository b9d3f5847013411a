// The platform layer: the game's only door to the clock and the event queue.
// The game links the SDL implementation (sys_sdl2.cpp); tests and tools link the virtual one
// (sys_virtual.cpp), whose clock advances only when the game sleeps and whose events come from a script.
#pragma once

#include <SDL.h>
#include <cstdint>

uint32_t sysTicks();                // milliseconds since start-up (SDL_GetTicks)
void sysDelay(uint32_t ms);         // SDL_Delay
void sysUsleep(uint32_t usec);      // usleep
int sysPollEvent(SDL_Event *event); // SDL_PollEvent: 1 and the next event, or 0 when none is pending
void sysPumpEvents();               // SDL_PumpEvents
// Called once at start-up, before SDL starts: SIGTERM and SIGINT (a launcher closing the game, a logout,
// Ctrl+C) become a request to end the program, which sysTerminating reports from then on.
void sysStart();
bool sysTerminating();
// flipScreen calls this right after SDL_RenderPresent, once per presented frame. The SDL platform does
// nothing here; the virtual one hands the frame to an observer (frame counting and capture in tests).
void sysPresented();
