// The module music player: libmodplug output streamed through SDL_mixer's music hook.
#include "sound/modplayer.h"

int32_t mpFlags = 3, mpResamplingMode = 1, mpReverbDepth, mpReverbDelay, mpBassAmount, mpBassRange,
        mpSurroundDepth, mpSurroundDelay, mpChannels = 2, mpFrequency;

std::atomic<ModPlugFile *> mp_music{nullptr};
std::atomic<int32_t> mp_volume{128}, mp_fade{128}, mp_delta{0}, mpLoops{0};
std::atomic<void (*)()> mp_hook{nullptr};
