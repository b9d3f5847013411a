// artgen: draws every image of the game and writes them as Windows bitmaps, plus review sheets and,
// given ICON_DIR, the desktop icons.
//   artgen OUT_DIR REVIEW_DIR [ICON_DIR]
#include "art.h"

#include <SDL.h>

#include <cstdio>
#include <sys/stat.h>

static bool saveBMP(const Img &img, const std::string &path) {
    SDL_Surface *s = SDL_CreateRGBSurfaceWithFormat(0, img.w, img.h, 24, SDL_PIXELFORMAT_RGB24);
    if (!s)
        return false;
    for (int y = 0; y < img.h; y++) {
        auto *row = static_cast<uint8_t *>(s->pixels) + y * s->pitch;
        for (int x = 0; x < img.w; x++) {
            uint32_t c = img.px[size_t(y) * img.w + x];
            row[3 * x] = uint8_t(c >> 16), row[3 * x + 1] = uint8_t(c >> 8), row[3 * x + 2] = uint8_t(c);
        }
    }
    bool ok = SDL_SaveBMP(s, path.c_str()) == 0;
    SDL_FreeSurface(s);
    return ok;
}

// Unkeyed images must not show the key colour anywhere, keyed ones must use it. A visible colour
// that a 16-bit screen would round to the key would turn transparent there, so it counts as the key.
static bool checkKey(const Asset &a) {
    bool hasKey = false, nearKey = false;
    for (uint32_t c : a.img.px) {
        hasKey |= c == KEY;
        nearKey |= c != KEY && (c >> 16) >= 248 && ((c >> 8) & 255) < 4 && (c & 255) >= 248;
    }
    if (hasKey != a.keyed)
        fprintf(stderr, "artgen: %s %s magenta\n", a.name.c_str(), a.keyed ? "lacks" : "contains");
    if (nearKey)
        fprintf(stderr, "artgen: %s has a colour that reads as magenta at 16 bits\n", a.name.c_str());
    return hasKey == a.keyed && !nearKey;
}

// Creates a folder and its missing parents.
static void makeDirs(const std::string &path) {
    for (size_t i = 1; i <= path.size(); i++)
        if (i == path.size() || path[i] == '/')
            mkdir(path.substr(0, i).c_str(), 0755);
}

int main(int argc, char **argv) {
    if (argc != 3 && argc != 4) {
        fprintf(stderr, "usage: artgen OUT_DIR REVIEW_DIR [ICON_DIR]\n");
        return 2;
    }
    const std::string outDir = argv[1], reviewDir = argv[2];
    makeDirs(outDir);
    makeDirs(reviewDir);
    Assets assets;
    drawFonts(assets);
    drawFruits(assets);
    drawCreatures(assets);
    drawScenery(assets);
    drawInterface(assets);
    drawIcon(assets);
    bool ok = true;
    for (const Asset &a : assets) {
        ok &= checkKey(a);
        if (!saveBMP(a.img, outDir + "/" + a.name + ".bmp")) {
            fprintf(stderr, "artgen: cannot write %s: %s\n", a.name.c_str(), SDL_GetError());
            ok = false;
        }
    }
    drawReview(assets, reviewDir);
    if (argc == 4 && !writeIcons(argv[3])) {
        fprintf(stderr, "artgen: cannot write the icons into %s\n", argv[3]);
        ok = false;
    }
    return ok ? 0 : 1;
}
