// Sound effects and the music playlist.
#pragma once

#include <cstdint>

struct _ModPlugFile;
typedef struct _ModPlugFile ModPlugFile;

enum SoundEffect {
    SFX_FRUITS_DISAPPEAR = 0,
    SFX_LION_HAND = 1,
    SFX_MENU_CONTROL = 2,
    SFX_SELECT_OPTION = 3,
    SFX_TIMER_LAST_10_SEC = 4,
    SFX_HIPPO = 5,
    SFX_BIRD_FLYING = 6,
    SFX_FLOWER_GROW = 7,
    SFX_KAVRIN_EYELONG = 8,
    SFX_KAVRIN_EYESHORT = 9,
    SFX_KAVRIN_EYESSHORT = 10,
    SFX_KAVRIN_JUMP = 11,
    SFX_KAVRIN_SLEEP = 12,
    SFX_TOTEM_ANIM = 13,
    SFX_COUNT = 14
};

constexpr int MUSIC_TRACKS = 13;
constexpr int MUSIC_LEVEL_COMPLETE = 11;
constexpr int MUSIC_JINGLE = 12;
constexpr int MUSIC_TITLES = 11; // tracks 0 to 10 have a display title

extern const char *const snd_name[SFX_COUNT];
extern const char *const musix[MUSIC_TRACKS];
extern const char *const musix_titles[MUSIC_TITLES];

extern int32_t curMusic; // the music track playing, 0 to 10

// Volumes: percent settings and the same on the mixer's 0..128 scale.
extern int32_t _mus_volume_100_, _sfx_volume_100_;
extern int32_t _mus_volume_, _sfx_volume_;
int32_t mixerVolume(int32_t percent); // percent × 128 / 100, rounded toward zero

// Called by playSFX with every effect asked for, before it is played; tests listen here.
extern void (*sfxListener)(int index);

void loadSFX();
int playSFX(int index); // the channel, or -1 (no free channel, or the effect is not loaded)
void freeSFX(int index);
ModPlugFile *loadMusic(int track); // nullptr when the track is missing or rejected
void stopMusic(ModPlugFile *module);
const char *getMusicTitle(int track); // tracks 0 to 10; "" for any other
void playMusicFromBuffer(const void *data, int size, int volume);
void musicFinished();
