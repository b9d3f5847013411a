// The shape families of generated stages. Boards are filled from the bottom, so they start closed
// up; the pictures fill the room under an overhang with a background fruit for the same reason.
#include "shapes.h"

#include <algorithm>

namespace {

int below(Random &random, int n) { return int(random() % uint32_t(n)); }

const char *const familyNames[FAMILY_COUNT] = {"low rows",    "rows",      "stairs",   "towers",
                                               "gaps",        "mirrored",  "checkers", "picture",
                                               "big picture", "full board"};

const char *const fruitNames[6] = {"", "grapes", "apples", "oranges", "pears", "bananas"};

// A picture: rows from the top, '.' empty, 'a' to 'd' its parts; each part takes one of the fruits
// its palette offers that no earlier part has taken. The text names the parts' fruits for {a} to {d}.
// On a full board the part named as its background fills the cells around it.
struct Picture {
    const char *text;
    std::vector<const char *> rows;
    const char *palette[4];
    char background;
};

const Picture smallPictures[] = {
    {"a small heart of {a} on {b}", {"aa..aa", "aaaaaa", "baaaab", "bbaabb"}, {"2", "451"}, 'b'},
    {"a small tree of {a} on a trunk of {c}, in {b}",
     {"..aa..", ".aaaa.", "aaaaaa", "bbccbb", "bbccbb"},
     {"4", "51", "32"},
     'b'},
    {"a small house with a roof of {a}, windows of {c} and a door of {d} in walls of {b}",
     {"..aa..", ".aaaa.", "aaaaaa", "bcbbcb", "bbddbb"},
     {"23", "54", "1", "34"},
     'b'},
    {"a small mushroom of {a} with spots of {b} on a stalk of {c}",
     {".aaaa.", "abaaba", "aaaaaa", "ccddcc", "ccddcc"},
     {"2", "5", "41", "3"},
     'c'},
    {"a small flower of {a} round a heart of {b}, on a stalk of {d} in {c}",
     {".aaaa.", "aabbaa", "caaaac", "ccddcc", "cddddc"},
     {"53", "2", "1", "4"},
     'c'},
    {"a small round fruit of {a} with a stalk of {c} and a leaf of {b}",
     {"..cb..", ".aaaa.", "aaaaaa", "aaaaaa", "daaaad"},
     {"2", "4", "3", "15"},
     'd'},
    {"a small arrow of {a} pointing right, on {b}",
     {"...a..", "bbbaa.", "aaaaaa", "bbbaab", "bbbabb"},
     {"5", "41"},
     'b'},
};

const Picture bigPictures[] = {
    {"a heart of {a} on {b}",
     {".aa..aa.", "aaaaaaaa", "aaaaaaaa", "baaaaaab", "bbaaaabb", "bbbaabbb", "bbbbbbbb"},
     {"2", "451"},
     'b'},
    {"a tree of {a} on a trunk of {c}, in {b} on ground of {d}",
     {"...aa...", "..aaaa..", ".aaaaaa.", "aaaaaaaa", "baaaaaab", "bbbccbbb", "bbbccbbb", "dddddddd"},
     {"4", "5", "32", "1"},
     'b'},
    {"a round fruit of {a} with a stalk of {c} and a leaf of {b}",
     {"....b...", "...cbb..", ".aacaaa.", "aaaaaaaa", "aaaaaaaa", "aaaaaaaa", "daaaaaad", "ddaaaadd"},
     {"2", "4", "3", "15"},
     'd'},
    {"an arrow of {a} pointing up, in {b}",
     {"...aa...", "..aaaa..", ".aaaaaa.", "aaaaaaaa", "bbbaabbb", "bbbaabbb", "bbbaabbb"},
     {"53", "41"},
     'b'},
    {"an arrow of {a} pointing right, in {b}",
     {"....a...", "bbbbaa..", "aaaaaaa.", "aaaaaaaa", "aaaaaaab", "bbbbaabb", "bbbbabbb"},
     {"53", "41"},
     'b'},
    {"a house with a roof of {a}, windows of {c} and a door of {d} in walls of {b}",
     {"...aa...", "..aaaa..", ".aaaaaa.", "aaaaaaaa", "bccbbccb", "bccbbccb", "bbbddbbb", "bbbddbbb"},
     {"2", "5", "4", "13"},
     'b'},
    {"a mushroom of {a} with spots of {b} on a stalk of {d}, in {c}",
     {"..aaaa..", ".abaaba.", "aaaaaaaa", "abaaaaba", "cccddccc", "cccddccc", "ccddddcc"},
     {"2", "5", "41", "3"},
     'c'},
    {"a crown of {a} set with {c}, on a cushion of {b}",
     {"a..aa..a", "ab.aa.ba", "aaaaaaaa", "acaccaca", "aaaaaaaa", "bbbbbbbb"},
     {"5", "2", "14"},
     'b'},
    {"a boat with a sail of {b} on a mast of {a}, a hull of {c}, on water of {d}",
     {"...a....", "...ab...", "...abb..", "...abbb.", "cccccccc", "dccccccd", "ddccccdd", "dddddddd"},
     {"3", "5", "2", "1"},
     'd'},
    {"a flower of {a} round a heart of {b}, on a stalk of {c} in {d}",
     {"..aaaa..", ".aabbaa.", ".aabbaa.", "ddaaaadd", "dddccddd", "ddcccddd", "dddccddd"},
     {"35", "2", "1", "4"},
     'd'},
};

// Parts take their fruits in order, each from its palette, never one an earlier part took.
void choosePalette(const Picture &picture, Random &random, uint8_t *values) {
    for (int part = 0; part < 4 && picture.palette[part]; part++) {
        std::string offered;
        for (const char *p = picture.palette[part]; *p; p++) {
            if (std::find(values, values + part, uint8_t(*p - '0')) == values + part)
                offered += *p;
        }
        if (offered.empty()) // every fruit it offers is taken: any fruit still free
            for (uint8_t v = 1; v <= 5; v++)
                if (std::find(values, values + part, v) == values + part)
                    offered += char('0' + v);
        values[part] = uint8_t(offered[size_t(below(random, int(offered.size())))] - '0');
    }
}

std::string describe(const char *text, const uint8_t *values) {
    std::string out = text;
    for (int part = 0; part < 4; part++) {
        std::string mark = std::string("{") + char('a' + part) + "}";
        for (size_t at = out.find(mark); at != std::string::npos; at = out.find(mark))
            out.replace(at, mark.size(), values[part] ? fruitNames[values[part]] : "");
    }
    return out;
}

// Draws a picture with its bottom row on the board's bottom row, its left column at left.
void drawPicture(const Picture &picture, const uint8_t *values, int left, Board &board) {
    int top = BOARD_ROWS - int(picture.rows.size());
    for (size_t r = 0; r < picture.rows.size(); r++) {
        for (int c = 0; picture.rows[r][c]; c++) {
            char part = picture.rows[r][c];
            if (part != '.')
                board[cellAt(left + c, top + int(r))] = values[part - 'a'];
        }
    }
}

bool isMirrored(const Board &board) {
    for (int r = 0; r < BOARD_ROWS; r++)
        for (int c = 0; c < BOARD_COLUMNS / 2; c++)
            if (board[cellAt(c, r)] != board[cellAt(BOARD_COLUMNS - 1 - c, r)])
                return false;
    return true;
}

// kinds distinct fruits in random order.
std::vector<uint8_t> someFruits(int kinds, Random &random) {
    std::vector<uint8_t> fruits = {1, 2, 3, 4, 5};
    std::shuffle(fruits.begin(), fruits.end(), random);
    fruits.resize(size_t(std::clamp(kinds, 1, 5)));
    return fruits;
}

std::string fruitList(const std::vector<uint8_t> &fruits) {
    std::string list;
    for (size_t i = 0; i < fruits.size(); i++)
        list += (i == 0 ? "" : i + 1 == fruits.size() ? " and " : ", ") + std::string(fruitNames[fruits[i]]);
    return list;
}

// Columns of the given heights from the bottom, each cell's fruit from value(column, row).
template <class Value> Board columnsOf(const int *heights, Value value) {
    Board board{};
    for (int c = 0; c < BOARD_COLUMNS; c++)
        for (int r = BOARD_ROWS - std::clamp(heights[c], 0, BOARD_ROWS); r < BOARD_ROWS; r++)
            board[cellAt(c, r)] = value(c, r);
    return board;
}

// A few cells of another fruit, so that a patterned board does not play the same everywhere.
void sprinkle(Board &board, const std::vector<uint8_t> &fruits, int cells, Random &random) {
    for (int i = 0; i < cells; i++) {
        int cell = below(random, BOARD_CELLS);
        if (board[cell] != 0)
            board[cell] = fruits[size_t(below(random, int(fruits.size())))];
    }
}

Shape lowRows(int fruits, int kinds, Random &random) {
    std::vector<uint8_t> kindsUsed = someFruits(kinds, random);
    int heights[BOARD_COLUMNS];
    int rows = std::clamp((fruits + 7) / 8, 1, 3);
    for (int &h : heights)
        h = below(random, 4) == 0 ? 0 : 1 + below(random, rows);
    Board board = columnsOf(heights, [&](int, int) { return kindsUsed[size_t(below(random, kinds))]; });
    return {FAMILY_LOW_ROWS, board, "low rows of " + fruitList(kindsUsed), false, 0};
}

Shape rows(int fruits, int kinds, Random &random) {
    std::vector<uint8_t> f = someFruits(std::max(2, kinds), random);
    int height = std::clamp(fruits / BOARD_COLUMNS, 2, 8);
    int theme = below(random, 3);
    std::string about;
    auto rowFruit = [&](int fromBottom) -> uint8_t {
        switch (theme) {
        case 0: // two fruits in turn
            return f[size_t(fromBottom % 2)];
        case 1: // down the chain from the top: each row one step below the row above it
            return uint8_t(std::max(1, 5 - (height - 1 - fromBottom) % 5));
        default: // a band between rows of another fruit
            return fromBottom == 0 || fromBottom == height - 1 ? f[0] : f[1];
        }
    };
    if (theme == 0)
        about = "rows of " + std::string(fruitNames[f[0]]) + " and " + fruitNames[f[1]] + " in turn";
    else if (theme == 1)
        about = "rows running down the fruit chain from the top";
    else
        about = "a band of " + std::string(fruitNames[f[1]]) + " between rows of " + fruitNames[f[0]];
    int heights[BOARD_COLUMNS];
    int narrower = below(random, 3); // the top row may leave a column or two free at each side
    for (int c = 0; c < BOARD_COLUMNS; c++)
        heights[c] = height - (c < narrower || c >= BOARD_COLUMNS - narrower ? 1 : 0);
    Board board = columnsOf(heights, [&](int, int r) { return rowFruit(BOARD_ROWS - 1 - r); });
    sprinkle(board, f, below(random, 3), random);
    return {FAMILY_ROWS, board, about, isMirrored(board), 0};
}

Shape stairs(int fruits, int kinds, Random &random) {
    std::vector<uint8_t> f = someFruits(std::max(2, kinds), random);
    int kind = below(random, 4);
    static const char *const names[] = {"a staircase rising to the right", "a staircase rising to the left",
                                        "a pyramid", "a valley"};
    int step = fruits > 40 ? 2 : 1, base = std::max(0, fruits / BOARD_COLUMNS - 4 * step);
    int heights[BOARD_COLUMNS];
    for (int c = 0; c < BOARD_COLUMNS; c++) {
        int up = kind == 0 ? c : kind == 1 ? 7 - c : kind == 2 ? std::min(c, 7 - c) : 3 - std::min(c, 7 - c);
        heights[c] = std::clamp(base + 1 + step * up, 1, BOARD_ROWS);
    }
    int band = 1 + below(random, 2);
    int slope = kind == 1 ? -1 : 1;
    Board board = columnsOf(
        heights, [&](int c, int r) { return f[size_t(((r + slope * c + 20) / band) % int(f.size()))]; });
    sprinkle(board, f, below(random, 3), random);
    return {FAMILY_STAIRS, board, std::string(names[kind]) + " in diagonal bands of " + fruitList(f),
            isMirrored(board), 0};
}

Shape towers(int fruits, int kinds, Random &random) {
    std::vector<uint8_t> f = someFruits(std::max(2, kinds), random);
    int count = 2 + below(random, 3);
    static const int placements[3][4] = {{1, 6}, {0, 3, 7}, {0, 2, 5, 7}};
    int heights[BOARD_COLUMNS] = {};
    bool ground = below(random, 2);
    for (int c = 0; c < BOARD_COLUMNS; c++)
        heights[c] = ground ? 1 : 0;
    int tall = std::clamp(fruits / count, 5, BOARD_ROWS);
    for (int i = 0; i < count; i++)
        heights[placements[count - 2][i]] = std::clamp(tall - 1 + below(random, 3), 4, BOARD_ROWS);
    bool striped = below(random, 2);
    Board board = columnsOf(heights, [&](int c, int r) {
        if (heights[c] <= 1)
            return f[0];
        return f[size_t(striped ? (r + c) % int(f.size()) : below(random, int(f.size())))];
    });
    static const char *const counts[] = {"two", "three", "four"};
    std::string about =
        std::string(counts[count - 2]) + (striped ? " striped" : "") + " towers of " + fruitList(f);
    if (ground)
        about += " on a ground of " + std::string(fruitNames[f[0]]);
    return {FAMILY_TOWERS, board, about, isMirrored(board), 0};
}

Shape gaps(int fruits, int kinds, Random &random) {
    std::vector<uint8_t> f = someFruits(kinds, random);
    int heights[BOARD_COLUMNS];
    int odd = below(random, 2);
    int tall = std::clamp(fruits / 4, 3, BOARD_ROWS);
    for (int c = 0; c < BOARD_COLUMNS; c++)
        heights[c] = c % 2 == odd ? std::clamp(tall - 2 + below(random, 5), 2, BOARD_ROWS) : 0;
    bool plain = below(random, 2); // each column one fruit, or mixed
    std::vector<uint8_t> columnFruit(BOARD_COLUMNS);
    for (uint8_t &v : columnFruit)
        v = f[size_t(below(random, int(f.size())))];
    Board board = columnsOf(heights, [&](int c, int) {
        return plain ? columnFruit[size_t(c)] : f[size_t(below(random, int(f.size())))];
    });
    if (plain)
        sprinkle(board, f, 2 + below(random, 4), random);
    return {FAMILY_GAPS, board,
            std::string(plain ? "columns of one fruit each" : "columns of mixed fruit") +
                " with gaps between, of " + fruitList(f),
            false, 0};
}

Shape mirrored(int fruits, int kinds, Random &random) {
    std::vector<uint8_t> f = someFruits(kinds, random);
    int heights[BOARD_COLUMNS];
    int mean = std::clamp(fruits / BOARD_COLUMNS, 1, BOARD_ROWS);
    for (int c = 0; c < BOARD_COLUMNS / 2; c++)
        heights[c] = heights[BOARD_COLUMNS - 1 - c] = std::clamp(mean - 2 + below(random, 5), 1, BOARD_ROWS);
    Board half = columnsOf(heights, [&](int, int) { return f[size_t(below(random, int(f.size())))]; });
    Board board = half;
    for (int r = 0; r < BOARD_ROWS; r++)
        for (int c = 0; c < BOARD_COLUMNS / 2; c++)
            board[cellAt(BOARD_COLUMNS - 1 - c, r)] = half[cellAt(c, r)];
    return {FAMILY_MIRRORED, board, "a mirrored pattern of " + fruitList(f), true, 0};
}

Shape checkers(int fruits, int kinds, Random &random) {
    std::vector<uint8_t> f = someFruits(std::max(2, kinds), random);
    int heights[BOARD_COLUMNS];
    int mean = std::clamp(fruits / BOARD_COLUMNS, 2, BOARD_ROWS);
    bool arch = below(random, 2);
    for (int c = 0; c < BOARD_COLUMNS; c++)
        heights[c] = std::clamp(arch ? mean - 2 + std::min({c, 7 - c, 2}) : mean, 1, BOARD_ROWS);
    Board board = columnsOf(heights, [&](int c, int r) { return f[size_t((c + r) % 2)]; });
    sprinkle(board, f, below(random, 4), random);
    return {FAMILY_CHECKERS, board,
            std::string(arch ? "an arch" : "a block") + " checkered in " + fruitNames[f[0]] + " and " +
                fruitNames[f[1]],
            false, 0};
}

Shape picture(Family family, const Picture &picture, int left, Random &random) {
    uint8_t values[4] = {};
    choosePalette(picture, random, values);
    Board board{};
    drawPicture(picture, values, left, board);
    std::string about = describe(picture.text, values);
    if (family == FAMILY_FULL) { // the picture on a full board, its background all round it
        uint8_t sky = values[picture.background - 'a'];
        for (int cell = 0; cell < BOARD_CELLS; cell++)
            if (board[cell] == 0)
                board[cell] = sky;
    }
    return {family, board, about, isMirrored(board), values[0]};
}

} // namespace

const char *familyName(Family family) { return familyNames[family]; }
const char *fruitName(int value) { return fruitNames[value]; }

Shape makeShape(Family family, int fruits, int kinds, Random &random) {
    switch (family) {
    case FAMILY_LOW_ROWS:
        return lowRows(fruits, kinds, random);
    case FAMILY_ROWS:
        return rows(fruits, kinds, random);
    case FAMILY_STAIRS:
        return stairs(fruits, kinds, random);
    case FAMILY_TOWERS:
        return towers(fruits, kinds, random);
    case FAMILY_GAPS:
        return gaps(fruits, kinds, random);
    case FAMILY_MIRRORED:
        return mirrored(fruits, kinds, random);
    case FAMILY_CHECKERS:
        return checkers(fruits, kinds, random);
    case FAMILY_PICTURE: {
        const Picture &p = smallPictures[below(random, int(std::size(smallPictures)))];
        return picture(family, p, below(random, 3), random);
    }
    case FAMILY_BIG_PICTURE:
    case FAMILY_FULL:
    case FAMILY_COUNT:
        break;
    }
    const Picture &p = bigPictures[below(random, int(std::size(bigPictures)))];
    return picture(family, p, 0, random);
}

int pictureCount() { return int(std::size(smallPictures) + std::size(bigPictures)); }

Board pictureBoard(int index) {
    static const uint8_t values[4] = {1, 2, 3, 4};
    Board board{};
    int small = int(std::size(smallPictures));
    if (index < small)
        drawPicture(smallPictures[index], values, 0, board);
    else
        drawPicture(bigPictures[index - small], values, 0, board);
    return board;
}
