// Bitmap fonts and text: glyph lists cut from the "font" (8 × 8) and "fontbig" (16 × 16) assets.
#pragma once

#include <SDL.h>
#include <cstdint>

extern SDL_Surface **font;
extern SDL_Surface **fontbig;

SDL_Surface **createFont(SDL_Surface *image, int glyphWidth, int glyphHeight);
void loadSpriteFont();
void destroyFonts();
void drawTextAt(SDL_Surface *dst, const char *text, int x, int y, SDL_Surface **font);
void drawTextNAt(SDL_Surface *dst, const char *text, int n, int x, int y, SDL_Surface **font);
void drawTextCenterAt(SDL_Surface *dst, const char *text, int y, SDL_Surface **font);
void drawNumberAt(SDL_Surface *dst, int32_t value, int x, int y, int width, int zeroPad, SDL_Surface **font);
