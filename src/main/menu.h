// The title screen, the main menu, the hiscore table and the options screen.
#pragma once

// Called once by start-up after the intro screens; returns when the player leaves the game.
void menu();
