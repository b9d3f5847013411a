// The level files: the scrambled level set "data/levels.bin" and the plain test stage "test.bin".
#include "main/levelfile.h"

#include "data/files.h"
#include "gfx/debug.h"
#include "main/level.h"

#include <cstdlib>

static const char *const levelsPath = "data/levels.bin";
static const char *const testPath = "test.bin";

// Called once by start-up. A file without any complete record leaves the game nothing to play.
void loadLevels() {
    freeLevels();
    uint32_t size = 0;
    uint8_t *data = loadBINFile(levelsPath, &size);
    if (!data)
        error("Cannot read the level file", levelsPath);
    descrambleLevels(data, size);
    if (useLevels(data, size) < 1) {
        freeLevels();
        error("No complete level in the level file", levelsPath);
    }
}

void freeLevels() {
    free(levelSet.levelsData);
    useLevels(nullptr, 0);
}

// Called by the stage start of the test stage.
void loadTestLevel() {
    uint32_t size = 0;
    uint8_t *data = loadBINFile(testPath, &size);
    if (data && size == LEVEL_SOLUTION_OFFSET)
        useTestLevel(data);
    free(data);
}
