// The animals: KAVRIN the lion cub, the hippo who explains the rules, birds, the butterfly, and
// the lives icon.
#include "art.h"

#include <algorithm>
#include <cmath>

namespace {

// One mascot pose; every animation frame is a small change of the sitting cub, or of the curled-up
// sleeper.
struct Pose {
    int dy = 0;          // whole body up (negative) or down
    int headDy = 0;      // head lower than usual (drowsy)
    int headDx = 0;      // head leaning left (negative) toward the board
    int squash = 0;      // body wider and lower (crouch, landing, breathing); negative stretches it
    int eyes = 0;        // 0 open, 1 half, 2 closed, 3 happy arcs, 4 squeezed shut
    int look = 0;        // pupils moved across (negative: to the board on his left)
    int mouth = 0;       // 0 smile, 1 open, 2 yawn
    int paw = 0;         // 0 both down, 1 both raised, 2 the left one wound up, 3 the left one taps
    int tail = 0;        // tail pose: 0 rest, 1 swished up, 2 swept low, 3 raised high
    int ears = 0;        // 0 up, 1 the left one flicks, 2 both laid back
    int zzz = 0;         // 0 none, 1 small z, 2 big Z
    bool curled = false; // asleep, curled up on the ground; squash then lifts the back (breathing)
    bool dust = false;   // puffs at the feet (take-off and landing)
    int air = 0;         // height above the ground: a shadow stays on it
};

// The mane: a disc with a wavy rim.
void mane(PixelMap &m, float cx, float cy, float rx, float ry) {
    for (int y = 0; y < 32; y++)
        for (int x = 0; x < 32; x++) {
            float dx = float(x) + 0.5f - cx, dy = float(y) + 0.5f - cy;
            float a = std::atan2(dy, dx);
            float r = 1.0f + 0.09f * std::cos(a * 9.0f);
            if ((dx * dx) / (rx * rx) + (dy * dy) / (ry * ry) <= r * r)
                mapPut(m, x, y, 'M');
        }
}

// The tail's tuft is darker than the mane, so it reads wherever it lies against him.
const uint32_t tuftC[] = {0xd9954b, 0xa65e2e, 0x7a3f1c, 0x4a2412};
const Ramp TUFT{tuftC, 4};

// A tail from (x0, y0) bending through (cx, cy) to a tuft of radius `tuft` at (x1, y1).
void tail(PixelMap &m, float x0, float y0, float cx, float cy, float x1, float y1, float tuft = 2.0f) {
    for (int k = 0; k <= 12; k++) {
        float t = float(k) / 12.0f, s = 1 - t;
        float x = s * s * x0 + 2 * s * t * cx + t * t * x1, y = s * s * y0 + 2 * s * t * cy + t * t * y1;
        mapDisc(m, x + 0.5f, y + 0.5f, 1.0f, 1.0f, 't');
    }
    mapDisc(m, x1 + 0.5f, y1 + 0.5f, tuft, tuft * 1.1f, 'u');
}

// Curled up asleep: the head rests on the front paws at the left, the back rises and falls with
// each breath (squash 1 breathes in) and the tail wraps round the front. The mane is a full ruff
// round the smaller sleeping face, and the ears lie folded inside it: nothing pokes up from the
// head, so the mane cannot read as horns.
void curledMap(PixelMap &m, const Pose &p) {
    const float lift = float(p.squash);
    mapDisc(m, 19.5f, 25.0f - lift * 0.5f, 11.5f, 5.0f + lift * 0.5f, 'b');
    mapDisc(m, 25.0f, 23.0f - lift * 0.7f, 6.0f, 5.5f + lift * 0.7f, 'b');
    // The hind leg folded under the haunch, its paw peeping out below the tail.
    mapDisc(m, 25.5f, 25.5f - lift * 0.5f, 4.2f, 3.4f, 'h');
    mapDisc(m, 28.0f, 29.0f, 2.6f, 1.5f, 'H');
    tail(m, 31, 24, 32, 31, 22.5f, 27.5f, 2.7f);
    mane(m, 10.5f, 20.0f, 10.0f, 8.5f);
    mapDisc(m, 6.0f, 16.2f, 2.0f, 1.7f, 'E');
    mapDisc(m, 15.0f, 16.2f, 2.0f, 1.7f, 'F');
    mapDisc(m, 10.5f, 21.6f, 5.6f, 4.6f, 'f');
    mapDisc(m, 10.5f, 24.4f, 3.2f, 1.7f, 'z');
    // The chin rests on the front paws.
    mapDisc(m, 6.0f, 28.2f, 3.2f, 2.0f, 'p');
    mapDisc(m, 15.0f, 28.2f, 3.2f, 2.0f, 'q');
    mapOverlay(m, 4, 28, {"k.k.......k.k"});
    mapOverlay(m, 6, 21, {"eee"});
    mapOverlay(m, 12, 21, {"eee"});
    mapOverlay(m, 10, 23, {"nn"});
    mapOverlay(m, 6, 23, {"B"});
    mapOverlay(m, 15, 23, {"B"});
    mapOverlay(m, 9, 25, {"m..m", ".mm"});
    if (p.zzz == 1)
        mapOverlay(m, 22, 8, {"ZZZ", "..Z", ".Z", "ZZZ"});
    else if (p.zzz == 2)
        mapOverlay(m, 21, 2, {"......ZZZ", ".......Z", "......ZZZ", "ZZZZ", "...Z", "..Z", ".Z", "ZZZZ"});
}

void lionMap(PixelMap &m, const Pose &p) {
    if (p.curled) {
        curledMap(m, p);
        return;
    }
    // The head can rise only two pixels before it leaves the frame; higher in a jump, the body
    // tucks up under it instead and the feet leave the ground.
    const float hy = 12.0f + float(std::max(p.dy, -2) + p.headDy + std::max(p.squash, 0) / 2);
    const float hx = 16.0f + float(p.headDx);
    const float by = 24.5f + float(p.dy) + float(p.squash) * 0.5f;
    const float brx = 7.5f + float(p.squash), bry = 6.5f - float(p.squash) * 0.5f;
    if (p.air > 0) {
        const float w = std::max(3.0f, 8.0f - float(p.air) * 0.5f);
        mapDisc(m, 16, 30.5f, w, 1.2f, 's');
    }
    // Tail first (behind), then body, paws, mane, ears, face.
    static const float tips[4][4] = {
        {29, 1, 28.5f, -5}, {30, -2, 29, -10}, {27, 5, 30, 2}, {25, -3, 28, -12}};
    const float *tp = tips[p.tail];
    tail(m, 21, by + 3, tp[0], by + tp[1], tp[2], by + tp[3]);
    mapDisc(m, 16, by, brx, bry, 'b');
    mapDisc(m, 16, by + 1.5f, brx * 0.55f, bry * 0.6f, 'c');
    const float py = by + 4.5f;
    const bool bothUp = p.paw == 1, leftUp = p.paw >= 1;
    if (!leftUp)
        mapDisc(m, 12, py, 2.8f, 2.0f, 'p');
    if (!bothUp)
        mapDisc(m, 20, py, 2.8f, 2.0f, 'q');
    mane(m, hx, hy + 1, 11.5f, 10.5f);
    // Ears: up, the left one flicked out and down, or both laid back.
    const float earL = p.ears ? 1.5f : 0, earR = p.ears == 2 ? 1.5f : 0;
    mapDisc(m, hx - 6.5f - earL * 0.7f, hy - 5.5f + earL, 2.6f - earL * 0.3f, 2.6f - earL * 0.4f, 'E');
    mapDisc(m, hx + 6.5f + earR * 0.7f, hy - 5.5f + earR, 2.6f - earR * 0.3f, 2.6f - earR * 0.4f, 'F');
    if (!p.ears)
        mapDisc(m, hx - 6.4f, hy - 5.2f, 1.1f, 1.1f, 'i');
    if (p.ears != 2)
        mapDisc(m, hx + 6.4f, hy - 5.2f, 1.1f, 1.1f, 'i');
    mapDisc(m, hx, hy + 1.5f, 7.6f, 7.2f, 'f');
    mapDisc(m, hx, hy + 5.0f, 4.2f, 2.6f, 'z');
    const int ey = int(hy), ix = int(hx) - 16;
    for (int side = 0; side < 2; side++) {
        int ex = (side ? 19 : 12) + ix;
        switch (p.eyes) {
        case 0:
            mapOverlay(m, ex + p.look, ey,
                       p.look < 0 ? std::vector<std::string>{"ew", "ee", "ee"}
                                  : std::vector<std::string>{"we", "ee", "ee"});
            break;
        case 1:
            mapOverlay(m, ex + p.look, ey + 1, {"ee", "ee"});
            break;
        case 2:
            mapOverlay(m, ex - (side ? 0 : 1), ey + 2, {"eee"});
            break;
        case 3:
            mapOverlay(m, ex - (side ? 0 : 1), ey + 1, {".e.", "e.e"});
            break;
        default:
            mapOverlay(m, ex - (side ? 0 : 1), ey,
                       side ? std::vector<std::string>{"e", ".ee", "e"}
                            : std::vector<std::string>{"..e", "ee", "..e"});
            break;
        }
    }
    if (p.eyes != 2) {
        mapOverlay(m, 10 + ix, ey + 3, {"BB"});
        mapOverlay(m, 20 + ix, ey + 3, {"BB"});
    }
    mapOverlay(m, 15 + ix, ey + 3, {"nn", "nn"});
    const int my = ey + 5;
    if (p.mouth == 0)
        mapOverlay(m, 13 + ix, my, {"m.mm.m", ".m..m"});
    else if (p.mouth == 1)
        mapOverlay(m, 14 + ix, my, {"mmmm", "mrrm", ".mm"});
    else
        mapOverlay(m, 14 + ix, my, {"mmmm", "mrrm", "mrrm", ".mm"});
    if (p.dust)
        for (float side : {-1.0f, 1.0f}) {
            mapDisc(m, 16 + side * 10.5f, 29.5f, 1.8f, 1.4f, 'd');
            mapDisc(m, 16 + side * 13.5f, 27.5f, 1.0f, 1.0f, 'd');
        }
    // Both paws raised to cheer come in front of the mane.
    if (bothUp) {
        mapDisc(m, 25, hy + 7, 2.8f, 2.6f, 'q');
        mapDisc(m, 7, hy + 7, 2.8f, 2.6f, 'p');
        mapOverlay(m, 24, int(hy) + 5, {"k.k"});
        mapOverlay(m, 6, int(hy) + 5, {"k.k"});
    }
    // The tap: the left paw winds up beside the cheek, then reaches out to the board.
    if (p.paw >= 2) {
        const bool tap = p.paw == 3;
        const float ax = tap ? 3.5f : 5.5f, ay = tap ? by + 1.0f : hy + 4.0f;
        for (int k = 0; k <= 6; k++) {
            float t = float(k) / 6.0f;
            mapDisc(m, 11.5f + (ax - 11.5f) * t, by - 1.5f + (ay - by + 1.5f) * t, 1.9f, 1.9f, 'a');
        }
        mapDisc(m, ax, ay, 2.8f, 2.5f, 'P');
        mapOverlay(m, int(ax) - 2, int(ay) - (tap ? 0 : 2),
                   tap ? std::vector<std::string>{"k", "", "k"} : std::vector<std::string>{"k.k"});
        if (tap)
            mapOverlay(m, 0, int(ay) - 4, {"d", "", ".", "", "", "", "", "d"});
    }
}

// The longest animation, the idle, sets the sheet's height: one row of 32 pixels per frame.
constexpr int IDLE_FRAMES = 16;

Img lionSheet() {
    Img sheet(7 * 32, IDLE_FRAMES * 32);
    auto put = [&](int anim, int frame, const Pose &p) {
        PixelMap m = blankMap(32, 32);
        lionMap(m, p);
        paintMap(sheet, anim * 32, frame * 32, m,
                 {{'e', GREY, 5},  {'k', SAND, 3},  {'w', GREY, 0},    {'B', RED, 0},   {'n', RED, 3},
                  {'m', SAND, 4},  {'r', RED, 1},   {'Z', GREY, 0},    {'i', RED, 0},   {'z', SAND, 0},
                  {'d', SAND, 1},  {'s', GREY, 4},  {'P', SAND, -1},   {'a', SAND, -1}, {'f', SAND, -1},
                  {'E', SAND, -1}, {'F', SAND, -1}, {'M', ORANGE, -1}, {'p', SAND, -1}, {'q', SAND, -1},
                  {'c', SAND, 0},  {'b', SAND, -1}, {'u', TUFT, -1},   {'t', SAND, -1}, {'h', SAND, -1},
                  {'H', SAND, -1}});
    };
    auto pose = [](int eyes, int dy = 0) {
        Pose p;
        p.eyes = eyes, p.dy = dy;
        return p;
    };
    // 0 waking up: sitting up drowsy with the ears down, a big yawn, then bright-eyed.
    Pose wake0 = pose(2, 1);
    wake0.headDy = 2, wake0.ears = 2, wake0.tail = 2;
    Pose wake1 = pose(4);
    wake1.mouth = 2, wake1.paw = 1, wake1.squash = -1, wake1.tail = 3;
    Pose wake2 = pose(0);
    wake2.tail = 1;
    put(0, 0, wake0), put(0, 1, wake1), put(0, 2, wake2);
    // 1 short blink and 2 long blink.
    const int shortBlink[4] = {0, 1, 2, 1}, longBlink[6] = {0, 1, 2, 2, 2, 1};
    for (int f = 0; f < 4; f++)
        put(1, f, pose(shortBlink[f]));
    for (int f = 0; f < 6; f++)
        put(2, f, pose(longBlink[f]));
    // 3 jump: ready, crouch, coil, spring up stretched, cheer at the top, fall, land squashed. The
    // feet leave the ground on frame 3.
    const int jumpDy[7] = {0, 1, 2, -4, -7, -5, 2}, jumpSquash[7] = {0, 1, 3, -2, 0, -1, 3};
    const int jumpEyes[7] = {0, 0, 4, 3, 3, 0, 4}, jumpPaw[7] = {0, 0, 0, 1, 1, 0, 0};
    const int jumpTail[7] = {0, 2, 2, 3, 1, 3, 2}, jumpMouth[7] = {0, 0, 0, 1, 1, 1, 0};
    for (int f = 0; f < 7; f++) {
        Pose p = pose(jumpEyes[f], jumpDy[f]);
        p.squash = jumpSquash[f], p.paw = jumpPaw[f], p.tail = jumpTail[f], p.mouth = jumpMouth[f];
        p.ears = f == 2 || f == 6 ? 2 : 0;
        p.air = jumpDy[f] < 0 ? -jumpDy[f] : 0;
        p.dust = f == 3 || f == 6;
        put(3, f, p);
    }
    // 4 idle, 16 frames: he breathes (the chest rises as the body stretches a pixel), looks over to
    // the board and back the other way, flicks an ear and swishes his tail.
    static const int idle[IDLE_FRAMES][5] = {
        // squash, look, headDx, tail, ears
        {0, 0, 0, 0, 0},   {-1, 0, 0, 0, 0},  {-1, 0, 0, 1, 0},   {0, 0, 0, 1, 0},
        {0, -1, -1, 0, 0}, {0, -1, -1, 0, 1}, {-1, -1, -1, 0, 0}, {0, 0, 0, 0, 0},
        {0, 1, 1, 0, 0},   {0, 1, 1, 2, 0},   {-1, 1, 1, 2, 0},   {0, 0, 0, 0, 0},
        {-1, 0, 0, 0, 0},  {-1, 0, 0, 1, 0},  {0, 0, 0, 0, 1},    {1, 0, 0, 2, 0},
    };
    for (int f = 0; f < IDLE_FRAMES; f++) {
        Pose p = pose(0);
        p.squash = idle[f][0], p.look = idle[f][1], p.headDx = idle[f][2], p.tail = idle[f][3];
        p.ears = idle[f][4];
        put(4, f, p);
    }
    // 5 sleep: eyelids droop, the head nods, a yawn, he curls up; frames 4 and 5 breathe and snore.
    Pose s0 = pose(1);
    s0.headDy = 1;
    Pose s1 = pose(2);
    s1.headDy = 2, s1.ears = 2, s1.tail = 2;
    Pose s2 = pose(4, 1);
    s2.headDy = 1, s2.mouth = 2, s2.ears = 2, s2.tail = 2;
    Pose s3;
    s3.curled = true;
    Pose s4 = s3;
    s4.zzz = 1;
    Pose s5 = s3;
    s5.zzz = 2, s5.squash = 1;
    put(5, 0, s0), put(5, 1, s1), put(5, 2, s2), put(5, 3, s3), put(5, 4, s4), put(5, 5, s5);
    // 6 pick: he looks at the board and winds up a paw, taps it, and is pleased.
    Pose p0 = pose(0);
    p0.paw = 2, p0.look = -1, p0.headDx = -1, p0.tail = 1;
    Pose p1 = pose(4);
    p1.paw = 3, p1.mouth = 1, p1.headDx = -1, p1.tail = 2, p1.ears = 1;
    Pose p2 = pose(3);
    p2.tail = 3, p2.dy = -1;
    put(6, 0, p0), put(6, 1, p1), put(6, 2, p2);
    return sheet;
}

// A slate in a wooden frame with a chalk drawing: a fruit, an arrow, a smaller fruit.
void fillSlate(PixelMap &m) {
    mapOverlay(m, 1, 49,
               {"WWWWWWWWWWWWWWWW", "WSSsSSSSSSSSSSSW", "WSsssSSSSSSSSSSW", "WsSSSsSSSsSSsSSW",
                "WsSSSsSssssSssSW", "WsSSSsSSSsSSssSW", "WSsssSSSSSSSSSSW", "WSSSSSSSSSSSSSSW",
                "WSSSSSSSSSSSSSSW", "WSxxSSSSSSSSSSSW", "WWWWWWWWWWWWWWWW"});
}

// The hippo who explains the rules: frame 0 talks (mouth open, pointer raised to the
// text on his right), frame 1 listens (mouth closed, pointer lowered). He wears a teacher's cap and
// holds a slate with a fruit turning into another chalked on it. The frame ends at x = 68 on the
// screen, clear of the rule texts.
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
        // The pointer: raised while he talks, lowered while he listens, a red tip at its end.
        const int reach = f == 0 ? 20 : 13;
        for (int k = 0; k < reach; k++)
            mapPut(m, 55 + k * 8 / reach, 47 - k, 'p'), mapPut(m, 56 + k * 8 / reach, 47 - k, 'p');
        mapOverlay(m, 62, 47 - reach, {"xx", "xx"});
        mapOverlay(m, 53, 43, {"ggg", "ggg"});
        // The cap: a broad board seen a little from above, resting on his eyes, its lit front rim
        // catching the light, a cord from the button to the right corner and the tassel hanging there.
        const int half[] = {12, 14, 16, 16, 15};
        for (int y = 2; y <= 6; y++)
            for (int x = 30 - half[y - 2]; x <= 30 + half[y - 2]; x++) {
                const bool rim = std::abs(x - 30) == half[y - 2];
                mapPut(m, x, y, y == 2 || y == 6 || rim ? 'C' : y == 5 ? 'R' : 'D');
            }
        mapOverlay(m, 27, 7, {"CDDDDDC", ".CCCCC"});
        mapOverlay(m, 29, 3, {".t", "tTtttttttttttttttt"});
        mapOverlay(m, 46, 5, {"t", "t", "t", "t", "TT", "TTT", "TTT"});
        // The slate, held in the left arm.
        fillSlate(m);
        mapDisc(m, 12, 63, 4, 3.4f, 'A');
        for (int x : {14, 17, 20, 38, 41, 44})
            mapPut(m, x, 78, 'w');
        paintMap(sheet, 64 * f, 0, m,
                 {{'w', GREY, 0},      {'k', PURPLE, 3},    {'C', GREY, 5},      {'D', SKY, 4},
                  {'R', SKY, 2},       {'t', YELLOW, 2},    {'T', YELLOW, 1},    {'W', SAND, 3},
                  {'S', LEAF, 4},      {'s', GREY, 1},      {'x', RED, 1},       {'r', RED, 1},
                  {'c', RED, 0},       {'g', PURPLE, 2},    {'p', SAND, 3},      {'o', PURPLE, AUTO},
                  {'O', PURPLE, AUTO}, {'h', PURPLE, AUTO}, {'E', PURPLE, AUTO}, {'F', PURPLE, AUTO},
                  {'a', PURPLE, AUTO}, {'A', PURPLE, AUTO}, {'y', PURPLE, 0},    {'b', PURPLE, AUTO},
                  {'l', PURPLE, AUTO}, {'L', PURPLE, AUTO}});
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

// The butterfly seen from the front, two frames of one wing-beat: 0 the wings spread wide and low
// (the down-stroke), 1 the wings clapped up high over the body (the up-stroke).
Img butterflySheet() {
    Img sheet(32, 16);
    for (int f = 0; f < 2; f++) {
        PixelMap m = blankMap(16, 16);
        for (int side = -1; side <= 1; side += 2) {
            const float sx = float(side);
            if (f == 0) {
                mapDisc(m, 8 + sx * 4.4f, 6.0f, 3.6f, 3.8f, side < 0 ? 'a' : 'b');
                mapDisc(m, 8 + sx * 5.8f, 3.8f, 2.2f, 2.2f, side < 0 ? 'a' : 'b');
                mapDisc(m, 8 + sx * 3.4f, 11.2f, 2.6f, 2.6f, side < 0 ? 'c' : 'd');
                mapDisc(m, 8 + sx * 3.6f, 13.6f, 1.0f, 1.4f, side < 0 ? 'c' : 'd');
                mapPut(m, 8 + side * 5 - (side < 0), 5, 's'), mapPut(m, 8 + side * 4 - (side < 0), 6, 's');
                mapPut(m, 8 + side * 6 - (side < 0), 3, 'y');
            } else {
                mapDisc(m, 8 + sx * 3.0f, 3.6f, 1.9f, 3.6f, side < 0 ? 'a' : 'b');
                mapDisc(m, 8 + sx * 3.6f, 1.6f, 1.6f, 1.6f, side < 0 ? 'a' : 'b');
                mapDisc(m, 8 + sx * 2.2f, 8.0f, 1.5f, 2.0f, side < 0 ? 'c' : 'd');
            }
        }
        mapOverlay(m, 7, 4 - f, {"xx", "xx", "xx", "xx", "xx", "xx", "xx", "xx", "xx", ".x"});
        mapOverlay(m, 5, 1 - f, {"k....k", ".k..k", "..kk"});
        paintMap(sheet, 16 * f, 0, m,
                 {{'x', PURPLE, 3},
                  {'k', PURPLE, 3},
                  {'s', GREY, 0},
                  {'y', YELLOW, 0},
                  {'a', ORANGE, AUTO},
                  {'b', ORANGE, AUTO},
                  {'c', RED, AUTO},
                  {'d', RED, AUTO}});
    }
    return sheet;
}

// The lives icon: KAVRIN's face, 8 pixels high like the status text: pointed ears, a ruff of
// mane, big bright eyes, blushing cheeks and a small smile under the nose.
Img kittyIcon() {
    Img icon(16, 8);
    PixelMap m = blankMap(16, 8);
    mapOverlay(m, 0, 0,
               {"..oo.......oo..", ".oLpoooooooopMo", "oLMfffffffffMMo", "oLfWefffffWefMo", "oLfeefffffeefMo",
                "oMcfffnnnfffcMo", ".oMfffmnmfffMo.", "..ooMMfffMMoo.."});
    paintMap(icon, 1, 0, m,
             {{'e', GREY, 5},
              {'W', GREY, 0},
              {'n', RED, 2},
              {'m', SAND, 4},
              {'c', RED, 0},
              {'p', RED, 0},
              {'f', SAND, 1},
              {'L', ORANGE, 0},
              {'M', ORANGE, 1},
              {'o', ORANGE, 3}});
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
