// Frame lists: the frames of a sprite sheet or the glyphs of a font, owned by their list.
#include "gfx/frames.h"

#include "gfx/debug.h"
#include "gfx/image.h"

FrameList FrameList::cut(SDL_Surface *sheet, int frameWidth, int frameHeight, bool keyed) {
    const int columns = frameWidth > 0 ? sheet->w / frameWidth : 0;
    const int rows = frameHeight > 0 ? sheet->h / frameHeight : 0;
    std::vector<Image> frames;
    frames.reserve(size_t(columns) * size_t(rows));
    for (int row = 0; row < rows; row++) {
        for (int column = 0; column < columns; column++) {
            Image frame(createImage(frameWidth, frameHeight));
            if (!frame)
                error("Cannot cut a sheet into frames", SDL_GetError());
            SDL_Rect cell{column * frameWidth, row * frameHeight, frameWidth, frameHeight};
            SDL_Rect at{0, 0, 0, 0};
            blitSurface(sheet, &cell, frame.get(), &at);
            if (keyed)
                setColorKey(frame.get(), 255, 0, 255);
            frames.push_back(std::move(frame));
        }
    }
    return FrameList(std::move(frames));
}
