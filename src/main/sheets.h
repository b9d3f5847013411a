// Sprite sheets cut into frame lists, the shared single images, and the asset set-up initStuff.
#pragma once

#include <SDL.h>
#include <array>

// A frame list is a null-terminated array of frame images, row by row from the sheet.
extern std::array<SDL_Surface **, 2> blocks; // "fruitanim", "fruitanim2"
extern SDL_Surface **lionBlocks, **totemBlocks, **sunBlocks, **optionsBlocks, **butterflyBlocks;
extern std::array<SDL_Surface **, 2> birdsBlocks, flowersBlocks;

// Shared images, loaded at start-up.
extern SDL_Surface *logo, *timebar, *timebar2, *gameover, *kitty, *pauseTitle;
extern std::array<SDL_Surface *, 4> backgrounds;
extern std::array<SDL_Surface *, 3> menubkg;

SDL_Surface **initBlocks(const char *name, int frameWidth, int frameHeight, int keyed);
void freeBlocks(SDL_Surface **&list); // frees the frames and the list, and clears it
void cutSheets();                     // the sheets not cut yet, in their fixed order
void freeSheets();                    // every frame list, in the order of shutdown
void loadSharedImages();
void freeSharedImages(); // the single images, in the order of shutdown
void initStuff();
