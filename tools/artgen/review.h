// Helpers shared by the review sheets: PNG output and text drawn from a font sheet as the game cuts it.
#pragma once

#include "art.h"

bool writePNG(const Img &img, const std::string &path);
// Text from a font sheet: glyph code - 32 in a grid of 16 columns of cell × cell pixels.
void sheetText(Img &dst, const Img &font, int cell, const char *s, int x, int y);
void sheetNumber(Img &dst, const Img &font, int cell, int value, int digits, int x, int y);
// Frame index of a sheet cut row by row into fw × fh frames.
void sheetFrame(Img &dst, const Img &sheet, int fw, int fh, int index, int x, int y);
// A stage in progress laid out as the game draws it.
Img mockStage(const Assets &assets, int stage, int fruitSet, int lives = 3);
// The sheets that check legibility: glyph pairs, texts on their screens, fruits in colour and grey,
// and figures.txt with the measures behind them.
void drawChecks(const Assets &assets, const std::string &dir);
