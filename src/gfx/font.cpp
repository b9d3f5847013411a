// Bitmap fonts and text: glyph lists cut from the "font" (8 × 8) and "fontbig" (16 × 16) assets.
#include "gfx/font.h"

#include "gfx/gfx_sdl2.h"
#include "gfx/image.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

SDL_Surface **font;
SDL_Surface **fontbig;

SDL_Surface **createFont(SDL_Surface *image, int glyphWidth, int glyphHeight) {
    const int columns = glyphWidth > 0 ? image->w / glyphWidth : 0;
    const int rows = glyphHeight > 0 ? image->h / glyphHeight : 0;
    auto **list = static_cast<SDL_Surface **>(calloc(size_t(columns) * rows + 1, sizeof(SDL_Surface *)));
    const SDL_PixelFormat *f = screen->format;
    int next = 0;
    for (int row = 0; row < rows; row++) {
        for (int column = 0; column < columns; column++) {
            SDL_Surface *glyph = SDL_CreateRGBSurface(0, glyphWidth, glyphHeight, f->BitsPerPixel, f->Rmask,
                                                      f->Gmask, f->Bmask, f->Amask);
            SDL_Rect cell{column * glyphWidth, row * glyphHeight, glyphWidth, glyphHeight};
            SDL_Rect at{0, 0, 0, 0};
            blitSurface(image, &cell, glyph, &at);
            setColorKey(glyph, 255, 0, 255);
            list[next++] = glyph;
        }
    }
    return list;
}

static SDL_Surface **loadFont(const char *name, int glyphSize) {
    SDL_Surface *image = loadGFX(name, 0, 0, 0, 0);
    SDL_Surface **list = createFont(image, glyphSize, glyphSize);
    freeSurface(image);
    return list;
}

// Called once at start-up, after the video set-up and the archives.
void loadSpriteFont() {
    font = loadFont("font", 8);
    fontbig = loadFont("fontbig", 16);
}

static void destroyFont(SDL_Surface **&list) {
    if (!list)
        return;
    for (SDL_Surface **glyph = list; *glyph; glyph++)
        SDL_FreeSurface(*glyph);
    free(list);
    list = nullptr;
}

// Called once at exit.
void destroyFonts() {
    destroyFont(font);
    destroyFont(fontbig);
}

static int glyphCount(SDL_Surface **font) {
    int count = 0;
    while (font[count])
        count++;
    return count;
}

// Glyphs wholly left of the destination are not copied, so a scroller may start far left; a byte
// the font has no glyph for leaves its cell empty.
static void drawGlyphs(SDL_Surface *dst, const char *text, int n, int x, int y, SDL_Surface **font) {
    if (!font || !font[0] || n < 1 || !text[0])
        return;
    const int count = glyphCount(font);
    const int gw = font[0]->w;
    for (int i = 0; i < n && text[i]; i++, x += gw) {
        const int glyph = static_cast<unsigned char>(text[i]) - 32;
        if (x <= -gw || glyph < 0 || glyph >= count)
            continue;
        blitImage(font[glyph], x, y, dst);
    }
}

void drawTextAt(SDL_Surface *dst, const char *text, int x, int y, SDL_Surface **font) {
    drawGlyphs(dst, text, int(strlen(text)), x, y, font);
}

void drawTextNAt(SDL_Surface *dst, const char *text, int n, int x, int y, SDL_Surface **font) {
    drawGlyphs(dst, text, n, x, y, font);
}

// Centred on the screen's middle column 160, whatever the destination's width.
void drawTextCenterAt(SDL_Surface *dst, const char *text, int y, SDL_Surface **font) {
    if (!font || !font[0])
        return;
    const int len = int(strlen(text));
    drawGlyphs(dst, text, len, 160 - len * (font[0]->w / 2), y, font);
}

// Right-aligned in a field of width glyphs; zero padding goes in front of the sign.
void drawNumberAt(SDL_Surface *dst, int32_t value, int x, int y, int width, int zeroPad, SDL_Surface **font) {
    if (!font || !font[0])
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
