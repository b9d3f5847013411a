// Bitmap fonts: cutting the glyph grid, and where text and numbers land.
#include "gfx/font.h"
#include "gfx/image.h"
#include "gfx_helpers.h"

namespace {

constexpr uint32_t PAPER = 0xFFFF;      // the screen behind the text
constexpr uint32_t SMALL_BASE = 0x1000; // glyph k of the small font is filled with SMALL_BASE + k
constexpr uint32_t BIG_BASE = 0x2000;

// A font bitmap whose glyph k is one flat colour, base + k, on a 16 × 6 grid (codes 32 to 127).
// The glyph of '#' has one magenta pixel at its centre.
FrameList testFont(int size, uint32_t base) {
    SDL_Surface *sheet = solid(16 * size, 6 * size, 0);
    for (int k = 0; k < 96; k++) {
        SDL_Rect cell{(k % 16) * size, (k / 16) * size, size, size};
        SDL_FillRect(sheet, &cell, base + k);
    }
    putPixel(sheet, ('#' - 32) % 16 * size + size / 2, size / 2, PURPLE);
    FrameList list = createFont(sheet, size, size);
    SDL_FreeSurface(sheet);
    return list;
}

struct Fonts : ::testing::Test {
    void SetUp() override {
        makeSurfaces(16);
        font = testFont(8, SMALL_BASE);
        fontbig = testFont(16, BIG_BASE);
        SDL_FillRect(screen, nullptr, PAPER);
    }
    void TearDown() override {
        destroyFonts();
        freeSurfaces();
    }
    // The character drawn at (x, y) by the small font, '?'... or 0 where the paper shows.
    char smallAt(int x, int y) { return charAt(x, y, SMALL_BASE); }
    char bigAt(int x, int y) { return charAt(x, y, BIG_BASE); }
    char charAt(int x, int y, uint32_t base) {
        uint32_t p = getPixel(screen, x, y);
        return p >= base && p < base + 96 ? char(p - base + 32) : 0;
    }
};

TEST_F(Fonts, GridIsCutRowByRowWithKeysOnlyWhereMagentaIs) {
    EXPECT_EQ(font.size(), 96);
    EXPECT_EQ(getPixel(font['A' - 32], 3, 3), SMALL_BASE + 'A' - 32);
    drawTextAt(screen, "#A", 0, 0, font);
    EXPECT_EQ(getPixel(screen, 4, 4), PAPER); // the magenta pixel shows the paper
    EXPECT_EQ(smallAt(3, 4), '#');
    EXPECT_EQ(smallAt(8, 0), 'A');
    EXPECT_EQ(smallAt(15, 7), 'A');
    uint32_t key;
    EXPECT_NE(SDL_GetColorKey(font['A' - 32], &key), 0); // no magenta: no key

    SDL_Surface *tiny = solid(7, 7, 0);
    EXPECT_TRUE(createFont(tiny, 8, 8).empty());
    SDL_FreeSurface(tiny);
}

TEST_F(Fonts, CentredText) {
    drawTextCenterAt(screen, "OPTIONS", 10, font);
    EXPECT_EQ(smallAt(131, 10), 0);
    EXPECT_EQ(smallAt(132, 10), 'O');
    EXPECT_EQ(smallAt(132 + 6 * 8, 10), 'S');
    EXPECT_EQ(smallAt(132 + 7 * 8, 10), 0);
    drawTextCenterAt(screen, "OPTIONS", 40, fontbig);
    EXPECT_EQ(bigAt(103, 40), 0);
    EXPECT_EQ(bigAt(104, 40), 'O');
    EXPECT_EQ(bigAt(104 + 16, 55), 'P');
}

TEST_F(Fonts, ScrollerWindowAtTheLeftEdge) {
    const char *text = "ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789ABCDEFGHIJ";
    drawTextNAt(screen, text, 41, -7, 0, font);
    EXPECT_EQ(smallAt(0, 0), 'A'); // the last column of the first glyph
    EXPECT_EQ(smallAt(1, 0), 'B');
    EXPECT_EQ(smallAt(313, 0), text[40]);
    EXPECT_EQ(smallAt(319, 0), text[40]);

    SDL_FillRect(screen, nullptr, PAPER);
    drawTextNAt(screen, text, 41, -8, 20, font);
    EXPECT_EQ(smallAt(0, 20), 'B'); // the first glyph lies wholly outside
    EXPECT_EQ(smallAt(312, 20), text[40]);
    EXPECT_EQ(smallAt(319, 20), text[40]);

    SDL_FillRect(screen, nullptr, PAPER);
    drawTextNAt(screen, text, 0, 0, 0, font);
    drawTextAt(screen, "", 0, 0, font);
    EXPECT_EQ(smallAt(0, 0), 0);
}

TEST_F(Fonts, BytesWithoutGlyphLeaveAGap) {
    drawTextAt(screen,
               "A\x01\xF0"
               "B",
               0, 0, font);
    EXPECT_EQ(smallAt(0, 0), 'A');
    EXPECT_EQ(smallAt(8, 0), 0);
    EXPECT_EQ(smallAt(16, 0), 0);
    EXPECT_EQ(smallAt(24, 0), 'B');
}

TEST_F(Fonts, NumbersInTheirField) {
    struct Case {
        int value, width, zeroPad;
        const char *shown; // the glyphs from x - 8 onwards, ' ' for paper
    };
    const Case cases[] = {
        {7, 2, 1, " 07"},
        {7, 2, 0, "  7"},
        {7, 0, 1, " 7"},
        {4567, 3, 1, "4567"},
        {-5, 3, 1, " 0-5"},
        {4250, 6, 1, " 004250"},
        {12, 12, 1, " 00000000  12"},
    };
    for (const Case &c : cases) {
        SDL_FillRect(screen, nullptr, PAPER);
        drawNumberAt(screen, c.value, 40, 0, c.width, c.zeroPad, font);
        std::string shown;
        for (int x = 32; x < 32 + 8 * 13; x += 8)
            shown += smallAt(x, 0) ? smallAt(x, 0) : ' ';
        shown.erase(shown.find_last_not_of(' ') + 1);
        EXPECT_EQ(shown, c.shown) << c.value << " width " << c.width;
    }
}

} // namespace
