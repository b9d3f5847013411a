// Sound effects and the music playlist.
#include "sound/sound.h"

#include "data/winzka.h"
#include "gfx/debug.h"
#include "sound/modplayer.h"

#include <SDL_mixer.h>
#include <libmodplug/modplug.h>

#include <atomic>
#include <cstdlib>

const char *const snd_name[SFX_COUNT] = {
    "fruits_disappear",  "lion_hand",       "menu_control",     "select_option",
    "timer_last_10_sec", "hippo",           "bird_flying",      "flower_grow",
    "kavrin_eyelong",    "kavrin_eyeshort", "kavrin_eyesshort", "kavrin_jump",
    "kavrin_sleep",      "totem_anim",
};

// Members <stem>.mod of the music archive; tools/modgen composes them under the same stems.
const char *const musix[MUSIC_TRACKS] = {
    "a.title",  "b.morning", "c.river", "d.drums",    "e.dusk",          "f.night",  "g.meadow",
    "h.canopy", "i.market",  "j.rain",  "k.homeward", "x.levelcomplete", "y.jingle",
};

const char *const musix_titles[MUSIC_TITLES] = {
    "SUNRISE PARADE", "MORNING WALK", "RIVER BEND",  "JUNGLE DRUMS", "DUSK ACACIAS", "NIGHT PLAIN",
    "TALL GRASS",     "CANOPY",       "FRUIT STALL", "WARM RAIN",    "HOMEWARD",
};

int32_t curMusic;
int32_t _mus_volume_100_ = 100, _sfx_volume_100_ = 15;
int32_t _mus_volume_ = 128, _sfx_volume_ = 19;

int32_t mixerVolume(int32_t percent) { return percent * 128 / 100; }

static Mix_Chunk *snd_data[SFX_COUNT];
void (*sfxListener)(int index);

// The module started by playMusicFromBuffer; the audio thread unloads it when it ends.
static std::atomic<ModPlugFile *> musBuf{nullptr};

// Without a sound device (none there, or SDL_AUDIODRIVER naming none) the game plays silently: no
// effect is loaded and no track either.
static bool soundDevice() { return Mix_QuerySpec(nullptr, nullptr, nullptr) != 0; }

// Called once per run by the asset set-up, after the audio device is open. Every effect is required.
void loadSFX() {
    if (!soundDevice())
        return;
    for (int i = 0; i < SFX_COUNT; i++) {
        uint32_t size = 0;
        uint8_t *bytes = loadZKAFile(ZKA_SOUND, snd_name[i], "wav", &size);
        if (!bytes)
            error("Can't load sound file", zkaMemberPlace(ZKA_SOUND, snd_name[i], "wav"));
        SDL_RWops *stream = SDL_RWFromConstMem(bytes, static_cast<int>(size));
        Mix_Chunk *chunk = stream ? Mix_LoadWAV_RW(stream, 0) : nullptr;
        if (stream)
            SDL_RWclose(stream);
        free(bytes);
        if (!chunk)
            error("Unable to load sound", SDL_GetError());
        snd_data[i] = chunk;
    }
}

int playSFX(int index) {
    if (sfxListener)
        sfxListener(index);
    if (index < 0 || index >= SFX_COUNT || !snd_data[index])
        return -1;
    return Mix_PlayChannelTimed(-1, snd_data[index], 0, -1);
}

// Called for every effect at shutdown.
void freeSFX(int index) {
    if (index < 0 || index >= SFX_COUNT)
        return;
    Mix_FreeChunk(snd_data[index]);
    snd_data[index] = nullptr;
}

// Loads a track to loop forever; the caller starts it with MP_PlayMusic or MP_FadeInMusic.
ModPlugFile *loadMusic(int track) {
    if (track < 0 || track >= MUSIC_TRACKS || !soundDevice())
        return nullptr;
    uint32_t size = 0;
    uint8_t *bytes = loadZKAFile(ZKA_MUSIC, musix[track], "mod", &size);
    if (!bytes)
        return nullptr;
    ModPlugFile *module = MP_LoadMusic(bytes, static_cast<int>(size), -1);
    free(bytes);
    return module;
}

// The screen that loaded a track stops it with this before loading the next.
void stopMusic(ModPlugFile *module) {
    if (!module)
        return;
    MP_HookMusicFinished(nullptr);
    MP_HaltMusic();
    ModPlugFile *buffered = module;
    musBuf.compare_exchange_strong(buffered, nullptr); // never unloaded twice
    MP_FreeMusic(module);
}

const char *getMusicTitle(int track) { return track >= 0 && track < MUSIC_TITLES ? musix_titles[track] : ""; }

// Plays a module held in memory once at volume (0 to 128); the caller keeps the buffer. The module
// of an earlier call that is still loaded is unloaded first.
void playMusicFromBuffer(const void *data, int size, int volume) {
    if (ModPlugFile *previous = musBuf.exchange(nullptr))
        stopMusic(previous);
    else
        MP_HaltMusic();
    ModPlugFile *module = MP_LoadMusic(data, size, 1);
    if (!module)
        return;
    musBuf = module;
    mp_volume = volume;
    mp_fade = volume;
    MP_HookMusicFinished(musicFinished);
    MP_PlayMusic(module, 1);
}

// The finished hook of playMusicFromBuffer, on the audio thread inside the music hook.
void musicFinished() {
    if (ModPlugFile *module = musBuf.exchange(nullptr))
        stopMusic(module);
}
