// The title screen, the main menu and the hiscore table, over a parallax background of three layers
// that the options screen shares.
#pragma once

#include <cstdint>

struct _ModPlugFile;
typedef struct _ModPlugFile ModPlugFile;
struct Screen;

constexpr char VERSION_LINE[] = "MIRABO V1.00.2"; // under the title and the options
constexpr int VERSION_Y = 208;                    // its line on both screens
constexpr int MUSIC_TITLE_TRACK = 0;              // the menu's music

// The menu's states (workflow): the title, the five items of the main menu, and the two screens
// reached from it, which take the negative of the item that leads to them.
enum MenuState {
    MENU_TITLE = 0,
    MENU_NEW_GAME = 1,
    MENU_CONTINUE = 2,
    MENU_HISCORES = 3,
    MENU_OPTIONS = 4,
    MENU_EXIT = 5,
    MENU_HISCORE_TABLE = -MENU_HISCORES,
    MENU_OPTIONS_SCREEN = -MENU_OPTIONS,
};
extern int32_t workflow;

// The title and the main menu: start-up opens it after the intro screens; the program ends when it
// leaves (EXIT, or a quit request on it).
extern const Screen menuScreen;

// For the options screen, which runs over the menu's background with the menu's music.
void menuAnimate();        // once per tick of every screen over the background, drawn or not
void menuDrawLayers();     // the three background layers
ModPlugFile *&menuMusic(); // the title track, or the sound check's
