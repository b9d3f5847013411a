// The module music player: libmodplug output streamed through SDL_mixer's music hook.
#include "sound/modplayer.h"

#include <SDL_mixer.h>
#include <libmodplug/modplug.h>

#include <algorithm>
#include <cstring>

int32_t mpFlags = 3, mpResamplingMode = 1, mpReverbDepth, mpReverbDelay, mpBassAmount, mpBassRange,
        mpSurroundDepth, mpSurroundDelay, mpChannels = 2, mpFrequency;

std::atomic<ModPlugFile *> mp_music{nullptr};
std::atomic<int32_t> mp_volume{128}, mp_fade{128}, mp_delta{0}, mpLoops{0};
std::atomic<void (*)()> mp_hook{nullptr};

// Called at start-up with the game's output format; the settings follow the device we asked for.
int MP_OpenAudio(int frequency, Uint16 format, int channels, int chunkSize) {
    int result = Mix_OpenAudio(frequency, format, channels, chunkSize);
    mpFrequency = frequency;
    mpChannels = channels;
    return result;
}

// libmodplug reads its settings when a module is loaded and while it renders, so every load and
// play rewrites them from our table. The library's own loop count stays 0: it stops at the end of
// the song and we do the looping. Unchanged settings are not written again, so a load while music
// plays never touches what the audio thread is reading.
void MP_ApplySettings() {
    ModPlug_Settings settings;
    ModPlug_GetSettings(&settings);
    ModPlug_Settings wanted = settings;
    wanted.mFlags = mpFlags;
    wanted.mChannels = mpChannels;
    wanted.mBits = 16;
    wanted.mFrequency = mpFrequency;
    wanted.mResamplingMode = mpResamplingMode;
    wanted.mReverbDepth = mpReverbDepth;
    wanted.mReverbDelay = mpReverbDelay;
    wanted.mBassAmount = mpBassAmount;
    wanted.mBassRange = mpBassRange;
    wanted.mSurroundDepth = mpSurroundDepth;
    wanted.mSurroundDelay = mpSurroundDelay;
    if (memcmp(&wanted, &settings, sizeof settings) != 0)
        ModPlug_SetSettings(&wanted);
}

ModPlugFile *MP_LoadMusic(const void *data, int size, int loops) {
    mpLoops = loops;
    MP_ApplySettings();
    if (!data || size <= 0)
        return nullptr;
    return ModPlug_Load(data, size);
}

void MP_FreeMusic(ModPlugFile *module) {
    if (module)
        ModPlug_Unload(module);
}

// Hooks module at the current fade level, so a fade in progress carries on with it. The old hook is
// removed first: once Mix_HookMusic returns, no callback renders while the library's settings change,
// and none can end the old music and clear mp_music after we set it for the new one.
static void startMusic(ModPlugFile *module, int loops) {
    Mix_HookMusic(nullptr, nullptr);
    mpLoops = loops;
    MP_ApplySettings();
    ModPlug_SetMasterVolume(module, mp_fade);
    ModPlug_Seek(module, 0);
    mp_music = module;
    Mix_HookMusic(MP_HookMusic, module);
}

void MP_PlayMusic(ModPlugFile *module, int loops) {
    if (module)
        startMusic(module, loops);
}

// The fade speed is fixed at one step per buffer, so ms is not used. At volume 0 the music plays
// silently, so that raising the volume later makes it heard.
void MP_FadeInMusic(ModPlugFile *module, int loops, int ms) {
    (void)ms;
    if (!module)
        return;
    mp_delta = 1;
    mp_fade = mp_volume > 0 ? 1 : 0;
    startMusic(module, loops);
}

// Steps of 2 from an even level end exactly at 0, which the hook takes as the end of the music.
void MP_FadeOutMusic(int ms) {
    (void)ms;
    int32_t volume = mp_volume;
    mp_delta = -2;
    mp_fade = ((volume > 2 ? volume : 2) - 2) & 0xFFFE;
}

void MP_HaltMusic() {
    Mix_HookMusic(nullptr, nullptr);
    mp_music = nullptr;
}

int MP_PlayingMusic() { return mp_music.load() ? 1 : 0; }

// The new level reaches the module at the start of the next buffer: only the audio thread touches a
// hooked module.
void MP_VolumeMusic(int volume) {
    mp_volume = volume;
    mp_fade = volume;
    mp_delta = 0; // a fade under way ends at the new level
}

void MP_HookMusicFinished(void (*callback)()) { mp_hook = callback; }

// Decreases a positive loop count by one; the main thread may set a new count meanwhile, which wins.
static int32_t countLoop() {
    int32_t loops = mpLoops;
    while (loops > 0 && !mpLoops.compare_exchange_weak(loops, loops - 1)) {
    }
    return loops > 0 ? loops - 1 : loops;
}

// The library marks the order past the end of the song as pattern 255 once the last row is over;
// then it fades the notes still sounding over 100 ms and pads its buffer with silence, and only after
// that does it render nothing. A loop waits for none of it: the module is read in pieces of 32 frames
// (1.5 ms), and the next pass starts right after the piece in which the last one ended.
constexpr int PIECE_FRAMES = 32, PAST_THE_END = 255;

// Ramps a piece down to silence or up from it. At a loop the piece in which a pass ends is ramped
// down, so the notes the seek stops end without a click, and the first piece of the next pass is
// ramped up, which also hides the one frame in which the library's output filter still remembers the
// old pass.
static void ramp(Uint8 *piece, int bytes, int channels, bool up) {
    int16_t *samples = reinterpret_cast<int16_t *>(piece);
    int frames = bytes / 2 / channels;
    for (int frame = 0; frame < frames; frame++) {
        int weight = up ? frame : frames - 1 - frame;
        for (int c = 0; c < channels; c++) {
            int16_t &sample = samples[frame * channels + c];
            sample = int16_t(sample * weight / frames);
        }
    }
}

// Set when a pass restarted at the very end of a buffer: the next buffer ramps its first piece up.
// Only the audio thread uses it.
static bool rampUpNext;

// The mixer's music hook, once per audio buffer on the audio thread: steps a fade, renders the next
// stretch of the module over the mixer's silence, and at the end of the module (or of a fade-out)
// restarts it or ends the music. A pass that ends inside the buffer is followed by the next pass in
// the same buffer, so a looping track plays on without a gap. After the last pass the library's fade
// of the last notes plays out, and the music ends in the buffer where the library renders no more.
void MP_HookMusic(void *udata, Uint8 *stream, int length) {
    ModPlugFile *module = static_cast<ModPlugFile *>(udata);
    int32_t fade = mp_fade, delta = mp_delta;
    // A level set by the main thread between our read and write wins over the step.
    if (fade != mp_volume && fade > 0 && mp_fade.compare_exchange_strong(fade, fade + delta))
        fade += delta;
    ModPlug_SetMasterVolume(module, unsigned(fade > 0 ? fade : 0));
    const int channels = mpChannels > 0 ? mpChannels : 1, pieceBytes = PIECE_FRAMES * 2 * channels;
    bool fadedOut = fade == 0 && delta < 0, finished = false;
    int rendered = 0, restartedAt = -1;
    while (rendered < length) {
        int asked = std::min(pieceBytes, length - rendered);
        int got = std::max(ModPlug_Read(module, stream + rendered, asked), 0);
        bool ranOut = got < asked;
        if (rampUpNext || restartedAt == rendered)
            ramp(stream + rendered, got, channels, true);
        rampUpNext = false;
        if (!ranOut && ModPlug_GetCurrentPattern(module) != PAST_THE_END) {
            rendered += got;
            continue;
        }
        // the pass is over: its last row ended within this piece
        if (got == 0 && restartedAt == rendered)
            break; // a module with nothing to render: the rest of the buffer stays silent
        if (countLoop() != 0) {
            ramp(stream + rendered, got, channels, false);
            rendered += got;
            ModPlug_Seek(module, 0);
            restartedAt = rendered;
            rampUpNext = rendered == length;
            continue;
        }
        rendered += got;
        if (ranOut) {
            finished = true;
            break;
        }
    }
    if (fade <= 0 && rendered > 0)
        memset(stream, 0, rendered); // the library's quietest master volume is still audible
    // A completed fade-out ends the music; if the module also restarted in this buffer, the next
    // buffer ends it.
    if (fadedOut && restartedAt < 0 && !finished) {
        countLoop();
        finished = true;
    }
    if (!finished)
        return;
    if (void (*hook)() = mp_hook)
        hook();
    else
        MP_HaltMusic();
}
