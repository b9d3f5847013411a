// The "HOW TO PLAY" screen before a new game and the congratulation screen after the last stage.
#pragma once

struct Screen;

// Both leave on any key, pad button or click; a quit request leaves them too and goes on to the
// screen after.
extern const Screen tutorialScreen; // its background goes on from the menu's (play.tutorialC1, C2)
extern const Screen endingScreen;
