// Sprite sheets cut into frame lists, and the shared single images.
#include "main/sheets.h"

#include "gfx/font.h"
#include "gfx/image.h"

#include <iterator>

Sheets sheets;
SharedImages images;

// Frames run row by row; pixels beyond the last whole frame are ignored.
FrameList initBlocks(const char *name, int frameWidth, int frameHeight, int keyed) {
    Image sheet(loadGFX(name, 0, 0, 0, 0));
    return FrameList::cut(sheet.get(), frameWidth, frameHeight, keyed != 0);
}

// The sheets in the order initStuff cuts them.
struct SheetEntry {
    FrameList *list;
    const char *name;
    int frameWidth, frameHeight, keyed;
};
static const SheetEntry sheetTable[] = {
    {&sheets.blocks[0], "fruitanim", 16, 16, 1},       {&sheets.blocks[1], "fruitanim2", 16, 16, 1},
    {&sheets.lionBlocks, "lionanim", 32, 32, 1},       {&sheets.totemBlocks, "totem", 32, 48, 0},
    {&sheets.sunBlocks, "sunanim", 64, 64, 0},         {&sheets.optionsBlocks, "options_vert", 32, 32, 1},
    {&sheets.birdsBlocks[0], "birds", 16, 16, 1},      {&sheets.birdsBlocks[1], "birds2", 16, 16, 1},
    {&sheets.flowersBlocks[0], "flowers", 16, 16, 1},  {&sheets.flowersBlocks[1], "flowers2", 16, 16, 1},
    {&sheets.butterflyBlocks, "butterfly", 16, 16, 1},
};

static void cut(const SheetEntry &sheet) {
    *sheet.list = initBlocks(sheet.name, sheet.frameWidth, sheet.frameHeight, sheet.keyed);
}

// Cuts every sheet whose list is not there yet, in the table's order.
void cutSheets() {
    for (const SheetEntry &sheet : sheetTable) {
        if (sheet.list->empty())
            cut(sheet);
    }
}

// Called once at exit.
void freeSheets() {
    FrameList *const order[] = {&sheets.blocks[0],        &sheets.blocks[1],      &sheets.optionsBlocks,
                                &sheets.lionBlocks,       &sheets.totemBlocks,    &sheets.sunBlocks,
                                &sheets.birdsBlocks[0],   &sheets.birdsBlocks[1], &sheets.flowersBlocks[0],
                                &sheets.flowersBlocks[1], &sheets.butterflyBlocks};
    for (FrameList *list : order)
        list->clear();
}

// The single images: the slot, the asset and whether it is keyed (magenta).
struct ImageEntry {
    Image *image;
    const char *name;
    int keyed;
};
static const ImageEntry imageTable[] = {
    {&images.logo, "logo", 1},
    {&images.timebar, "timebar", 1},
    {&images.timebar2, "timebar2", 0},
    {&images.gameover, "gameover", 1},
    {&images.kitty, "kitty", 1},
    {&images.pauseTitle, "pause", 1},
    {&images.backgrounds[0], "ingamebkg1", 0},
    {&images.backgrounds[1], "ingamebkg2", 0},
    {&images.backgrounds[2], "ingamebkg3", 0},
    {&images.backgrounds[3], "ingamebkg4", 0},
    {&images.menubkg[0], "titbkgl0", 0},
    {&images.menubkg[1], "titbkgl1", 1},
    {&images.menubkg[2], "titbkgl2", 1},
};

static void load(const ImageEntry &entry) {
    entry.image->reset(loadGFX(entry.name, entry.keyed, 255, 0, 255));
}

// Loads every image not loaded yet.
void loadSharedImages() {
    for (const ImageEntry &entry : imageTable)
        if (!*entry.image)
            load(entry);
}

// Goes through the fonts, the images, then the sheets, once: one that is there already (or a sheet
// too small for a single frame, which stays empty) is passed over.
bool prepareNextAsset() {
    if (font.empty() || fontbig.empty()) {
        loadSpriteFont();
        return true;
    }
    static size_t next;
    constexpr size_t IMAGES = std::size(imageTable), ALL = IMAGES + std::size(sheetTable);
    while (next < ALL) {
        const size_t i = next++;
        if (i < IMAGES && !*imageTable[i].image) {
            load(imageTable[i]);
            return true;
        }
        if (i >= IMAGES && sheetTable[i - IMAGES].list->empty()) {
            cut(sheetTable[i - IMAGES]);
            return true;
        }
    }
    return false;
}

// Called once at exit, after gfxShutdown.
void freeSharedImages() {
    Image *const order[] = {&images.logo,     &images.timebar,    &images.timebar2,
                            &images.gameover, &images.pauseTitle, &images.kitty};
    for (Image *image : order)
        image->reset();
    for (Image &image : images.backgrounds)
        image.reset();
    for (Image &image : images.menubkg)
        image.reset();
}
