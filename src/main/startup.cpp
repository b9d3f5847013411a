// Start-up and shutdown. The window side of the game is still being built: for now the program
// only answers -h.
#include "main/startup.h"

#include <cstdio>
#include <cstring>

static const char *const helpLines[] = {
    "-w : window mode (not fullscreen)",
    "-fs : fullscreen (-x2 automatically added)",
    "-x1 : no zoom",
    "-x2 : zoom with no antialiasing",
    "-s2x: zoom with Scale2X algorithm",
    "-sl2: zoom with Scanline algorithm",
    "-bl2: zoom with Bilinear algorithm",
    "-b16 : 16 bits video mode",
    "-b24 : 24 bits video mode (may be useful if fade in/fade out looks crappy)",
    "-h : help",
};

int gameMain(int argc, char **argv) {
    for (int i = 1; i < argc; i++) {
        if (strcmp(argv[i], "-h") == 0) {
            for (const char *line : helpLines)
                puts(line);
            return 0;
        }
    }
    puts("Mirabo: the game's screens are not built yet; the tests show what works so far.");
    return exitGame();
}

int exitGame() { return 0; }
