// The level files: the scrambled level set "levels.bin" of the data folder and the plain test stage
// "test.bin" of the player's folder.
#include "main/levelfile.h"

#include "data/config.h"
#include "data/fileio.h"
#include "data/paths.h"
#include "gfx/debug.h"
#include "main/level.h"

#include <cstdlib>

// Called once by start-up. A file without any complete record leaves the game nothing to play.
void loadLevels() {
    freeLevels();
    uint32_t size = 0;
    const char *path = pathsData("levels.bin");
    uint8_t *data = loadBINFile(path, &size);
    if (!data)
        error("Cannot read the level file", path);
    descrambleLevels(data, size);
    if (useLevels(data, size) < 1) {
        freeLevels();
        error("No complete level in the level file", path);
    }
}

void freeLevels() {
    free(levelSet.levelsData);
    useLevels(nullptr, 0);
}

// Called by the stage start of the test stage: "test.bin" in the player's folder.
void loadTestLevel() {
    uint32_t size = 0;
    uint8_t *data = loadBINFile(filename(configFolder, "test", "bin"), &size);
    if (data && size == LEVEL_SOLUTION_OFFSET)
        useTestLevel(data);
    free(data);
}
