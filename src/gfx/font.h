// Bitmap fonts and text: glyph lists cut from the "font" (8 × 8) and "fontbig" (16 × 16) assets,
// indexed by character code minus 32.
#pragma once

#include "gfx/frames.h"

#include <SDL.h>
#include <cstdint>

extern FrameList font;
extern FrameList fontbig;

FrameList createFont(SDL_Surface *image, int glyphWidth, int glyphHeight);
void loadSpriteFont();
void destroyFonts();
void drawTextAt(SDL_Surface *dst, const char *text, int x, int y, const FrameList &font);
void drawTextNAt(SDL_Surface *dst, const char *text, int n, int x, int y, const FrameList &font);
void drawTextCenterAt(SDL_Surface *dst, const char *text, int y, const FrameList &font);
void drawNumberAt(SDL_Surface *dst, int32_t value, int x, int y, int width, int zeroPad,
                  const FrameList &font);
