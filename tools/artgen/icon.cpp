// The game's icon: KAVRIN's face in his mane, drawn by hand for 16, 32 and 48 pixels, each crisp at
// its own size. The larger sizes of the desktop's icon theme are whole enlargements of those.
#include "art.h"
#include "gfx/png.h"

#include <SDL.h>

#include <filesystem>

namespace {

// o outline, L M D the mane lit from the top left, S s f h the face from its rim to its light,
// p the ears' insides, c the cheeks, e w the eyes and their light, N n the nose, m the mouth.
const std::vector<Ink> iconInks = {
    {'o', ORANGE, 3}, {'L', ORANGE, 0}, {'M', ORANGE, 1}, {'D', ORANGE, 2}, {'S', SAND, 3},
    {'s', SAND, 2},   {'f', SAND, 1},   {'h', SAND, 0},   {'e', GREY, 5},   {'w', GREY, 0},
    {'N', RED, 2},    {'n', RED, 3},    {'m', SAND, 4},   {'p', RED, 0},    {'c', RED, 0},
};

// At 16 pixels every feature is one or two pixels: eyes, nose and mouth must not touch.
const std::vector<std::string> face16 = {
    "................", "....oooooooo....", "..ooLLLLLLLLoo..", ".oLSSLLLLLLSSMo.",
    ".oSpfSSSSSSfpSo.", "oLSffhhffffffSMo", "oLSffweffweffSMo", "oLSffeeffeeffSDo",
    "oLSfcffnnffcsSDo", "oMSfhhmhhmhhsSDo", ".oMShhhmmhhhSDo.", ".oMMShhhhhhSDDo.",
    "..oMMSSSSSSDDo..", "..oMMDDDDDDDDo..", "...ooDDDDDDoo...", ".....oooooo.....",
};

// The window icon and the base of the 64, 128 and 256 pixel icons.
const std::vector<std::string> face32 = {
    "................................", "................................",
    "...........oooo..oooo...........", "..........oLLLLooLLLLo..........",
    ".........oLLLLLLMLLLLLo.........", "......oooMLLLLLLLLLLLLDooo......",
    ".....oLLSSMLLLLLLLLLMDSSMMo.....", "....oLLSffSSLLLLLLLMSSffSMMo....",
    "....oLSfppfSLLLLLMMMSfppfSMo....", "....oLSfpppSLLLMMMMMSpppfSMo....",
    "...oLMSfpppSLLMMMMMMSpppfSDMo...", "..oLLLLSSSSLSSSSSSSSMSSSSMMMMo..",
    ".oLLLLLLLLSShhhhffffSSMMMMMMMMo.", ".oLLLLLLMSsshhhfffffssSMMMMMMMo.",
    ".oLLLLLMShhhhffffffffffSMMMMDDo.", "..oLLMMMShhweffffffweffSMMMDDo..",
    "..oDDMMMShfeeffffffeeffSMDDDDo..", "..oMMMMShffeeffffffeefffSDDDDo..",
    ".oMMMMMSfffffffffffffffsSDDDDDo.", ".oMMMMMSfccfffNnnnfffccsSDDDDDo.",
    ".oMMMMMMSfffhhhnnhhhfssSDDDDDDo.", "..oMMMMMSfhhhhhmmhhhhhsSDDDDDo..",
    "...oDDMMMShhhmhmmhmhhhSDDDDDo...", "....oMMMMSShhhmhhmhhhSSDDDDo....",
    "....oMMMMMMSShhhhhhSSDDDDDDo....", "....oMMMMMDDSSSSSSSSDDDDDDDo....",
    ".....oMMDDDDDDDDDDDDDDDDDDo.....", "......oooDDDDDDDDDDDDDDooo......",
    ".........oDDDDDDDDDDDDo.........", "..........oDDDDooDDDDo..........",
    "...........oooo..oooo...........", "................................",
};

// Eyes with a two-pixel light, brows and a wider smile; the base of the 96 pixel icon.
const std::vector<std::string> face48 = {
    "................................................", "................................................",
    "..................ooo......ooo..................", "................ooLLLoo..ooLLLoo................",
    "...............oLLLLLLLooLLLLLLLo...............", "..............oLLLLLLLLLMLLLLLLLLo..............",
    "..............oLLLLLLLLLMLLLLLLLLo..............", ".........oooooMLLLLLLLLLMLLLLLLLLMooooo.........",
    "........oLLLLLMLLLLLLLLLLLLLLLLLMDMMMMMo........", ".......oLLLLLSSMLLLLLLLLLLLLLLMMDSSMMMMMo.......",
    ".......oLLLSSffSSLLLLLLLLLLLLMMSSffSSMMMo.......", "......oLLLSffffffSLLLLLLLLLMMMSffffffSMMMo......",
    "......oLLSfffppfffSLLLLLLMMMMSfffppfffSMMo......", "......oLLSffppppffSLLLLLMMMMMSffppppffSMMo......",
    "......oMLSffppppffSLLLMMMMMMMSffppppffSMDo......", "....ooLLMSffppppffSLMMMMMMMMMSffppppffSDMMoo....",
    "...oLLLLLMSffppffSLSSSSSSSSSSMSffppffSDMMMMMo...", "...oLLLLLLLSSffSSShhhhhhhhffffSSSffSSMMMMMMMo...",
    "..oLLLLLLLLLLSShhhhhhhhhhffffffffSSMMMMMMMMMMo..", "..oLLLLLLLLLLMShhhhhhhhffffffffffSMMMMMMMMMMMo..",
    "..oLLLLLLLLLMShssshhhhffffffffsssfSMMMMMMMMMDo..", "..oLLLLLLLMMMShhhhhhffffffffffffffSMMMMMMMDDDo..",
    "..oLLLLLMMMMShhhwweffffffffffwwefffSMMMMMDDDDo..", "...oLLLMMMMMShhhweeffffffffffweefffSMMMDDDDDo...",
    "....oMDDMMMShhhheeeffffffffffeeeffffSDDDDDDo....", "...oMMMMMMMShhffeeeffffffffffeeeffffSDDDDDDDo...",
    "..oMMMMMMMMShfffffffffffffffffffffffSDDDDDDDDo..", "..oMMMMMMMMSfffffffffffffffffffffffsSDDDDDDDDo..",
    "..oMMMMMMMMSfffffffffffffffffffffsssSDDDDDDDDo..", "..oMMMMMMMMSfffffffffNnnnnnfffffssssSDDDDDDDDo..",
    "..oMMMMMMMMSfcccffffffnnnnffffsscccsSDDDDDDDDo..", "...oMMMMMMMMSfccffhhhhhnnhhhhhssccsSDDDDDDDDo...",
    "...oMMMMMDMMSffffhhhhhhmmhhhhhhssssSDDDDDDDDo...", "....oooMDMMMMSffhhhhmhhmmhhmhhhhssSDDDDDDooo....",
    ".......oMMMMMSffhhhhhmmhhmmhhhhhssSDDDDDo.......", "......oMMMMMMMSffhhhhhhhhhhhhhhssSDDDDDDDo......",
    "......oMMMMMMMMSSfhhhhhhhhhhhhsSSDDDDDDDDo......", "......oMMMMMMMMDDSSfsssssssssSSDDDDDDDDDDo......",
    ".......oMMMMMMDDDDDSSSSSSSSSSDDDDDDDDDDDo.......", ".......oMMMMDDDDDDDDDDDDDDDDDDDDDDDDDDDDo.......",
    "........oMDDDDDDDDDDDDDDDDDDDDDDDDDDDDDo........", ".........oooooDDDDDDDDDDDDDDDDDDDDooooo.........",
    "..............oDDDDDDDDDDDDDDDDDDo..............", "...............oDDDDDDDDDDDDDDDDo...............",
    "...............oDDDDDDDooDDDDDDDo...............", "................ooooooo..ooooooo................",
    "................................................", "................................................",
};

Img paintFace(const std::vector<std::string> &rows) {
    PixelMap map{rows};
    Img img(map.w(), map.h());
    paintMap(img, 0, 0, map, iconInks);
    return img;
}

// A PNG with the key colour made transparent.
bool writeIconPNG(const Img &img, const std::string &path) {
    SDL_Surface *s = SDL_CreateRGBSurfaceWithFormat(0, img.w, img.h, 32, SDL_PIXELFORMAT_ARGB8888);
    if (!s)
        return false;
    for (int y = 0; y < img.h; y++)
        for (int x = 0; x < img.w; x++) {
            const uint32_t c = img.at(x, y);
            static_cast<uint32_t *>(s->pixels)[size_t(y) * s->pitch / 4 + x] = c == KEY ? 0 : 0xFF000000u | c;
        }
    const bool ok = savePNG(s, path.c_str());
    SDL_FreeSurface(s);
    return ok;
}

} // namespace

void drawIcon(Assets &out) { out.push_back({"icon", paintFace(face32), true}); }

bool writeIcons(const std::string &dir) {
    struct Size {
        int pixels;
        const std::vector<std::string> &face;
    };
    const Size sizes[] = {{16, face16}, {32, face32},  {48, face48}, {64, face32},
                          {96, face48}, {128, face32}, {256, face32}};
    bool ok = true;
    for (const Size &size : sizes) {
        const Img face = paintFace(size.face);
        const std::string folder =
            dir + "/hicolor/" + std::to_string(size.pixels) + "x" + std::to_string(size.pixels) + "/apps";
        std::error_code failed;
        std::filesystem::create_directories(folder, failed);
        ok &= !failed && writeIconPNG(scaleNearest(face, size.pixels / face.w), folder + "/mirabo.png");
    }
    return ok;
}
