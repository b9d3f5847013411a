// Real-window smoke test: the game opens its 640 × 480 window on an X display, shows the maker's
// logo, and ends with status 0 when the window is closed as a window manager closes it.
// Usage (window_smoke.sh runs it under xvfb-run): window_smoke MIRABO RUN_DIR SCREENSHOT.png
// Exit status 0 passed, 1 failed, 77 skipped (no X display).
#include "gfx/png.h"

#include <SDL.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <signal.h>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

using Clock = std::chrono::steady_clock;

static pid_t game;

[[noreturn]] static void fail(const char *what) {
    fprintf(stderr, "window smoke: %s\n", what);
    if (game > 0)
        kill(game, SIGKILL);
    exit(1);
}

// Windows may vanish while they are looked at (the game failing at start-up): such errors are no
// reason to stop; the checks below tell what went wrong.
static int ignoreXError(Display *, XErrorEvent *) { return 0; }

static Window findGameWindow(Display *display, Window parent) {
    Window root, up, *children = nullptr;
    unsigned count = 0;
    Window found = 0;
    if (!XQueryTree(display, parent, &root, &up, &children, &count))
        return 0;
    for (unsigned i = 0; i < count && !found; i++) {
        char *name = nullptr;
        if (XFetchName(display, children[i], &name) && name && strcmp(name, "MIRABO") == 0) {
            XWindowAttributes attributes;
            if (XGetWindowAttributes(display, children[i], &attributes) && attributes.map_state == IsViewable)
                found = children[i];
        }
        if (name)
            XFree(name);
        if (!found)
            found = findGameWindow(display, children[i]);
    }
    if (children)
        XFree(children);
    return found;
}

// The window's picture as an SDL surface, for savePNG; counts the pixels that are not black.
static SDL_Surface *grab(Display *display, Window window, int width, int height, long *lit) {
    XImage *image = XGetImage(display, window, 0, 0, width, height, AllPlanes, ZPixmap);
    if (!image)
        fail("cannot read the window's picture");
    SDL_Surface *shot = SDL_CreateRGBSurfaceWithFormat(0, width, height, 32, SDL_PIXELFORMAT_RGB888);
    *lit = 0;
    for (int y = 0; y < height; y++) {
        auto *row = reinterpret_cast<Uint32 *>(static_cast<Uint8 *>(shot->pixels) + y * shot->pitch);
        for (int x = 0; x < width; x++) {
            const unsigned long pixel = XGetPixel(image, x, y);
            const Uint8 r = Uint8((pixel & image->red_mask) >> __builtin_ctzl(image->red_mask));
            const Uint8 g = Uint8((pixel & image->green_mask) >> __builtin_ctzl(image->green_mask));
            const Uint8 b = Uint8((pixel & image->blue_mask) >> __builtin_ctzl(image->blue_mask));
            row[x] = SDL_MapRGB(shot->format, r, g, b);
            if (r > 16 || g > 16 || b > 16)
                (*lit)++;
        }
    }
    XDestroyImage(image);
    return shot;
}

// What a window manager sends when the player clicks the window's close button.
static void closeWindow(Display *display, Window window) {
    XEvent close{};
    close.xclient.type = ClientMessage;
    close.xclient.window = window;
    close.xclient.message_type = XInternAtom(display, "WM_PROTOCOLS", False);
    close.xclient.format = 32;
    close.xclient.data.l[0] = long(XInternAtom(display, "WM_DELETE_WINDOW", False));
    close.xclient.data.l[1] = CurrentTime;
    XSendEvent(display, window, False, NoEventMask, &close);
    XFlush(display);
}

int main(int argc, char **argv) {
    if (argc != 4) {
        fprintf(stderr, "usage: window_smoke MIRABO RUN_DIR SCREENSHOT.png\n");
        return 1;
    }
    Display *display = getenv("DISPLAY") ? XOpenDisplay(nullptr) : nullptr;
    if (!display) {
        fprintf(stderr, "window smoke: no X display, skipped\n");
        return 77;
    }
    XSetErrorHandler(ignoreXError);

    char folder[] = "/tmp/mirabo-window-XXXXXX";
    if (!mkdtemp(folder))
        fail("cannot make a run folder");
    std::filesystem::create_directory_symlink(std::filesystem::path(argv[2]) / "data",
                                              std::filesystem::path(folder) / "data");
    game = fork();
    if (game == 0) {
        if (chdir(folder) != 0)
            _exit(127);
        setenv("SDL_VIDEODRIVER", "x11", 1);
        setenv("SDL_AUDIODRIVER", "dummy", 1);
        setenv("ASAN_OPTIONS", "detect_leaks=0", 1); // the X and GL libraries keep memory to the end
        execl(argv[1], "mirabo", "-w", static_cast<char *>(nullptr));
        _exit(127);
    }

    Window window = 0;
    for (const auto give_up = Clock::now() + std::chrono::seconds(20); !window;) {
        if (Clock::now() > give_up)
            fail("no window titled MIRABO appeared");
        int status = 0;
        if (waitpid(game, &status, WNOHANG) == game) {
            game = 0;
            fail("the game ended before its window appeared");
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        window = findGameWindow(display, DefaultRootWindow(display));
    }
    XWindowAttributes attributes;
    XGetWindowAttributes(display, window, &attributes);
    if (attributes.width != 640 || attributes.height != 480)
        fail("the window is not 640 × 480");

    // The logo has slid in after about 2.5 s.
    std::this_thread::sleep_for(std::chrono::milliseconds(3000));
    long lit = 0;
    SDL_Surface *shot = grab(display, window, attributes.width, attributes.height, &lit);
    const bool saved = savePNG(shot, argv[3]);
    SDL_FreeSurface(shot);
    if (!saved)
        fail("cannot save the screenshot");
    printf("window smoke: %ld of %d pixels lit, screenshot %s\n", lit, 640 * 480, argv[3]);
    if (lit < 1000)
        fail("the window shows nothing");

    closeWindow(display, window);
    int status = 0;
    for (const auto give_up = Clock::now() + std::chrono::seconds(10);
         waitpid(game, &status, WNOHANG) == 0;) {
        if (Clock::now() > give_up)
            fail("the game did not end after its window was closed");
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    game = 0;
    std::filesystem::remove_all(folder);
    XCloseDisplay(display);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
        fail("the game did not end with status 0");
    printf("window smoke: closed cleanly\n");
    return 0;
}
