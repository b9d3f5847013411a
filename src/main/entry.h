// The hiscore name entry: a name of up to eight letters typed with the directional controls.
#pragma once

// The rank of the entry made for score, or -1 when the score does not beat the tenth entry.
int checkHiscore();

char nextLetter(char letter);     // A..Z, then the blank, then A again
char previousLetter(char letter); // the same cycle backwards
