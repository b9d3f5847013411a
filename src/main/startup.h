// Start-up and shutdown: the command line, the fixed start-up order, the intro screens, exitGame.
#pragma once

int gameMain(int argc, char **argv);  // the whole program; main() only calls it
int exitGame();
