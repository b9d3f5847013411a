// The screen runner: every screen of the game has one shape, and one loop runs them all.
#pragma once

// A screen. The runner calls enter when the screen first comes on top, then once per tick: it paces
// the tick, reads the input, hands a quit request (a closed window, Escape) to quit, calls tick, and
// when the pacing lets the tick be drawn, draw and the presentation of the frame; leave when the
// screen goes. The runner itself toggles full screen and saves screenshots when asked, tells a save
// that failed at the foot of the screen, and ends the program from any screen on a termination
// request (SIGTERM, SIGINT), every screen leaving in turn. A screen
// opened over another is pushed on it and popped when it is done; the one below then goes on from where it
// was.
//
// A screen without draw shows nothing: it only decides what comes next (the game between two of its
// screens), and its tick runs at once, without pacing, input or a quit request.
struct Screen {
    const char *name;
    void (*enter)(); // may be nullptr
    void (*tick)();
    void (*draw)();  // into the back surface `screen`; nullptr for a screen that shows nothing
    void (*leave)(); // may be nullptr
    void (*quit)();  // what a quit request does on this screen; nullptr for one that shows nothing
};

// Changes of the stack take effect when the current tick is over; the screen whose tick makes them
// is not drawn in that tick. A pending click is dropped and the pacing restarts whenever another
// screen comes on top, so nothing carries over from one screen to the next.
void screenPush(const Screen &screen);
void screenPop();
void screenReplace(const Screen &screen); // the current screen leaves and this one takes its place
// Every screen leaves, from the top down, and screenRun returns.
void screenEndProgram();

// Runs the screens pushed so far, and those they open, until none is left.
void screenRun();

// Before the next tick, wait (reading the input every 100 ms) until the control released last is no
// longer START or JUMP, so that the confirm that ends one screen does not act on the next one too.
void screenDrainConfirm();
// The quit request being handled goes on to the screen that comes next (a screen that only shows
// a message leaves on it, and the screen after it acts on the request).
void screenPassQuit();

// Whether the tick running now will be drawn (the pacing's answer for this tick).
bool screenDrawn();
// Whether the player turned away during this tick: the window lost the focus or was minimised, or a
// pad was pulled out. A stage pauses for it.
bool screenPlayerAway();
// The notice shown at the foot of the screen now ("CANNOT SAVE THE GAME"), or nullptr.
const char *screenNotice();
// The screen on top, or nullptr when none is left.
const Screen *screenTop();

// Quit behaviours that many screens share.
void screenIgnoreQuit(); // the request is dropped: the screen ends only its own way
