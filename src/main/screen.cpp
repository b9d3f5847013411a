// The intro-screen table: the maker's logo, then the open-source notice.
#include "main/screen.h"

#include "screens/opensourcescreen.h"
#include "screens/zenkscreen.h"

const IntroScreen screens[] = {
    {"zenk", zenkInit, zenkShutdown, zenkUpdate, zenkRender},
    {"opensource", opensourceInit, opensourceShutdown, opensourceUpdate, opensourceRender},
    {nullptr, nullptr, nullptr, nullptr, nullptr},
};

int32_t currentScreen;
