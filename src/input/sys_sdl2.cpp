// The platform layer for the real game: SDL's clock and event queue.
#include "input/sys.h"

#include <csignal>
#include <unistd.h>

static volatile sig_atomic_t terminating;

static void onTerminate(int) { terminating = 1; }

// SDL would turn the signals into a window close, which a stage answers with its pause menu; the
// game ends instead.
void sysStart() {
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    struct sigaction action {};
    action.sa_handler = onTerminate;
    sigemptyset(&action.sa_mask);
    sigaction(SIGTERM, &action, nullptr);
    sigaction(SIGINT, &action, nullptr);
}

bool sysTerminating() { return terminating != 0; }

uint32_t sysTicks() { return SDL_GetTicks(); }

void sysDelay(uint32_t ms) { SDL_Delay(ms); }

void sysUsleep(uint32_t usec) { usleep(usec); }

int sysPollEvent(SDL_Event *event) { return SDL_PollEvent(event); }

void sysPumpEvents() { SDL_PumpEvents(); }

void sysPresented() {}
