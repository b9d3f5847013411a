// The ambient animations of the stage screen: the mascot KAVRIN, the totem, the sun, the birds and
// the flowers. Their state advances once per stage tick; the board drawing shows it.
#include "main/bganims.h"

#include "main/level.h"
#include "main/rules.h"
#include "sound/sound.h"

#include <cstdlib>

StageAnims anims;

struct LionAnim {
    int32_t frames;
    int32_t loopStart; // the frame a repeating pass starts from
    int32_t passes;
    int32_t next; // the animation that follows the last pass
};
static const LionAnim lionAnims[LION_ANIMS] = {
    {3, 0, 1, 4},   // waking up
    {4, 0, 1, 4},   // short blink
    {6, 0, 1, 4},   // long blink
    {7, 0, 2, 0},   // jump when a stage is won
    {16, 0, 1, 4},  // idle, repeats itself: breathes, looks round, flicks an ear
    {6, 4, 128, 0}, // asleep: dozes off once, then breathes on the last two frames
    {3, 0, 1, 4},   // reaction to a pick
};
static const int lionSfx[LION_ANIMS] = {
    SFX_KAVRIN_EYESSHORT, SFX_KAVRIN_EYESHORT, SFX_KAVRIN_EYELONG, SFX_KAVRIN_JUMP, -1, SFX_KAVRIN_SLEEP, -1,
};

constexpr int LION_FRAME_TICKS = 10;
constexpr int LION_JUMP_SOUND_FRAME = 3; // the jump sounds when the feet leave the ground, in each pass
constexpr int TOTEM_FRAME_TICKS = 12, TOTEM_FRAMES = 3, TOTEM_ANIMS = 5;
constexpr int SUN_FRAME_TICKS = 16, SUN_FRAMES = 3;
constexpr int BIRD_STEP_TICKS = 6, BIRD_VERTICAL_STEP_TICKS = 12, BIRD_SPEED = 4;
constexpr int BIRD_MIN_POS = -15; // a bird is gone once it leaves -15..319 across or -15..239 down
constexpr int FLOWER_GROW_TICKS = 4, FLOWER_BLOSSOM_TICKS = 6, FLOWER_BLOSSOM_FRAMES = 4;
constexpr int TICKS_PER_SECOND = 60;

// The sound of animation anim when it starts: the jump keeps its sound for mid-air.
static void playLionStart(int anim) {
    if (lionSfx[anim] >= 0 && anim != LION_JUMP)
        playSFX(lionSfx[anim]);
}

void setLionAnim(int anim) {
    if (anim < 0 || anim >= LION_ANIMS)
        return;
    anims.curLionAnim = anim;
    anims.curLionFrame = 0;
    anims.curLionLoop = lionAnims[anim].passes;
    playLionStart(anim);
}

// Called by the stage loop on every direction control and on an action that starts no pick.
void lionWakeUp() {
    anims.sleepTime = 0;
    if (anims.curLionAnim == LION_SLEEP)
        setLionAnim(LION_WAKE);
}

static void lionFrameStep() {
    const LionAnim &anim = lionAnims[anims.curLionAnim];
    anims.curLionFrame++;
    if (anims.curLionFrame == anim.frames) {
        anims.curLionLoop--;
        if (anims.curLionLoop >= 1) {
            anims.curLionFrame = anim.loopStart;
            // Asleep, he snores only on every fourth breath.
            if (!(anims.curLionAnim == LION_SLEEP && (anims.curLionLoop & 3) != 0))
                playLionStart(anims.curLionAnim);
        } else {
            setLionAnim(anim.next);
        }
    } else if (anims.curLionAnim == LION_JUMP && anims.curLionFrame == LION_JUMP_SOUND_FRAME) {
        playSFX(lionSfx[LION_JUMP]);
    }
}

// Called once per stage tick.
void doLionAnim() {
    anims.curLionCount--;
    if (anims.curLionCount > 0)
        return;
    lionFrameStep();
    anims.curLionCount = LION_FRAME_TICKS;
}

static void doTotem() {
    if (anims.curTotemWait != 0) {
        anims.curTotemWait--;
        if (anims.curTotemWait == 0) {
            anims.curTotemAnim = rand() % TOTEM_ANIMS;
            anims.curTotemLoop = (rand() & 3) + 1;
            anims.curTotemFrame = 0;
            anims.curTotemCount = TOTEM_FRAME_TICKS;
            playSFX(SFX_TOTEM_ANIM);
        }
        return;
    }
    anims.curTotemCount--;
    if (anims.curTotemCount > 0)
        return;
    anims.curTotemCount = TOTEM_FRAME_TICKS;
    anims.curTotemFrame++;
    if (anims.curTotemFrame < TOTEM_FRAMES)
        return;
    anims.curTotemFrame = 0;
    anims.curTotemLoop--;
    if (anims.curTotemLoop > 0)
        playSFX(SFX_TOTEM_ANIM);
    else
        anims.curTotemWait = TICKS_PER_SECOND * ((rand() & 7) + 5);
}

static void doSun() {
    anims.curSunCount--;
    if (anims.curSunCount > 0)
        return;
    anims.curSunCount = SUN_FRAME_TICKS;
    anims.curSunAnim = (anims.curSunAnim + 1) % SUN_FRAMES;
}

static void launchBird() {
    FlyingBird &b = anims.birdAnim;
    b.vertical = rand() & 1;
    bool forward = rand() & 1; // down, or to the right
    if (b.vertical) {
        b.dx = 0;
        b.y = forward ? BIRD_MIN_POS : SCREEN_HEIGHT - 1;
        b.dy = forward ? BIRD_SPEED : -BIRD_SPEED;
        b.frame = forward ? 1 : 0;
        b.x = (rand() & 255) + 32;
    } else {
        b.dy = 0;
        b.x = forward ? BIRD_MIN_POS : SCREEN_WIDTH - 1;
        b.dx = forward ? BIRD_SPEED : -BIRD_SPEED;
        b.frame = forward ? 1 : 0;
        b.y = (rand() % 208) + 8;
    }
    b.countdown = BIRD_STEP_TICKS;
    int r = rand();
    if (r & 4) {
        anims.birdDA = ((r & 7) - 3) * 2;
        anims.birdAngle = rand() % 512;
    } else {
        anims.birdDA = 0;
        anims.birdAngle = 0;
    }
    playSFX(SFX_BIRD_FLYING);
}

static bool inRange(int pos, int speed, int limit) { return speed > 0 ? pos < limit : pos >= BIRD_MIN_POS; }

// One step of the bird in flight; false when it has left the screen.
static bool birdStep() {
    FlyingBird &b = anims.birdAnim;
    anims.birdAngle = (anims.birdAngle + anims.birdDA) & 511;
    if (b.vertical) {
        b.y += b.dy;
        if (!inRange(b.y, b.dy, SCREEN_HEIGHT))
            return false;
        if (b.frame != 13) {
            b.frame = 13;
        } else {
            b.frame = 12;
            playSFX(SFX_BIRD_FLYING);
        }
        b.countdown = BIRD_VERTICAL_STEP_TICKS;
        return true;
    }
    b.x += b.dx;
    if (!inRange(b.x, b.dx, SCREEN_WIDTH))
        return false;
    b.frame += 5; // the wing cycle runs through the sheet's rows: 1, 6, 11 or 0, 5, 10
    if (b.frame > 14) {
        b.frame -= 15;
        playSFX(SFX_BIRD_FLYING);
    }
    b.countdown = BIRD_STEP_TICKS;
    return true;
}

static void doFlyingBird() {
    if (anims.birdAnimWait != 0) {
        anims.birdAnimWait--;
        if (anims.birdAnimWait == 0)
            launchBird();
        return;
    }
    anims.birdAnim.countdown--;
    if (anims.birdAnim.countdown > 0)
        return;
    if (!birdStep())
        anims.birdAnimWait = TICKS_PER_SECOND * ((rand() & 3) + 15);
}

static bool bottomCellEmpty(int slot) {
    if (slot < BOARD_COLUMNS)
        return puzzle.currentLevel[slot + BOARD_COLUMNS * (BOARD_ROWS - 1)] == 0;
    return puzzle.currentSource &&
           targetValue(puzzle.currentSource, slot - BOARD_COLUMNS, BOARD_ROWS - 1) == 0;
}

// One flower grows at a time, and only while nothing on the board moves.
static void doFlowers() {
    for (int i = 0; i < int(anims.animFlower.size()); i++) {
        Flower &f = anims.animFlower[i];
        if (f.isFree) {
            if (anims.flowerUp || queues.curMove || queues.curEject || queues.curTrans || (rand() & 7) != 0 ||
                !bottomCellEmpty(i))
                continue;
            f = Flower{0, (rand() % 10 + 2) * TICKS_PER_SECOND, (rand() % 128) + 32, 0, 1, 0};
            anims.flowerUp = 1;
            return;
        }
        f.countdown--;
        if (f.countdown > 0)
            continue;
        if (f.growing) {
            f.height++;
            if (f.height >= f.targetHeight) {
                f.growing = 0;
                playSFX(SFX_FLOWER_GROW);
            }
            f.countdown = FLOWER_GROW_TICKS;
        } else {
            if (f.blossom < FLOWER_BLOSSOM_FRAMES) {
                f.blossom++;
                if (f.blossom == FLOWER_BLOSSOM_FRAMES)
                    anims.flowerUp = 0;
            }
            f.countdown = FLOWER_BLOSSOM_TICKS;
        }
    }
}

static int randomPerchCountdown() { return (rand() & 15) + 16; }

static void doPerchedBirds() {
    for (PerchedBird &b : anims.waitingBirds) {
        if (!b.active)
            continue;
        b.countdown--;
        if (b.countdown > 0)
            continue;
        b.countdown = randomPerchCountdown();
        b.frame = b.frame + 5 <= 10 ? b.frame + 5 : b.frame - 5; // 2 <-> 7, 3 <-> 8
    }
}

// Called once per stage tick, after the mascot.
void doBgAnims() {
    doTotem();
    doSun();
    doFlyingBird();
    doFlowers();
    doPerchedBirds();
}

// Called by the level set-up at every stage start.
void resetDecorations() {
    anims.curLionAnim = LION_IDLE;
    anims.curLionFrame = 0;
    anims.curLionLoop = lionAnims[LION_IDLE].passes;
    anims.curLionCount = LION_FRAME_TICKS;
    anims.sleepTime = 0;

    anims.curTotemFrame = 0;
    anims.curTotemAnim = 0;
    anims.curTotemLoop = 1;
    anims.curTotemCount = TOTEM_FRAME_TICKS;
    anims.curTotemWait = ((rand() & 15) + 5) * TICKS_PER_SECOND;

    anims.curSunAnim = 0;
    anims.curSunCount = 1;

    anims.birdAnim = FlyingBird{};
    anims.birdAngle = anims.birdDA = 0;
    anims.birdAnimWait = ((rand() & 3) + 5) * TICKS_PER_SECOND;

    for (Flower &f : anims.animFlower)
        f = Flower{1, 0, 0, 0, 0, 0};
    anims.flowerUp = 0;

    for (int i = 0; i < int(anims.waitingBirds.size()); i++) {
        PerchedBird &b = anims.waitingBirds[i];
        b = PerchedBird{};
        b.active = rand() & 1;
        if (!b.active)
            continue;
        b.countdown = randomPerchCountdown();
        b.frame = (rand() & 1) + 2;
        b.x = 192 + 16 * i;
        b.y = i < 2 ? 36 : 34;
    }
}
