// The animals: KAVRIN the lion cub, the hippo who explains the rules, birds, the butterfly, and
// the lives icon.
#include "art.h"

#include <algorithm>
#include <cmath>

namespace {

// One mascot pose; every animation frame is a small change of the sitting cub.
struct Pose {
    int dy = 0;     // whole body up (negative) or down
    int headDy = 0; // head lower than usual (sleep)
    int squash = 0; // body wider and lower (landing, breathing)
    int eyes = 0;   // 0 open, 1 half, 2 closed, 3 happy arcs
    int mouth = 0;  // 0 smile, 1 open, 2 yawn
    int paw = 0;    // 0 both down, 1 right paw raised, 2 both raised
    int tail = 0;   // tail swing -1..1
    int zzz = 0;    // 0 none, 1 small z, 2 big Z
    bool lying = false;
    bool dust = false; // puffs at the feet (take-off and landing)
};

void lionMap(PixelMap &m, const Pose &p) {
    // The head can rise only two pixels before it leaves the frame; higher in a jump, the body
    // tucks up under it instead and the feet leave the ground.
    const float hy = 12.0f + float(std::max(p.dy, -2) + p.headDy);
    const float by = (p.lying ? 26.5f : 24.5f) + float(p.dy) + float(p.squash) * 0.5f;
    const float brx = (p.lying ? 11.0f : 7.5f) + float(p.squash),
                bry = (p.lying ? 4.5f : 6.5f) - float(p.squash) * 0.5f;
    // Tail first (behind), then body, paws, mane, ears, face.
    const float tx = 24.5f + float(p.tail) * 2.0f;
    for (int k = 0; k <= 10; k++) {
        float t = float(k) / 10.0f;
        float x = 21 + (tx - 21) * t + std::sin(t * 3.0f) * 2.0f, y = by + 3 - t * 9.0f;
        mapDisc(m, x + 0.5f, y + 0.5f, 1.0f, 1.0f, 't');
    }
    mapDisc(m, tx + 1.5f, by - 6.5f, 2.0f, 2.2f, 'u');
    mapDisc(m, 16, by, brx, bry, 'b');
    mapDisc(m, 16, by + 1.5f, brx * 0.55f, bry * 0.6f, 'c');
    const float py = p.lying ? by + 2.5f : by + 4.5f;
    const bool raised = p.paw != 0 && !p.lying;
    if (!raised || p.paw == 1)
        mapDisc(m, 12, py, 2.8f, 2.0f, 'p');
    if (!raised)
        mapDisc(m, 20, py, 2.8f, 2.0f, 'q');
    // The mane: a disc with a wavy rim.
    for (int y = 0; y < 32; y++)
        for (int x = 0; x < 32; x++) {
            float dx = float(x) + 0.5f - 16, dy = float(y) + 0.5f - (hy + 1);
            float a = std::atan2(dy, dx);
            float r = 1.0f + 0.09f * std::cos(a * 9.0f);
            if ((dx * dx) / (11.5f * 11.5f) + (dy * dy) / (10.5f * 10.5f) <= r * r)
                mapPut(m, x, y, 'M');
        }
    mapDisc(m, 9.5f, hy - 5.5f, 2.6f, 2.6f, 'E');
    mapDisc(m, 22.5f, hy - 5.5f, 2.6f, 2.6f, 'F');
    mapDisc(m, 9.6f, hy - 5.2f, 1.1f, 1.1f, 'i');
    mapDisc(m, 22.4f, hy - 5.2f, 1.1f, 1.1f, 'i');
    mapDisc(m, 16, hy + 1.5f, 7.6f, 7.2f, 'f');
    mapDisc(m, 16, hy + 5.0f, 4.2f, 2.6f, 'z');
    const int ey = int(hy);
    for (int side = 0; side < 2; side++) {
        int ex = side ? 19 : 12;
        switch (p.eyes) {
        case 0:
            mapOverlay(m, ex, ey, {"we", "ee", "ee"});
            break;
        case 1:
            mapOverlay(m, ex, ey + 1, {"ee", "ee"});
            break;
        case 2:
            mapOverlay(m, ex - (side ? 0 : 1), ey + 2, {"eee"});
            break;
        default:
            mapOverlay(m, ex - (side ? 0 : 1), ey + 1, {".e.", "e.e"});
            break;
        }
    }
    if (p.eyes != 2) {
        mapOverlay(m, 10, ey + 3, {"BB"});
        mapOverlay(m, 20, ey + 3, {"BB"});
    }
    mapOverlay(m, 15, int(hy) + 3, {"nn", "nn"});
    const int my = int(hy) + 5;
    if (p.mouth == 0)
        mapOverlay(m, 13, my, {"m.mm.m", ".m..m"});
    else if (p.mouth == 1)
        mapOverlay(m, 14, my, {"mmmm", "mrrm", ".mm"});
    else
        mapOverlay(m, 14, my, {"mmmm", "mrrm", "mrrm", ".mm"});
    if (p.dust)
        mapOverlay(m, 3, 28,
                   {"dd....................dd", ".dd..................dd", "...d................d"});
    // Raised paws come in front of the mane: one to tap, both to cheer.
    if (raised) {
        mapDisc(m, 25, hy + 7, 2.8f, 2.6f, 'q');
        mapOverlay(m, 24, int(hy) + 5, {"k.k"});
        if (p.paw == 2) {
            mapDisc(m, 7, hy + 7, 2.8f, 2.6f, 'p');
            mapOverlay(m, 6, int(hy) + 5, {"k.k"});
        }
    }
    if (p.zzz)
        mapOverlay(m, 25, p.zzz == 1 ? 6 : 2,
                   p.zzz == 1 ? std::vector<std::string>{"ZZZ", "..Z", ".Z", "ZZZ"}
                              : std::vector<std::string>{"ZZZZ", "...Z", "..Z", ".Z", "ZZZZ"});
}

Img lionSheet() {
    Img sheet(7 * 32, 7 * 32);
    auto put = [&](int anim, int frame, const Pose &p) {
        PixelMap m = blankMap(32, 32);
        lionMap(m, p);
        paintMap(sheet, anim * 32, frame * 32, m,
                 {{'e', GREY, 5},  {'k', SAND, 3},  {'w', GREY, 0},  {'B', RED, 0},     {'n', RED, 3},
                  {'m', SAND, 4},  {'r', RED, 1},   {'Z', GREY, 0},  {'i', RED, 0},     {'z', SAND, 0},
                  {'f', SAND, -1}, {'E', SAND, -1}, {'F', SAND, -1}, {'M', ORANGE, -1}, {'p', SAND, -1},
                  {'q', SAND, -1}, {'c', SAND, 0},  {'b', SAND, -1}, {'u', ORANGE, -1}, {'t', SAND, -1}});
    };
    auto pose = [](int eyes, int dy = 0) {
        Pose p;
        p.eyes = eyes, p.dy = dy;
        return p;
    };
    // 0 waking up: from lying asleep to sitting with a yawn, then awake.
    Pose wake0 = pose(2, 2);
    wake0.lying = true, wake0.headDy = 3;
    Pose wake1 = pose(1, 1);
    wake1.mouth = 2;
    put(0, 0, wake0), put(0, 1, wake1), put(0, 2, pose(0));
    // 1 short blink and 2 long blink.
    const int shortBlink[4] = {0, 1, 2, 1}, longBlink[6] = {0, 1, 2, 2, 2, 1};
    for (int f = 0; f < 4; f++)
        put(1, f, pose(shortBlink[f]));
    for (int f = 0; f < 6; f++)
        put(2, f, pose(longBlink[f]));
    // 3 jump: crouch, rise, top with paws up, fall, land squashed, settle.
    const int jumpDy[7] = {2, -3, -6, -7, -4, 2, 0}, jumpSquash[7] = {2, -1, -1, 0, 0, 2, 0};
    for (int f = 0; f < 7; f++) {
        Pose p = pose(f >= 1 && f <= 4 ? 3 : 0, jumpDy[f]);
        p.squash = jumpSquash[f];
        p.paw = (f >= 2 && f <= 4) ? 2 : 0;
        p.mouth = (f >= 1 && f <= 4) ? 1 : 0;
        p.tail = f % 2 ? 1 : -1;
        p.dust = f == 0 || f == 5;
        put(3, f, p);
    }
    // 4 idle: sits and breathes, the tail swishes.
    Pose idle1 = pose(0);
    idle1.squash = 1;
    Pose idle2 = pose(0);
    idle2.tail = 1;
    put(4, 0, pose(0)), put(4, 1, idle1), put(4, 2, idle2);
    // 5 sleep: eyelids droop, the head sinks, he lies down and snores (frames 4 and 5 loop).
    Pose s0 = pose(1);
    Pose s1 = pose(2);
    s1.headDy = 1;
    Pose s2 = pose(2, 1);
    s2.headDy = 2, s2.mouth = 2;
    Pose s3 = pose(2, 2);
    s3.lying = true, s3.headDy = 3;
    Pose s4 = s3;
    s4.zzz = 1;
    Pose s5 = s3;
    s5.zzz = 2, s5.squash = 1;
    put(5, 0, s0), put(5, 1, s1), put(5, 2, s2), put(5, 3, s3), put(5, 4, s4), put(5, 5, s5);
    // 6 pick: he raises a paw to tap, taps, and is pleased.
    Pose p0 = pose(0);
    p0.paw = 1;
    Pose p1 = pose(3);
    p1.paw = 1, p1.mouth = 1, p1.dy = -1;
    Pose p2 = pose(3);
    put(6, 0, p0), put(6, 1, p1), put(6, 2, p2);
    return sheet;
}

// The hippo who explains the rules: frame 0 talks (mouth open), frame 1 listens (mouth closed).
// He points at the text on his right with a stick.
Img hippoSheet() {
    Img sheet(128, 80);
    for (int f = 0; f < 2; f++) {
        PixelMap m = blankMap(64, 80);
        mapDisc(m, 19, 76, 7, 4, 'l');
        mapDisc(m, 41, 76, 7, 4, 'L');
        mapDisc(m, 30, 58, 20, 18, 'b');
        mapDisc(m, 30, 62, 12, 11, 'y');
        for (int k = 0; k <= 8; k++)
            mapDisc(m, 46.0f + float(k) * 1.3f, 56.0f - float(k) * 1.5f, 3.2f, 3.2f, 'a');
        mapDisc(m, 12, 60, 4, 6, 'A');
        mapDisc(m, 14, 11, 3.2f, 3.2f, 'E');
        mapDisc(m, 46, 11, 3.2f, 3.2f, 'F');
        mapDisc(m, 30, 21, 15, 12, 'h');
        mapDisc(m, 30, 34, 20, 11.5f, 'h');
        mapDisc(m, 21, 12, 5, 5, 'o');
        mapDisc(m, 39, 12, 5, 5, 'O');
        mapOverlay(m, 19, 10, {".ww", "wwk", "wkk"});
        mapOverlay(m, 37, 10, {".ww", "wwk", "wkk"});
        mapOverlay(m, 20, 27, {".kk.........kk", "kkkk.......kkk", ".kk.........kk"});
        mapOverlay(m, 13, 33, {"cc"});
        mapOverlay(m, 44, 33, {"cc"});
        if (f == 0) {
            mapDisc(m, 30, 40, 10, 5, 'k');
            mapDisc(m, 30, 42.5f, 6, 2.5f, 'r');
            mapOverlay(m, 23, 36, {"ww........ww", ".w........w"});
        } else {
            mapOverlay(m, 15, 39, {"kk.........................kk", "..kkkkkkkkkkkkkkkkkkkkkkkkk"});
        }
        for (int k = 0; k < 16; k++)
            mapPut(m, 56 + k / 2, 47 - k, 'p'), mapPut(m, 57 + k / 2, 47 - k, 'p');
        mapOverlay(m, 53, 43, {"ggg", "ggg"});
        paintMap(sheet, 64 * f, 0, m,
                 {{'w', GREY, 0},
                  {'k', PURPLE, 3},
                  {'r', RED, 1},
                  {'c', RED, 0},
                  {'g', PURPLE, 2},
                  {'p', SAND, 3},
                  {'o', PURPLE, AUTO},
                  {'O', PURPLE, AUTO},
                  {'h', PURPLE, AUTO},
                  {'E', PURPLE, AUTO},
                  {'F', PURPLE, AUTO},
                  {'a', PURPLE, AUTO},
                  {'A', PURPLE, AUTO},
                  {'y', PURPLE, 0},
                  {'b', PURPLE, AUTO},
                  {'l', PURPLE, AUTO},
                  {'L', PURPLE, AUTO}});
    }
    return sheet;
}

// A small bird flying left, wings up (0), level (1) or down (2).
PixelMap birdSide(int wing) {
    PixelMap m = blankMap(16, 16);
    mapOverlay(m, 0, 5, {"..hh", ".hhhh", "khehbbbbbbbbttt", ".hhhbbbbbbbbtt", "..ccccbbbbbt", "...cccccb"});
    if (wing == 0)
        mapOverlay(m, 5, 1, {"...ww", "..www", ".wwww", "wwwww", "wwww", "www"});
    else if (wing == 1)
        mapOverlay(m, 4, 8, {".wwwwwwwww", "..wwwwwww"});
    else
        mapOverlay(m, 5, 9, {".wwwww", "wwwwww", "wwwww", ".www", "..w"});
    return m;
}

// A small bird perched, facing left; pose 1 looks up, pose 2 pecks. Its feet stand on row 14.
PixelMap birdPerched(int pose) {
    PixelMap m = blankMap(16, 16);
    mapOverlay(
        m, 2, 6,
        {"....bb", "..bbbbbw", ".cbbbwwww", ".ccbwwwwwt", "..ccbwwwwtt", "...cbbbb..tt", "....bbb....t"});
    mapOverlay(m, 5, 13, {"l.l", "l.l"});
    const int hy = pose == 2 ? 4 : (pose == 1 ? 2 : 3);
    mapOverlay(m, 2, hy, {"..hhh", ".hhhhh", "hhehhh", ".hhhhh"});
    if (pose == 1)
        mapOverlay(m, 0, hy + 1, {".k", "kk"});
    else
        mapOverlay(m, 0, hy + 2, {"kk", ".k"});
    return m;
}

// Seen from below, flying up or down: wings up (12) or down (13).
PixelMap birdFront(bool up) {
    PixelMap m = blankMap(16, 16);
    mapDisc(m, 8, 8.5f, 2.5f, 4.5f, 'b');
    mapDisc(m, 8, 4.5f, 2.3f, 2.3f, 'h');
    mapOverlay(m, 7, 12, {"tt", "tt"});
    if (up)
        mapOverlay(m, 0, 2,
                   {"w.............w", "ww...........ww", ".www.......www", "..wwww...wwww", "....ww...ww"});
    else
        mapOverlay(m, 0, 7,
                   {"....ww...ww", "..wwww...wwww", ".www.......www", "ww...........ww", "w.............w"});
    mapPut(m, 7, 4, 'e'), mapPut(m, 9, 4, 'e');
    mapPut(m, 8, 5, 'k');
    return m;
}

Img birdSheet(const Ramp &body, const Ramp &head, const Ramp &wing, const Ramp &chest) {
    Img sheet(15 * 16, 16);
    const std::vector<Ink> inks = {{'e', GREY, 5},    {'k', ORANGE, 1}, {'l', SAND, 4}, {'w', wing, AUTO},
                                   {'h', head, AUTO}, {'c', chest, 1},  {'t', body, 3}, {'b', body, AUTO}};
    auto put = [&](int frame, const PixelMap &m, bool flip) {
        Img f(16, 16);
        paintMap(f, 0, 0, m, inks);
        blit(flip ? flipH(f) : f, sheet, frame * 16, 0);
    };
    const int leftFrames[3] = {0, 5, 10}, rightFrames[3] = {1, 6, 11}, wings[3] = {0, 1, 2};
    for (int i = 0; i < 3; i++) {
        put(leftFrames[i], birdSide(wings[i]), false);
        put(rightFrames[i], birdSide(wings[i]), true);
    }
    put(12, birdFront(true), false);
    put(13, birdFront(false), false);
    // Perched pairs swap every few ticks: 2 <-> 7 faces left, 3 <-> 8 faces right.
    put(2, birdPerched(0), false), put(7, birdPerched(1), false);
    put(3, birdPerched(0), true), put(8, birdPerched(2), true);
    put(4, birdPerched(2), false), put(9, birdPerched(1), true), put(14, birdFront(true), false);
    return sheet;
}

Img butterflySheet() {
    Img sheet(32, 16);
    for (int f = 0; f < 2; f++) {
        PixelMap m = blankMap(16, 16);
        // Open wings fill the frame; closed ones fold up into a narrow fan.
        const float spread = f == 0 ? 1.0f : 0.4f;
        mapDisc(m, 8 - 4.0f * spread, 5.5f, 4.0f * spread + 0.5f, 4.5f, 'a');
        mapDisc(m, 8 + 4.0f * spread, 5.5f, 4.0f * spread + 0.5f, 4.5f, 'b');
        mapDisc(m, 8 - 2.8f * spread, 11.5f, 2.8f * spread + 0.5f, 3.0f, 'c');
        mapDisc(m, 8 + 2.8f * spread, 11.5f, 2.8f * spread + 0.5f, 3.0f, 'd');
        if (f == 0) {
            mapOverlay(m, 2, 4, {".s", "sss", ".s"});
            mapOverlay(m, 12, 4, {".s", "sss", ".s"});
            mapPut(m, 5, 12, 's'), mapPut(m, 10, 12, 's');
        }
        mapOverlay(
            m, 6, 0,
            {"k..k", ".kk", ".xx", ".xx", ".xx", ".xx", ".xx", ".xx", ".xx", ".xx", ".xx", ".xx", ".x"});
        paintMap(sheet, 16 * f, 0, m,
                 {{'x', PURPLE, 3},
                  {'k', PURPLE, 3},
                  {'s', GREY, 0},
                  {'a', ORANGE, AUTO},
                  {'b', ORANGE, AUTO},
                  {'c', RED, AUTO},
                  {'d', RED, AUTO}});
    }
    return sheet;
}

// The lives icon: KAVRIN's face, 8 pixels high like the status text.
Img kittyIcon() {
    Img icon(16, 8);
    PixelMap m = blankMap(16, 8);
    mapOverlay(m, 0, 0,
               {"...MMMMMMMMM", "..MMfffffffMM", ".MMfefffffefMM", ".MMffffffffffM", ".MMfffnnnfffMM",
                "..MMffmmmffMM", "...MMfffffMM", "....MMMMMMM"});
    paintMap(icon, 1, 0, m,
             {{'e', GREY, 5}, {'n', RED, 3}, {'m', SAND, 3}, {'f', SAND, 1}, {'M', ORANGE, AUTO}});
    return icon;
}

} // namespace

void drawCreatures(Assets &out) {
    out.push_back({"lionanim", lionSheet(), true});
    out.push_back({"hippo", hippoSheet(), true});
    out.push_back({"birds", birdSheet(SKY, SKY, SKY, SAND), true});
    out.push_back({"birds2", birdSheet(YELLOW, RED, ORANGE, YELLOW), true});
    out.push_back({"butterfly", butterflySheet(), true});
    out.push_back({"kitty", kittyIcon(), true});
}
