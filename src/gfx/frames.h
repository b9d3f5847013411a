// Images that free themselves, and frame lists: the frames of a sprite sheet or the glyphs of a font,
// cut row by row and owned by their list.
#pragma once

#include "gfx/image.h"

#include <SDL.h>

#include <memory>
#include <vector>

struct SurfaceFree {
    void operator()(SDL_Surface *surface) const { freeSurface(surface); }
};
using Image = std::unique_ptr<SDL_Surface, SurfaceFree>;

class FrameList {
  public:
    FrameList() = default;
    explicit FrameList(std::vector<Image> cut) : frames(std::move(cut)) {}

    // The frames of sheet, frameWidth × frameHeight each in the back surface's format, row by row;
    // pixels beyond the last whole frame are ignored, and keyed frames show magenta as transparent.
    // Frames that cannot be made end the program with a fatal error.
    static FrameList cut(SDL_Surface *sheet, int frameWidth, int frameHeight, bool keyed);

    int size() const { return int(frames.size()); }
    bool empty() const { return frames.empty(); }
    // The frame at index, or nullptr for one the list does not have.
    SDL_Surface *operator[](int index) const {
        return index >= 0 && index < size() ? frames[size_t(index)].get() : nullptr;
    }
    void clear() { frames.clear(); }

  private:
    std::vector<Image> frames;
};
