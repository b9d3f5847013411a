// Sprite sheets cut into frame lists, the shared single images, and the asset set-up initStuff.
#pragma once

#include "gfx/frames.h"

#include <array>

// The frame lists of the sprite sheets, cut by initStuff.
struct Sheets {
    std::array<FrameList, 2> blocks; // "fruitanim", "fruitanim2"
    FrameList lionBlocks, totemBlocks, sunBlocks, optionsBlocks, butterflyBlocks;
    std::array<FrameList, 2> birdsBlocks, flowersBlocks;
};
extern Sheets sheets;

// The single images the screens draw uncut, loaded by initStuff if the intro has not loaded them.
struct SharedImages {
    Image logo, timebar, timebar2, gameover, kitty, pauseTitle;
    std::array<Image, 4> backgrounds;
    std::array<Image, 3> menubkg;
};
extern SharedImages images;

FrameList initBlocks(const char *name, int frameWidth, int frameHeight, int keyed);
void cutSheets();        // the sheets not cut yet, in their fixed order
void freeSheets();       // every frame list, in the order of shutdown
void loadSharedImages(); // the images not loaded yet
// The fonts, or one image or sheet of those above, made ahead while the intro plays; false once all
// are there.
bool prepareNextAsset();
void freeSharedImages(); // the single images, in the order of shutdown
void initStuff();
