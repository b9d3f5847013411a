// Start-up and shutdown: the command line, the fixed start-up order, the intro screens, exitGame.
#pragma once

int gameMain(int argc, char **argv); // the whole program; main() only calls it
// SDL, window, pad, audio, archives, fonts, shared images, controls, volumes and levels, in that
// order, from the display settings fs, ScalingMethod and bpp; clears done. Tests call it to set up
// a run without the command line.
void startUp();
int exitGame();
