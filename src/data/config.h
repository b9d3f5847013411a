// The configuration file "mirabo.cfg", the paths of every per-user file and their saving.
#pragma once

#include <cstddef>
#include <cstdint>

extern char *configFolder; // the player's folder: "./" in folder mode, else the per-user folder
// cfgScreen: 0 full screen, 1 window without zoom, 2 zoomed window.
extern int32_t cfgScreen, cfgScalingMethod, cfgbpp;

void getConfigFolder(); // takes the player's folder found at start-up (pathsLocate)
// name.ext in folder (the working directory when folder is nullptr), in a static buffer.
const char *filename(const char *folder, const char *name, const char *ext);
void loadGfxConfig();
void resetDefaultControls();
void loadConfig();
void dumpConfig();

// The files of the player's that the game writes.
enum PlayerFile { PLAYER_CONFIG, PLAYER_HISCORES, PLAYER_SAVEGAME, PLAYER_FILES };
const char *configPlayerPath(PlayerFile file); // in configFolder, in filename's static buffer
// Replaces the player's file whole (writeFileAtomically): a failure keeps the old file. The first
// failure of each file in a run is reported on standard error and left for configTakeSaveFailure.
bool configSavePlayerFile(PlayerFile file, const void *data, size_t size);
// The line to show on screen for a save that failed since the last call ("CANNOT SAVE THE GAME"),
// once; nullptr when there is none.
const char *configTakeSaveFailure();
