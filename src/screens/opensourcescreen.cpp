// The open-source notice: the libraries the game is built on.
#include "screens/opensourcescreen.h"

#include "gfx/font.h"
#include "gfx/gfx_sdl2.h"
#include "input/keyhelper_sdl2.h"
#include "main/i18n.h"

// The notice's lines: text id, big font or not, row.
struct NoticeLine {
    int id;
    bool big;
    int y;
};
static const NoticeLine noticeLines[] = {
    {65, true, 40},   {66, false, 80},  {67, false, 90},  {68, false, 100},
    {69, false, 120}, {70, false, 130}, {71, false, 150}, {72, false, 160},
    {73, false, 170}, {74, false, 180}, {88, false, 210},
};

int32_t opensourceInit() { return 0; }

int32_t opensourceShutdown() { return 0; }

int32_t opensourceUpdate() { return input.lastKeyTyped != 0; }

int32_t opensourceRender(SDL_Surface *target) {
    SDL_FillRect(target, nullptr, BLACK);
    for (const NoticeLine &line : noticeLines)
        drawTextCenterAt(target, text(line.id), line.y, line.big ? fontbig : font);
    return 0;
}
