// Every test process runs headless: SDL's dummy video and audio drivers, unless the environment names
// others (window_smoke runs the game itself under Xvfb).
#include <cstdlib>

static const bool headless = [] {
    setenv("SDL_VIDEODRIVER", "dummy", 0);
    setenv("SDL_AUDIODRIVER", "dummy", 0);
    return true;
}();
