// The ambient animations of the stage screen: the mascot KAVRIN, the totem, the sun, the birds and
// the flowers. They never affect play.
#pragma once

#include <array>
#include <cstdint>

struct FlyingBird {
    int32_t x, y, dx, dy, frame;
    int32_t countdown; // ticks to the next step
    int32_t vertical;  // 1 flies up or down, 0 left or right
};

struct PerchedBird {
    int32_t x, y, countdown, frame, active;
};

struct Flower {
    int32_t isFree; // 1 = no flower in this slot
    int32_t countdown;
    int32_t targetHeight, height; // pixels
    int32_t growing;
    int32_t blossom; // frame 0 to 4
};
// Where each animation stands; the stage drawing shows it.
struct StageAnims {
    int32_t curLionAnim, curLionFrame; // the mascot's animation and its frame
    int32_t curLionLoop;               // passes left of a repeating animation
    int32_t curLionCount;              // ticks to the next frame
    int32_t sleepTime;                 // idle ticks; at 1000 he falls asleep
    int32_t curTotemWait;              // ticks until the totem pops up; 0 while it shows
    int32_t curTotemAnim, curTotemFrame, curTotemLoop, curTotemCount;
    int32_t curSunAnim, curSunCount;
    FlyingBird birdAnim;
    int32_t birdAnimWait; // ticks until the next flight; 0 while a bird is in flight
    int32_t birdAngle, birdDA;
    std::array<PerchedBird, 4> waitingBirds;
    std::array<Flower, 16> animFlower; // 0..7 under the board's columns, 8..15 under the target's
    int32_t flowerUp;
};
extern StageAnims anims;

// The mascot's animations, the columns of the "lionanim" sheet.
enum {
    LION_WAKE = 0,
    LION_SHORT_BLINK = 1,
    LION_LONG_BLINK = 2,
    LION_JUMP = 3, // a stage is won
    LION_IDLE = 4,
    LION_SLEEP = 5,
    LION_PICK = 6, // reaction to a pick
    LION_ANIMS = 7
};

void setLionAnim(int anim);
void lionWakeUp();
void doLionAnim();
void doBgAnims();
void resetDecorations(); // the state of a new stage
