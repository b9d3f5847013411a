// Sound effects and the music playlist.
#include "sound/sound.h"

#include <SDL_mixer.h>

const char *const snd_name[SFX_COUNT] = {
    "fruits_disappear",  "lion_hand",       "menu_control",     "select_option",
    "timer_last_10_sec", "hippo",           "bird_flying",      "flower_grow",
    "kavrin_eyelong",    "kavrin_eyeshort", "kavrin_eyesshort", "kavrin_jump",
    "kavrin_sleep",      "totem_anim",
};

int32_t _mus_volume_100_ = 100, _sfx_volume_100_ = 15;
int32_t _mus_volume_ = 128, _sfx_volume_ = 19;

int32_t mixerVolume(int32_t percent) { return percent * 128 / 100; }

static Mix_Chunk *snd_data[SFX_COUNT];
void (*sfxListener)(int index);

int playSFX(int index) {
    if (sfxListener)
        sfxListener(index);
    if (index < 0 || index >= SFX_COUNT || !snd_data[index])
        return -1;
    return Mix_PlayChannelTimed(-1, snd_data[index], 0, -1);
}
