// Images in the back surface's pixel format: loading by asset name, colour keys, blits, darken.
#pragma once

#include <SDL.h>
#include <cstdint>

SDL_Surface *loadGFX(const char *name, int useKey, int r, int g, int b); // never nullptr
SDL_Surface *loadGFXFromMemory(const uint8_t *data, uint32_t size, int useKey, int r, int g, int b);
void setColorKey(SDL_Surface *image, int r, int g, int b);
SDL_Surface *createImage(int w, int h);
void fillRect(SDL_Surface *image, int x, int y, int w, int h, uint32_t colour);
void blitImage(SDL_Surface *src, int x, int y, SDL_Surface *dst);
void blitSurface(SDL_Surface *src, SDL_Rect *srcRect, SDL_Surface *dst, SDL_Rect *dstRect);
void freeSurface(SDL_Surface *image);
void prepareDarken(); // once the overlay black exists
void darken();
