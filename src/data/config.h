// The configuration file "mirabo.cfg" and the paths of every per-user file.
#pragma once

#include <cstdint>
#include <cstdio>

extern char *configFolder; // "./"
// cfgScreen: 0 full screen, 1 window without zoom, 2 zoomed window.
extern int32_t cfgScreen, cfgScalingMethod, cfgbpp;

void getConfigFolder();
const char *filename(const char *folder, const char *name, const char *ext); // static buffer
void loadGfxConfig();
void resetDefaultControls();
void loadConfig();
void dumpConfig();
