// The title screen, the main menu, the hiscore table and the options screen.
#pragma once

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

// Called once by start-up after the intro screens; returns when the player leaves the game.
void menu();
