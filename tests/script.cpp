// Input scripted by tick, for the virtual platform.
#include "script.h"

#include "input/sys_virtual.h"

#include <algorithm>

SDL_Event scriptKeyEvent(Uint32 type, SDL_Scancode scancode) {
    SDL_Event event{};
    event.type = type;
    event.key.state = type == SDL_KEYDOWN ? SDL_PRESSED : SDL_RELEASED;
    event.key.keysym.scancode = scancode;
    event.key.keysym.sym = SDL_GetKeyFromScancode(scancode);
    return event;
}

SDL_Event scriptButtonEvent(Uint32 type, int button) {
    SDL_Event event{};
    event.type = type;
    event.jbutton.state = type == SDL_JOYBUTTONDOWN ? SDL_PRESSED : SDL_RELEASED;
    event.jbutton.button = Uint8(button);
    return event;
}

SDL_Event scriptHatEvent(int value) {
    SDL_Event motion{};
    motion.type = SDL_JOYHATMOTION;
    motion.jhat.value = Uint8(value);
    return motion;
}

SDL_Event scriptAxisEvent(int axis, int value) {
    SDL_Event motion{};
    motion.type = SDL_JOYAXISMOTION;
    motion.jaxis.axis = Uint8(axis);
    motion.jaxis.value = Sint16(value);
    return motion;
}

SDL_Event scriptMouseEvent(Uint32 type, int x, int y) {
    SDL_Event event{};
    event.type = type;
    event.button.state = type == SDL_MOUSEBUTTONDOWN ? SDL_PRESSED : SDL_RELEASED;
    event.button.button = SDL_BUTTON_LEFT;
    event.button.clicks = 1;
    event.button.x = x;
    event.button.y = y;
    return event;
}

SDL_Event scriptQuitEvent() {
    SDL_Event close{};
    close.type = SDL_QUIT;
    return close;
}

std::vector<ScriptStep> sortedScript(std::vector<ScriptStep> steps) {
    std::stable_sort(steps.begin(), steps.end(), [](const ScriptStep &a, const ScriptStep &b) {
        return a.tick < b.tick || (a.tick == b.tick && a.isEvent && !b.isEvent);
    });
    return steps;
}

// The platform's idle observer is a plain function: one feed runs at a time.
static ScriptFeed *running;

void ScriptFeed::start(std::vector<ScriptStep> sortedSteps, std::function<void(int)> after) {
    steps = std::move(sortedSteps);
    next = 0;
    tick = 0;
    afterRead = std::move(after);
    running = this;
    sysVirtualSetIdleObserver(onRead);
    queueEvents();
}

void ScriptFeed::stop() {
    if (running != this)
        return;
    running = nullptr;
    sysVirtualSetIdleObserver(nullptr);
}

int ScriptFeed::pending() const { return int(steps.size() - next) + sysVirtualPendingEvents(); }

// Hands the events of the current tick to the virtual queue, due at once.
void ScriptFeed::queueEvents() {
    while (next < steps.size() && steps[next].tick <= tick && steps[next].isEvent)
        sysVirtualQueueEvent(sysTicks(), steps[next++].event);
}

// The end of a read: the observer, the read's calls, then the next tick's events.
void ScriptFeed::onRead() {
    ScriptFeed &feed = *running;
    const int read = feed.tick;
    if (feed.afterRead)
        feed.afterRead(read);
    while (feed.next < feed.steps.size() && feed.steps[feed.next].tick <= read &&
           !feed.steps[feed.next].isEvent)
        feed.steps[feed.next++].action();
    feed.tick = read + 1;
    feed.queueEvents();
}
