// The start boards of generated stages: families of shapes drawn by code, every board closed up
// (no fruit above an empty cell), each with a line that says what it shows.
#pragma once

#include "stagefile.h"

#include <random>
#include <string>

using Random = std::mt19937;

enum Family {
    FAMILY_LOW_ROWS, // one to three rows of mixed fruit
    FAMILY_ROWS,     // full-width rows, each of one fruit, in a theme
    FAMILY_STAIRS,   // columns rising step by step, fruit in diagonal bands
    FAMILY_TOWERS,   // a few tall towers over low ground
    FAMILY_GAPS,     // columns of fruit with empty columns between
    FAMILY_MIRRORED, // a pattern whose right half mirrors its left
    FAMILY_CHECKERS, // a checkerboard of two fruits in a silhouette
    FAMILY_PICTURE,  // a small picture: a heart, a tree, an arrow...
    FAMILY_BIG_PICTURE,
    FAMILY_FULL, // every cell filled: a showcase picture
    FAMILY_COUNT
};

struct Shape {
    Family family;
    Board board;
    std::string about; // "a heart of apples on pears"
    bool mirrored;     // the board is its own mirror image, so mirrored picks keep it so
    uint8_t figure;    // the fruit of a picture's figure, which the stage keeps; 0 for none
};

const char *familyName(Family family);
const char *fruitName(int value); // "grapes" for 1 ... "bananas" for 5

// A board of the family with about fruits fruits (the pictures have their own size) mixing kinds of
// the five fruits where the family leaves a choice.
Shape makeShape(Family family, int fruits, int kinds, Random &random);

// The pictures as drawn, for the tests: every one must be closed up.
int pictureCount();
Board pictureBoard(int index);
