// Where the game's files live: the data folder it reads, and the folder of the player's own files.
#pragma once

// Called once at start-up, before any file is read. Without dataOption, a working directory whose
// data/ holds the archives keeps everything there (folder mode: the data from ./data, the player's files in
// the working directory). Otherwise the data comes from dataOption alone when it is given, else from the
// first folder holding the archives among data/ beside the binary, the data folder of an installation
// around the binary and the data folder the build was configured to install; the player's files then
// go to the platform's per-user folder (~/.local/share/mirabo on Linux, or $XDG_DATA_HOME/mirabo).
// Finding no data is a fatal error that names every folder searched.
void pathsLocate(const char *dataOption);
const char *pathsDataFolder();           // "./data" until pathsLocate chose another
const char *pathsUserFolder();           // "./" until pathsLocate chose another
const char *pathsData(const char *name); // name in the data folder, in a static buffer
