// The fatal error reporter: resources the game cannot run without end the process here.
#include "gfx/debug.h"

#include <cstdio>
#include <cstdlib>

void error(const char *message, const char *detail) {
    printf("%s: %s\n", message, detail ? detail : "unknown");
    fflush(stdout);
    exit(1);
}
