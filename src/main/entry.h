// The hiscore name entry: a name of up to eight letters typed with the directional controls.
#pragma once

struct Screen;

// Opened by the game after a game over or the last stage. It shows only when the score beats the
// tenth entry of the table; then hsRank takes the rank of the new entry. A quit request lets the
// player finish the name, and the game then ends (play.quitRequested).
extern const Screen entryScreen;

char nextLetter(char letter);     // A..Z, then the blank, then A again
char previousLetter(char letter); // the same cycle backwards
