// Input scripted by tick, for the virtual platform: the one way tests script the game's input.
//
// A tick is one read of the input (a checkInput call, or one round of waitKeyUp), which every screen
// does once per tick; tick 0 is the first read after the script starts. The events scripted for
// tick t are all delivered by read t, in script order; calls at tick t run right after read t. The
// script cursor starts at tick 0 and moves only with at() and wait(), and by two with tap(),
// button() and click() (press at the cursor, release at the next tick).
//
// In-process (a screen run by the test itself):
//   InputScript script;
//   script.wait(5).tap(SDL_SCANCODE_DOWN).tap(SDL_SCANCODE_SPACE);
//   script.start();             // the next read is tick 0
//   ... run the screen ...
//   EXPECT_EQ(script.pending(), 0);
// The play harness (harness.h) scripts a forked run of the game the same way.
#pragma once

#include <SDL.h>

#include <functional>
#include <vector>

struct ScriptStep {
    int tick;
    bool isEvent;
    SDL_Event event;
    std::function<void()> action;
};

// The events a script delivers.
SDL_Event scriptKeyEvent(Uint32 type, SDL_Scancode scancode);
SDL_Event scriptButtonEvent(Uint32 type, int button);
SDL_Event scriptHatEvent(int value);
SDL_Event scriptAxisEvent(int axis, int value);
SDL_Event scriptMouseEvent(Uint32 type, int x, int y);
SDL_Event scriptQuitEvent();

// The script's steps and the calls that add them; Self is the class they chain on as.
template <class Self> class ScriptBuilder {
  public:
    Self &at(int tick) {
        cursor = tick > 0 ? tick : 0;
        return self();
    }
    Self &wait(int ticks) { return at(cursor + ticks); }

    Self &event(const SDL_Event &scripted) {
        steps.push_back(ScriptStep{cursor, true, scripted, nullptr});
        return self();
    }
    Self &keyDown(SDL_Scancode scancode) { return event(scriptKeyEvent(SDL_KEYDOWN, scancode)); }
    Self &keyUp(SDL_Scancode scancode) { return event(scriptKeyEvent(SDL_KEYUP, scancode)); }
    Self &tap(SDL_Scancode scancode) { return keyDown(scancode).wait(1).keyUp(scancode).wait(1); }
    Self &buttonDown(int button) { return event(scriptButtonEvent(SDL_JOYBUTTONDOWN, button)); }
    Self &buttonUp(int button) { return event(scriptButtonEvent(SDL_JOYBUTTONUP, button)); }
    Self &button(int button) { return buttonDown(button).wait(1).buttonUp(button).wait(1); }
    Self &hat(int value) { return event(scriptHatEvent(value)); }
    Self &axis(int axis, int value) { return event(scriptAxisEvent(axis, value)); }
    // At a 320 × 240 screen position; the cursor moves by 2.
    Self &click(int x, int y) {
        return event(scriptMouseEvent(SDL_MOUSEBUTTONDOWN, x, y))
            .wait(1)
            .event(scriptMouseEvent(SDL_MOUSEBUTTONUP, x, y))
            .wait(1);
    }
    Self &quit() { return event(scriptQuitEvent()); } // the window is closed
    // Work right after the read at the cursor.
    Self &call(std::function<void()> action) {
        steps.push_back(ScriptStep{cursor, false, SDL_Event{}, std::move(action)});
        return self();
    }

    int cursorTick() const { return cursor; }

  protected:
    std::vector<ScriptStep> steps;

  private:
    int cursor = 0;
    Self &self() { return static_cast<Self &>(*this); }
};

// Delivers steps (sorted: by tick, events before calls) to the virtual platform, read by read.
class ScriptFeed {
  public:
    // From now on: the next read is tick 0. afterRead, if given, runs after each read, before the
    // read's calls, with the tick just read; it may end the process.
    void start(std::vector<ScriptStep> sortedSteps, std::function<void(int)> afterRead = nullptr);
    void stop(); // reads are no longer counted or fed
    int ticks() const { return tick; }
    int pending() const; // steps not delivered or run yet

  private:
    static void onRead();
    void queueEvents();
    std::vector<ScriptStep> steps;
    size_t next = 0;
    int tick = 0;
    std::function<void(int)> afterRead;
};

// Steps sorted for a feed: by tick, and within a tick the events first, in script order.
std::vector<ScriptStep> sortedScript(std::vector<ScriptStep> steps);

// A script run in the test's own process.
class InputScript : public ScriptBuilder<InputScript> {
  public:
    ~InputScript() { feed.stop(); }
    void start() { feed.start(sortedScript(steps)); }
    int ticks() const { return feed.ticks(); }
    int pending() const { return feed.pending(); }

  private:
    ScriptFeed feed;
};
