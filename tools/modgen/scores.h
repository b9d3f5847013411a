// The scores of the playlist: eleven tunes, the stage-complete fanfare and the maker jingle.
#pragma once

#include "compose.h"
#include "song.h"

// The song of a track of the playlist, 0 to 12.
Song compose(int track);
// The score of a stage tune, tracks 0 to 10.
const Track &stageScore(int track);
