// Sprite sheets cut into frame lists, the shared single images, and the asset set-up initStuff.
#include "main/sheets.h"

#include "gfx/image.h"

#include <cstdlib>

std::array<SDL_Surface **, 2> blocks;
SDL_Surface **lionBlocks, **totemBlocks, **sunBlocks, **optionsBlocks, **butterflyBlocks;
std::array<SDL_Surface **, 2> birdsBlocks, flowersBlocks;

SDL_Surface *logo, *timebar, *timebar2, *gameover, *kitty, *pauseTitle;
std::array<SDL_Surface *, 4> backgrounds;
std::array<SDL_Surface *, 3> menubkg;

// Frames run row by row; pixels beyond the last whole frame are ignored.
SDL_Surface **initBlocks(const char *name, int frameWidth, int frameHeight, int keyed) {
    SDL_Surface *sheet = loadGFX(name, 0, 0, 0, 0);
    const int columns = frameWidth > 0 ? sheet->w / frameWidth : 0;
    const int rows = frameHeight > 0 ? sheet->h / frameHeight : 0;
    auto **list = static_cast<SDL_Surface **>(calloc(size_t(columns) * rows + 1, sizeof(SDL_Surface *)));
    int next = 0;
    for (int row = 0; row < rows; row++) {
        for (int column = 0; column < columns; column++) {
            SDL_Surface *frame = createImage(frameWidth, frameHeight);
            SDL_Rect cell{column * frameWidth, row * frameHeight, frameWidth, frameHeight};
            SDL_Rect at{0, 0, 0, 0};
            blitSurface(sheet, &cell, frame, &at);
            if (keyed)
                setColorKey(frame, 255, 0, 255);
            list[next++] = frame;
        }
    }
    freeSurface(sheet);
    return list;
}

void freeBlocks(SDL_Surface **&list) {
    if (!list)
        return;
    for (SDL_Surface **frame = list; *frame; frame++) {
        freeSurface(*frame);
        *frame = nullptr;
    }
    free(list);
    list = nullptr;
}

// The sheets in the order initStuff cuts them.
struct SheetEntry {
    SDL_Surface ***list;
    const char *name;
    int frameWidth, frameHeight, keyed;
};
static const SheetEntry sheetTable[] = {
    {&blocks[0], "fruitanim", 16, 16, 1},       {&blocks[1], "fruitanim2", 16, 16, 1},
    {&lionBlocks, "lionanim", 32, 32, 1},       {&totemBlocks, "totem", 32, 48, 0},
    {&sunBlocks, "sunanim", 64, 64, 0},         {&optionsBlocks, "options_vert", 32, 32, 1},
    {&birdsBlocks[0], "birds", 16, 16, 1},      {&birdsBlocks[1], "birds2", 16, 16, 1},
    {&flowersBlocks[0], "flowers", 16, 16, 1},  {&flowersBlocks[1], "flowers2", 16, 16, 1},
    {&butterflyBlocks, "butterfly", 16, 16, 1},
};

// Cuts every sheet whose list is not there yet, in the table's order.
void cutSheets() {
    for (const SheetEntry &sheet : sheetTable) {
        if (!*sheet.list)
            *sheet.list = initBlocks(sheet.name, sheet.frameWidth, sheet.frameHeight, sheet.keyed);
    }
}

// Called once at exit.
void freeSheets() {
    SDL_Surface ***const order[] = {&blocks[0],        &blocks[1],        &optionsBlocks,  &lionBlocks,
                                    &totemBlocks,      &sunBlocks,        &birdsBlocks[0], &birdsBlocks[1],
                                    &flowersBlocks[0], &flowersBlocks[1], &butterflyBlocks};
    for (SDL_Surface ***list : order)
        freeBlocks(*list);
}

// The single images the screens draw uncut: the slot, the asset and whether it is keyed (magenta).
struct ImageEntry {
    SDL_Surface **image;
    const char *name;
    int keyed;
};
static const ImageEntry imageTable[] = {
    {&logo, "logo", 1},
    {&timebar, "timebar", 1},
    {&timebar2, "timebar2", 0},
    {&gameover, "gameover", 1},
    {&kitty, "kitty", 1},
    {&pauseTitle, "pause", 1},
    {&backgrounds[0], "ingamebkg1", 0},
    {&backgrounds[1], "ingamebkg2", 0},
    {&backgrounds[2], "ingamebkg3", 0},
    {&backgrounds[3], "ingamebkg4", 0},
    {&menubkg[0], "titbkgl0", 0},
    {&menubkg[1], "titbkgl1", 1},
    {&menubkg[2], "titbkgl2", 1},
};

// Called once at start-up, after the fonts.
void loadSharedImages() {
    for (const ImageEntry &entry : imageTable)
        *entry.image = loadGFX(entry.name, entry.keyed, 255, 0, 255);
}

static void freeImage(SDL_Surface *&image) {
    if (image)
        freeSurface(image);
    image = nullptr;
}

// Called once at exit, after gfxShutdown.
void freeSharedImages() {
    SDL_Surface **const order[] = {&logo, &timebar, &timebar2, &gameover, &pauseTitle, &kitty};
    for (SDL_Surface **image : order)
        freeImage(*image);
    for (SDL_Surface *&image : backgrounds)
        freeImage(image);
    for (SDL_Surface *&image : menubkg)
        freeImage(image);
}
