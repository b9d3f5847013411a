// The virtual platform for tests and tools: a clock that moves only when the game sleeps (or a test
// says so) and an event source fed from a script, so every screen loop runs headless at full speed.
#include "input/sys_virtual.h"

#include <algorithm>
#include <vector>

struct ScriptedEvent {
    uint32_t atTicks;
    uint64_t order;
    SDL_Event event;
};

static uint64_t nowUsec; // the clock, in microseconds so that usleep adds up exactly
static uint64_t sleptUsec;
static uint64_t nextOrder;
static std::vector<ScriptedEvent> script; // sorted by (atTicks, order)
static void (*idleObserver)();
static void (*presentObserver)();
static bool terminating;

void sysVirtualReset(uint32_t ticks) {
    nowUsec = uint64_t(ticks) * 1000;
    sleptUsec = 0;
    nextOrder = 0;
    script.clear();
    idleObserver = nullptr;
    presentObserver = nullptr;
    terminating = false;
}

void sysVirtualTerminate() { terminating = true; }

void sysStart() {}

bool sysTerminating() { return terminating; }

void sysVirtualSetTicks(uint32_t ticks) { nowUsec = uint64_t(ticks) * 1000; }

void sysVirtualAdvance(uint32_t ms) { nowUsec += uint64_t(ms) * 1000; }

uint64_t sysVirtualSlept() { return sleptUsec; }

void sysVirtualQueueEvent(uint32_t atTicks, const SDL_Event &event) {
    ScriptedEvent scripted{atTicks, nextOrder++, event};
    auto later = std::upper_bound(
        script.begin(), script.end(), scripted, [](const ScriptedEvent &a, const ScriptedEvent &b) {
            return a.atTicks < b.atTicks || (a.atTicks == b.atTicks && a.order < b.order);
        });
    script.insert(later, scripted);
}

int sysVirtualPendingEvents() { return int(script.size()); }

void sysVirtualSetIdleObserver(void (*observer)()) { idleObserver = observer; }

void sysVirtualSetPresentObserver(void (*observer)()) { presentObserver = observer; }

uint32_t sysTicks() { return uint32_t(nowUsec / 1000); }

void sysDelay(uint32_t ms) { sysUsleep(ms * 1000); }

void sysUsleep(uint32_t usec) {
    nowUsec += usec;
    sleptUsec += usec;
}

int sysPollEvent(SDL_Event *event) {
    if (script.empty() || script.front().atTicks > sysTicks()) {
        if (idleObserver)
            idleObserver();
        return 0;
    }
    *event = script.front().event;
    script.erase(script.begin());
    return 1;
}

void sysPumpEvents() {
    if (SDL_WasInit(SDL_INIT_JOYSTICK))
        SDL_JoystickUpdate();
}

void sysPresented() {
    if (presentObserver)
        presentObserver();
}
