// The virtual platform's controls, for tests, tools and the headless play harness: a clock that moves
// only when the game sleeps (or a test says so) and events that come from a script. They exist only
// in the virtual implementation (sys_virtual.cpp), which tests and tools link instead of the SDL one.
#pragma once

#include "input/sys.h"

void sysVirtualReset(uint32_t ticks = 0); // set the clock, drop every scripted event and observer
void sysVirtualSetTicks(uint32_t ticks);  // jump the clock (also backwards)
void sysVirtualAdvance(uint32_t ms);      // the game "worked" for ms milliseconds
uint64_t sysVirtualSlept();
void sysVirtualTerminate(); // as SIGTERM: sysTerminating answers true until the next reset               //
                            // total microseconds slept since the last reset
// Delivers event once the clock has reached atTicks; events come out in (atTicks, queue order).
void sysVirtualQueueEvent(uint32_t atTicks, const SDL_Event &event);
int sysVirtualPendingEvents(); // scripted events not yet delivered
// Called each time sysPollEvent finds no event due, that is once at the end of every read of the
// input (checkInput, each round of waitKeyUp): the play harness counts ticks and feeds events here.
void sysVirtualSetIdleObserver(void (*observer)());
void sysVirtualSetPresentObserver(void (*observer)()); // called by sysPresented
// The virtual sysPumpEvents refreshes the joystick state (SDL_JoystickUpdate) when the joystick
// subsystem is up, so a scripted virtual pad is seen by SDL_JoystickGetButton.
