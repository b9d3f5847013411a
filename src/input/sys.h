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
// flipScreen calls this right after SDL_RenderPresent, once per presented frame. The SDL platform does
// nothing here; the virtual one hands the frame to an observer (frame counting and capture in tests).
void sysPresented();

// The virtual platform's controls, for tests, tools and the headless play harness.
// They exist only in the virtual implementation.
void sysVirtualReset(uint32_t ticks = 0); // set the clock, drop every scripted event and observer
void sysVirtualSetTicks(uint32_t ticks);  // jump the clock (also backwards)
void sysVirtualAdvance(uint32_t ms);      // the game "worked" for ms milliseconds
uint64_t sysVirtualSlept();               // total microseconds slept since the last reset
// Delivers event once the clock has reached atTicks; events come out in (atTicks, queue order).
void sysVirtualQueueEvent(uint32_t atTicks, const SDL_Event &event);
int sysVirtualPendingEvents(); // scripted events not yet delivered
// Called each time sysPollEvent finds no event due, that is once at the end of every read of the
// input (checkInput, each round of waitKeyUp): the play harness counts ticks and feeds events here.
void sysVirtualSetIdleObserver(void (*observer)());
void sysVirtualSetPresentObserver(void (*observer)()); // called by sysPresented
// The virtual sysPumpEvents refreshes the joystick state (SDL_JoystickUpdate) when the joystick
// subsystem is up, so a scripted virtual pad is seen by SDL_JoystickGetButton.
