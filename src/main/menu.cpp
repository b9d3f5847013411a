// Interim menu: the title screen and the main menu come with their own branch. Until then the
// game ends after the intro screens, as when the player chooses EXIT.
#include "main/menu.h"

void menu() {}
