// The generated graphics archive: every image the game loads is there, with the sizes, frame counts
// and colour keys that the drawing and animation code rely on.
#include "data/winzka.h"
#include "main/i18n.h"

#include <SDL.h>
#include <gtest/gtest.h>

#include <climits>
#include <cstdlib>
#include <memory>
#include <string>
#include <tuple>
#include <unistd.h>

namespace {

constexpr uint32_t MAGENTA = 0xFF00FF;

int luma(uint32_t p) { return (299 * int(p >> 16) + 587 * int((p >> 8) & 255) + 114 * int(p & 255)) / 1000; }

// An image decoded from data/gfx.zka as the game does it, kept as 0xRRGGBB pixels.
struct Picture {
    int w = 0, h = 0;
    std::vector<uint32_t> px;
    uint32_t at(int x, int y) const { return px[size_t(y) * w + x]; }
    bool hasKey(int x0, int y0, int fw, int fh) const {
        for (int y = y0; y < y0 + fh; y++)
            for (int x = x0; x < x0 + fw; x++)
                if (at(x, y) == MAGENTA)
                    return true;
        return false;
    }
    // Visible pixels that a 16-bit screen rounds to the key colour, where they would vanish.
    int nearKey() const {
        int n = 0;
        for (uint32_t c : px)
            n += c != MAGENTA && (c >> 16) >= 248 && ((c >> 8) & 255) < 4 && (c & 255) >= 248;
        return n;
    }
    // Pixels of the rectangle that are not the key colour.
    int drawn(int x0, int y0, int fw, int fh) const {
        int n = 0;
        for (int y = y0; y < y0 + fh; y++)
            for (int x = x0; x < x0 + fw; x++)
                n += at(x, y) != MAGENTA;
        return n;
    }
};

class GfxArchive : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        ASSERT_NE(getcwd(previous, sizeof previous), nullptr);
        ASSERT_EQ(chdir(MIRABO_RUN_DIR), 0) << "run folder " << MIRABO_RUN_DIR;
        openArchives();
    }
    static void TearDownTestSuite() {
        closeArchives();
        ASSERT_EQ(chdir(previous), 0);
    }

    static Picture load(const char *name) {
        Picture pic;
        uint32_t size = 0;
        uint8_t *data = loadZKAFile(ZKA_GFX, name, "bmp", &size);
        EXPECT_NE(data, nullptr) << name << ".bmp is missing from data/gfx.zka";
        if (!data)
            return pic;
        SDL_Surface *bmp = SDL_LoadBMP_RW(SDL_RWFromConstMem(data, int(size)), 1);
        free(data);
        EXPECT_NE(bmp, nullptr) << name << ": " << SDL_GetError();
        if (!bmp)
            return pic;
        SDL_Surface *rgb = SDL_ConvertSurfaceFormat(bmp, SDL_PIXELFORMAT_RGB24, 0);
        SDL_FreeSurface(bmp);
        pic.w = rgb->w, pic.h = rgb->h;
        for (int y = 0; y < rgb->h; y++) {
            const auto *row = static_cast<const uint8_t *>(rgb->pixels) + y * rgb->pitch;
            for (int x = 0; x < rgb->w; x++)
                pic.px.push_back(uint32_t(row[3 * x]) << 16 | uint32_t(row[3 * x + 1]) << 8 | row[3 * x + 2]);
        }
        SDL_FreeSurface(rgb);
        return pic;
    }

    static char previous[PATH_MAX];
};
char GfxArchive::previous[PATH_MAX];

// A sheet as the cutting code sees it: whole frames only, row-major.
struct Sheet {
    const char *name;
    int frameW, frameH;
    int columns;   // exact number of columns the drawing code indexes with, 0 when any
    int minFrames; // frames the code reaches
    bool keyed;
};

const Sheet sheets[] = {
    {"fruitanim", 16, 16, 8, 72, true},    {"fruitanim2", 16, 16, 8, 72, true},
    {"lionanim", 32, 32, 7, 16 * 7, true}, {"totem", 32, 48, 5, 15, false},
    {"sunanim", 64, 64, 0, 3, false},      {"options_vert", 32, 32, 0, 5, true},
    {"birds", 16, 16, 0, 15, true},        {"birds2", 16, 16, 0, 15, true},
    {"flowers", 16, 16, 0, 7, true},       {"flowers2", 16, 16, 0, 7, true},
    {"butterfly", 16, 16, 0, 2, true},
};

// The frames each animation shows: fruits, their shine, both morph strips, the paw and the cursor;
// the mascot's seven animations by their frame counts.
std::vector<int> usedFrames(const std::string &name) {
    std::vector<int> frames;
    if (name.rfind("fruitanim", 0) == 0) {
        for (int v = 1; v <= 5; v++)
            for (int s = -1; s < 4; s++)
                frames.push_back(s < 0 ? v - 1 : v + 7 + 8 * s);
        for (int row = 0; row <= 8; row++)
            frames.push_back(5 + 8 * row), frames.push_back(6 + 8 * row);
        for (int f = 55; f <= 59; f++)
            frames.push_back(f);
        for (int f = 64; f <= 67; f++)
            frames.push_back(f);
    } else if (name == "lionanim") {
        const int counts[7] = {3, 4, 6, 7, 16, 6, 3};
        for (int a = 0; a < 7; a++)
            for (int f = 0; f < counts[a]; f++)
                frames.push_back(f * 7 + a);
    } else {
        for (const Sheet &s : sheets)
            if (name == s.name)
                for (int f = 0; f < s.minFrames; f++)
                    frames.push_back(f);
    }
    return frames;
}

TEST_F(GfxArchive, SheetsHoldEveryFrameTheGameIndexes) {
    for (const Sheet &s : sheets) {
        SCOPED_TRACE(s.name);
        Picture pic = load(s.name);
        ASSERT_GT(pic.w, 0);
        const int columns = pic.w / s.frameW, rows = pic.h / s.frameH;
        if (s.columns) {
            EXPECT_EQ(columns, s.columns) << "frame indices assume this many columns";
        }
        EXPECT_GE(columns * rows, s.minFrames);
        EXPECT_EQ(pic.nearKey(), 0);
        EXPECT_EQ(pic.hasKey(0, 0, pic.w, pic.h), s.keyed)
            << (s.keyed ? "keyed sheets use magenta" : "unkeyed sheets must not show magenta");
        for (int f : usedFrames(s.name)) {
            if (f >= columns * rows)
                continue;
            const int x = (f % columns) * s.frameW, y = (f / columns) * s.frameH;
            EXPECT_GT(pic.drawn(x, y, s.frameW, s.frameH), s.frameW * s.frameH / 16)
                << "frame " << f << " is empty";
        }
    }
}

TEST_F(GfxArchive, SharedImagesHaveTheirSizesAndKeys) {
    struct Single {
        const char *name;
        int minW, minH, maxW, maxH;
        bool keyed;
    };
    const Single singles[] = {
        {"logo", 64, 24, 320, 160, true},
        {"timebar", 32, 20, 200, 48, true},
        {"timebar2", 16, 2, 200, 24, false},
        {"gameover", 32, 8, 320, 120, true},
        {"kitty", 6, 6, 16, 16, true},
        {"pause", 32, 8, 320, 120, true},
        {"ingamebkg1", 320, 240, 320, 240, false},
        {"ingamebkg2", 320, 240, 320, 240, false},
        {"ingamebkg3", 320, 240, 320, 240, false},
        {"ingamebkg4", 320, 240, 320, 240, false},
        {"titbkgl0", 1, 240, 4096, 480, false},
        {"titbkgl1", 1, 240, 4096, 480, true},
        {"titbkgl2", 1, 240, 4096, 480, true},
        {"hippo", 32, 32, 136, 160, true},
        {"creditsend", 64, 64, 320, 240, false},
        {"zk-zenk", 16, 16, 320, 200, true},
        {"zk-logo", 32, 8, 320, 100, true},
    };
    for (const Single &s : singles) {
        SCOPED_TRACE(s.name);
        Picture pic = load(s.name);
        EXPECT_GE(pic.w, s.minW);
        EXPECT_GE(pic.h, s.minH);
        EXPECT_LE(pic.w, s.maxW);
        EXPECT_LE(pic.h, s.maxH);
        if (pic.w > 0) {
            EXPECT_EQ(pic.hasKey(0, 0, pic.w, pic.h), s.keyed);
        }
        EXPECT_EQ(pic.nearKey(), 0);
    }
    // The fill is drawn at (20, 20) inside the frame drawn at (8, 8), so it must fit the frame.
    Picture frame = load("timebar"), fill = load("timebar2");
    EXPECT_LE(12 + fill.w, frame.w);
    EXPECT_LE(12 + fill.h, frame.h);
    EXPECT_EQ(load("hippo").w % 2, 0) << "two frames side by side";
}

// The sun is drawn unkeyed over background 1 at (192, 0), the totem over every background at
// (144, 192): their frames must meet the picture behind them without a visible edge.
TEST_F(GfxArchive, UnkeyedOverlaysMatchTheBackgroundAroundThem) {
    Picture sun = load("sunanim"), totem = load("totem");
    Picture backgrounds[4] = {load("ingamebkg1"), load("ingamebkg2"), load("ingamebkg3"), load("ingamebkg4")};
    ASSERT_GE(sun.w, 192);
    auto ringMismatches = [](const Picture &sheet, int sx, int sy, int fw, int fh, const Picture &bg, int bx,
                             int by) {
        int bad = 0;
        for (int y = 0; y < fh; y++)
            for (int x = 0; x < fw; x++)
                if ((x == 0 || y == 0 || x == fw - 1 || y == fh - 1) &&
                    sheet.at(sx + x, sy + y) != bg.at(bx + x, by + y))
                    bad++;
        return bad;
    };
    for (int f = 0; f < 3; f++)
        EXPECT_EQ(ringMismatches(sun, 64 * f, 0, 64, 64, backgrounds[0], 192, 0), 0) << "sun frame " << f;
    for (int f = 0; f < 15; f++)
        for (int b = 0; b < 4; b++)
            EXPECT_EQ(ringMismatches(totem, (f % 5) * 32, (f / 5) * 48, 32, 48, backgrounds[b], 144, 192), 0)
                << "totem frame " << f << " on background " << b + 1;
}

// The title layers scroll and repeat across the screen: where the last column meets the first, the
// picture must change no more than it does between neighbouring columns anywhere else.
TEST_F(GfxArchive, TitleLayersWrapWithoutASeam) {
    for (const char *name : {"titbkgl0", "titbkgl1", "titbkgl2"}) {
        SCOPED_TRACE(name);
        Picture pic = load(name);
        ASSERT_GT(pic.w, 1);
        auto changed = [&](int a, int b) {
            int n = 0;
            for (int y = 0; y < pic.h; y++)
                n += pic.at(a, y) != pic.at(b, y);
            return n;
        };
        long total = 0;
        for (int x = 0; x + 1 < pic.w; x++)
            total += changed(x, x + 1);
        const double typical = double(total) / double(pic.w - 1);
        EXPECT_LE(changed(pic.w - 1, 0), typical * 3 + 4);
    }
}

TEST_F(GfxArchive, FontsCoverEveryCharacterOfTheTexts) {
    for (auto [name, cell] : {std::pair{"font", 8}, {"fontbig", 16}}) {
        SCOPED_TRACE(name);
        Picture pic = load(name);
        const int columns = pic.w / cell, glyphs = columns * (pic.h / cell);
        ASSERT_GE(glyphs, 95) << "codes 32 to 126";
        auto glyphPixels = [&](int code) {
            int g = code - 32;
            return pic.drawn((g % columns) * cell, (g / columns) * cell, cell, cell);
        };
        EXPECT_EQ(glyphPixels(' '), 0) << "the blank is blank";
        for (int code = 33; code <= 126; code++)
            EXPECT_GT(glyphPixels(code), 0) << "glyph '" << char(code) << "' is empty";
        for (int id = 0; id < TEXT_COUNT; id++)
            for (const char *c = translation[0][id]; *c; c++)
                EXPECT_TRUE(uint8_t(*c) >= 32 && uint8_t(*c) <= 126)
                    << "text " << id << " uses code " << int(*c);
        EXPECT_TRUE(pic.hasKey(0, 0, pic.w, pic.h));
        EXPECT_EQ(pic.nearKey(), 0);
    }
}

// Text is drawn glyph cell by glyph cell and the lives icon sits one cell before its number, under
// the time bar: a clear first and last column in every glyph, a clear last row in the time bar and
// an icon no wider than its cell keep at least one pixel between all of them.
TEST_F(GfxArchive, LettersAndTheStatusLineKeepApart) {
    for (auto [name, cell] : {std::pair{"font", 8}, {"fontbig", 16}}) {
        SCOPED_TRACE(name);
        Picture pic = load(name);
        const int columns = pic.w / cell;
        for (int g = 0; g < columns * (pic.h / cell); g++) {
            const int x = (g % columns) * cell, y = (g / columns) * cell;
            EXPECT_EQ(pic.drawn(x, y, 1, cell) + pic.drawn(x + cell - 1, y, 1, cell), 0)
                << "glyph '" << char(g + 32) << "' reaches the edge of its cell";
        }
    }
    Picture timebar = load("timebar"), kitty = load("kitty");
    ASSERT_GT(timebar.h, 0);
    EXPECT_EQ(timebar.drawn(0, timebar.h - 1, timebar.w, 1), 0) << "the status line starts right under it";
    EXPECT_LE(kitty.w, 16);
    EXPECT_LE(kitty.h, 8);
}

// Letter body (the light pixels) that differs between two glyphs a player could mix up: the default
// hiscore name "DODO" must not read "OOOO", nor "UNDO" "UNOO".
TEST_F(GfxArchive, LettersAPlayerCouldConfuseDiffer) {
    const char pairs[][3] = {"DO", "OQ", "CG", "0O", "1I", "5S", "8B", "MN", "UV"};
    for (auto [name, cell, least] : {std::tuple{"font", 8, 5}, {"fontbig", 16, 16}}) {
        SCOPED_TRACE(name);
        Picture pic = load(name);
        const int columns = pic.w / cell;
        auto body = [&](char c, int x, int y) {
            const int g = c - 32;
            const uint32_t p = pic.at((g % columns) * cell + x, (g / columns) * cell + y);
            return p != MAGENTA && luma(p) >= 128;
        };
        for (const char *pair : pairs) {
            int differ = 0;
            for (int y = 0; y < cell; y++)
                for (int x = 0; x < cell; x++)
                    differ += body(pair[0], x, y) != body(pair[1], x, y);
            EXPECT_GE(differ, least) << pair[0] << " and " << pair[1];
        }
    }
}

// Light letter body meets the background only through a dark edge, or it melts into the bright day
// skies ("MOVE 00/03" over the first stage): the small font's strokes are edged to the right and below
// by its shadow, the big font's all round by its outline.
TEST_F(GfxArchive, LetterStrokesAreEdgedInDark) {
    struct Step {
        int dx, dy;
    };
    const std::vector<Step> lowerRight{{1, 0}, {0, 1}}, allRound{{1, 0}, {0, 1}, {-1, 0}, {0, -1}};
    for (auto [name, cell, edged] : {std::tuple{"font", 8, lowerRight}, {"fontbig", 16, allRound}}) {
        SCOPED_TRACE(name);
        Picture pic = load(name);
        int bare = 0;
        std::string first;
        for (int y = 0; y < pic.h; y++)
            for (int x = 0; x < pic.w; x++) {
                if (pic.at(x, y) == MAGENTA || luma(pic.at(x, y)) < 128)
                    continue;
                for (Step s : edged) {
                    const int nx = x + s.dx, ny = y + s.dy;
                    const bool inCell = nx >= 0 && ny >= 0 && nx / cell == x / cell && ny / cell == y / cell;
                    const uint32_t n = inCell ? pic.at(nx, ny) : MAGENTA;
                    if (n != MAGENTA && (luma(n) >= 128 || luma(n) < 64))
                        continue;
                    if (!bare++)
                        first = std::string("glyph '") + char((y / cell) * (pic.w / cell) + x / cell + 32) +
                                "' at " + std::to_string(x % cell) + "," + std::to_string(y % cell);
                }
            }
        EXPECT_EQ(bare, 0) << "light pixels that meet the background or a mid tone, the first in " << first;
    }
}

} // namespace
