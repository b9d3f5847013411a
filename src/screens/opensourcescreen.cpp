// The open-source notice: the libraries the game is built on.
#include "screens/opensourcescreen.h"

#include "gfx/font.h"
#include "gfx/gfx_sdl2.h"
#include "input/keyhelper_sdl2.h"
#include "main/i18n.h"

// The notice's lines: text id, big font or not, row.
struct NoticeLine {
    TextId id;
    bool big;
    int y;
};
static const NoticeLine noticeLines[] = {
    {TEXT_CREDITS, true, 40},
    {TEXT_NOTICE_USES, false, 80},
    {TEXT_NOTICE_FOLLOWING, false, 90},
    {TEXT_NOTICE_PROJECTS, false, 100},
    {TEXT_NOTICE_LIBRARIES, false, 120},
    {TEXT_NOTICE_ZLIB, false, 130},
    {TEXT_NOTICE_SOURCE, false, 150},
    {TEXT_NOTICE_MENTIONED, false, 160},
    {TEXT_NOTICE_VISITING, false, 170},
    {TEXT_NOTICE_HOMEPAGES, false, 180},
    {TEXT_HIT_KEY, false, 210},
};

int32_t opensourceInit() { return 0; }

int32_t opensourceShutdown() { return 0; }

int32_t opensourceUpdate() { return ctrlHitAnyKey(); }

int32_t opensourceRender(SDL_Surface *target) {
    SDL_FillRect(target, nullptr, BLACK);
    for (const NoticeLine &line : noticeLines)
        drawTextCenterAt(target, text(line.id), line.y, line.big ? fontbig : font);
    return 0;
}
