// The module music player: libmodplug output streamed through SDL_mixer's music hook.
#pragma once

#include <SDL.h>
#include <atomic>
#include <cstdint>

struct _ModPlugFile;
typedef struct _ModPlugFile ModPlugFile;

// Player settings, applied before every load and play (the configuration file sets the first eight).
extern int32_t mpFlags, mpResamplingMode, mpReverbDepth, mpReverbDelay, mpBassAmount, mpBassRange,
    mpSurroundDepth, mpSurroundDelay, mpChannels, mpFrequency;

// Shared with the audio thread, hence atomic.
extern std::atomic<ModPlugFile *> mp_music;
extern std::atomic<int32_t> mp_volume, mp_fade, mp_delta, mpLoops;
extern std::atomic<void (*)()> mp_hook;

int MP_OpenAudio(int frequency, Uint16 format, int channels, int chunkSize);
ModPlugFile *MP_LoadMusic(const void *data, int size, int loops);
void MP_FreeMusic(ModPlugFile *module);
void MP_PlayMusic(ModPlugFile *module, int loops);
void MP_FadeInMusic(ModPlugFile *module, int loops, int ms);
void MP_FadeOutMusic(int ms);
void MP_HaltMusic();
int MP_PlayingMusic();
void MP_VolumeMusic(int volume);
void MP_HookMusicFinished(void (*callback)());
void MP_HookMusic(void *module, Uint8 *stream, int length); // the mixer's music hook
void MP_ApplySettings();
