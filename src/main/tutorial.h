// The "HOW TO PLAY" screen before a new game and the congratulation screen after the last stage.
#pragma once

// c1 and c2 are the menu's background layer counters, so its two back layers move on seamlessly.
void tutorialScreen(int c1, int c2);
void congratScreen();
