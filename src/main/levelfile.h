// The level files: the scrambled level set "levels.bin" of the data folder and the plain test stage
// "test.bin" of the player's folder.
#pragma once

void loadLevels();    // at start-up; a fatal error when the file holds no complete record
void freeLevels();    // at shutdown
void loadTestLevel(); // before the test stage starts: keeps the last test board unless "test.bin" is whole
