// Bitmap fonts and text: glyph lists cut from the "font" (8 × 8) and "fontbig" (16 × 16) assets.
#include "gfx/font.h"

#include "gfx/gfx_sdl2.h"
#include "gfx/image.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

FrameList font;
FrameList fontbig;

FrameList createFont(SDL_Surface *image, int glyphWidth, int glyphHeight) {
    return FrameList::cut(image, glyphWidth, glyphHeight, true);
}

static FrameList loadFont(const char *name, int glyphSize) {
    Image image(loadGFX(name, 0, 0, 0, 0));
    return createFont(image.get(), glyphSize, glyphSize);
}

// Loads the fonts not loaded yet, after the video set-up and the archives: the intro makes them
// after its first frame, the menu or the test stage if the intro did not (initStuff).
void loadSpriteFont() {
    if (font.empty())
        font = loadFont("font", 8);
    if (fontbig.empty())
        fontbig = loadFont("fontbig", 16);
}

// Called once at exit.
void destroyFonts() {
    font.clear();
    fontbig.clear();
}

// Glyphs wholly left of the destination are not copied, so a scroller may start far left; a byte
// the font has no glyph for leaves its cell empty.
static void drawGlyphs(SDL_Surface *dst, const char *text, int n, int x, int y, const FrameList &font) {
    if (font.empty() || n < 1 || !text[0])
        return;
    const int gw = font[0]->w;
    for (int i = 0; i < n && text[i]; i++, x += gw) {
        SDL_Surface *glyph = font[static_cast<unsigned char>(text[i]) - 32];
        if (x > -gw && glyph)
            blitImage(glyph, x, y, dst);
    }
}

void drawTextAt(SDL_Surface *dst, const char *text, int x, int y, const FrameList &font) {
    drawGlyphs(dst, text, int(strlen(text)), x, y, font);
}

void drawTextNAt(SDL_Surface *dst, const char *text, int n, int x, int y, const FrameList &font) {
    drawGlyphs(dst, text, n, x, y, font);
}

// Centred on the screen's middle column 160, whatever the destination's width.
void drawTextCenterAt(SDL_Surface *dst, const char *text, int y, const FrameList &font) {
    if (font.empty())
        return;
    const int len = int(strlen(text));
    drawGlyphs(dst, text, len, 160 - len * (font[0]->w / 2), y, font);
}

// Right-aligned in a field of width glyphs; zero padding goes in front of the sign.
void drawNumberAt(SDL_Surface *dst, int32_t value, int x, int y, int width, int zeroPad,
                  const FrameList &font) {
    if (font.empty())
        return;
    static char digits[16];
    snprintf(digits, sizeof digits, "%d", int(value));
    const int len = int(strlen(digits));
    const int gw = font[0]->w;
    if (zeroPad && len < width)
        drawGlyphs(dst, "00000000", width - len, x, y, font);
    if (width > 0)
        x += (width - len) * gw;
    drawGlyphs(dst, digits, len, x, y, font);
}
