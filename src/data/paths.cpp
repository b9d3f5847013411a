// Where the game's files live: the data folder it reads, and the folder of the player's own files.
#include "data/paths.h"

#include "gfx/debug.h"

#include <SDL.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <sys/stat.h>
#include <vector>

#if !defined(MIRABO_DATA_FROM_BINARY) || !defined(MIRABO_INSTALLED_DATA)
#error "the build names the installed data folder (MIRABO_DATA_FROM_BINARY, MIRABO_INSTALLED_DATA)"
#endif

// The archive every data folder holds; the game cannot show a thing without it.
static const char *const dataMarker = "gfx.zka";

static std::string dataFolder = "./data";
static std::string userFolder = "./";

static bool holdsData(const std::string &folder) {
    struct stat info;
    return stat((folder + "/" + dataMarker).c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

static std::string absoluteFolder(const std::string &path) {
    std::error_code ignored;
    std::filesystem::path absolute = std::filesystem::absolute(path, ignored);
    std::string folder =
        (absolute.empty() ? std::filesystem::path(path) : absolute).lexically_normal().string();
    while (folder.size() > 1 && folder.back() == '/')
        folder.pop_back();
    return folder;
}

// The folders an installed game looks in, in order, each once.
static std::vector<std::string> dataCandidates() {
    std::vector<std::string> candidates;
    if (char *base = SDL_GetBasePath()) {
        candidates.push_back(absoluteFolder(std::string(base) + "data"));
        candidates.push_back(absoluteFolder(std::string(base) + MIRABO_DATA_FROM_BINARY));
        SDL_free(base);
    }
    candidates.push_back(absoluteFolder(MIRABO_INSTALLED_DATA));
    std::vector<std::string> unique;
    for (const std::string &folder : candidates) {
        bool seen = false;
        for (const std::string &earlier : unique)
            seen |= earlier == folder;
        if (!seen)
            unique.push_back(folder);
    }
    return unique;
}

// Without a per-user folder (no home at all) the player's files stay in the working directory,
// where saving may fail and is then reported.
static std::string prefFolder() {
    char *pref = SDL_GetPrefPath("", "mirabo");
    if (!pref) {
        fprintf(stderr, "mirabo: no folder for the player's files (%s); using the working directory\n",
                SDL_GetError());
        return "./";
    }
    std::string folder = pref;
    SDL_free(pref);
    while (folder.size() > 1 && folder.back() == '/')
        folder.pop_back();
    return folder;
}

// A data/ of the working directory that is not the game's (a home folder often has one) does not
// hold the game in folder mode.
void pathsLocate(const char *dataOption) {
    if (!dataOption && holdsData("data")) {
        dataFolder = "./data";
        userFolder = "./";
        return;
    }
    std::vector<std::string> searched;
    if (dataOption)
        searched.push_back(absoluteFolder(dataOption));
    else
        searched = dataCandidates();
    std::string list;
    for (const std::string &folder : searched) {
        if (holdsData(folder)) {
            dataFolder = folder;
            userFolder = prefFolder();
            return;
        }
        list += (list.empty() ? "" : ", ") + folder;
    }
    if (!dataOption)
        list = absoluteFolder("data") + ", " + list;
    const std::string detail = "no " + std::string(dataMarker) + " in " + list;
    error("Cannot find the game data", detail.c_str());
}

const char *pathsDataFolder() { return dataFolder.c_str(); }

const char *pathsUserFolder() { return userFolder.c_str(); }

const char *pathsData(const char *name) {
    static std::string path;
    path = dataFolder + "/" + name;
    return path.c_str();
}
