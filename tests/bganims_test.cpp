// The mascot, totem, sun, birds and flowers of the stage screen.
#include "main/bganims.h"

#include "board_fixture.h"

class Decorations : public BoardFixture {
  protected:
    void SetUp() override {
        BoardFixture::SetUp();
        newStage(3);
    }
    void newStage(unsigned seed) {
        srand(seed);
        resetDecorations();
        sounds.clear();
    }
    // Runs the decorations while wait is non-zero; the ticks it took.
    static int ticksWhileWaiting(const int32_t &wait) {
        int ticks = 0;
        while (wait != 0) {
            doBgAnims();
            ticks++;
        }
        return ticks;
    }
};

TEST_F(Decorations, StageStartsWithTheMascotIdleAndNothingShowing) {
    EXPECT_EQ(anims.curLionAnim, 4);
    EXPECT_EQ(anims.curLionFrame, 0);
    EXPECT_EQ(anims.curLionLoop, 1);
    EXPECT_EQ(anims.curLionCount, 10);
    EXPECT_EQ(anims.sleepTime, 0);
    EXPECT_EQ(anims.curTotemCount, 12);
    EXPECT_EQ(anims.curSunCount, 1);
    EXPECT_EQ(anims.flowerUp, 0);
    for (const Flower &f : anims.animFlower)
        EXPECT_EQ(f.isFree, 1);
    for (int seed = 1; seed <= 100; seed++) {
        srand(seed);
        resetDecorations();
        for (int i = 0; i < 4; i++) {
            const PerchedBird &b = anims.waitingBirds[i];
            if (!b.active)
                continue;
            EXPECT_EQ(b.x, 192 + 16 * i);
            EXPECT_EQ(b.y, i < 2 ? 36 : 34);
            EXPECT_TRUE(b.frame == 2 || b.frame == 3);
            EXPECT_TRUE(b.countdown >= 16 && b.countdown <= 31);
        }
    }
    EXPECT_TRUE(sounds.empty());
}

TEST_F(Decorations, IdleRepeatsSilentlyAndBlinksReturnToIdle) {
    // The idle is long enough to breathe and look round: 16 frames of 10 ticks, then again.
    std::vector<int> frames;
    for (int i = 0; i < 300; i++) {
        doLionAnim();
        if (frames.empty() || frames.back() != anims.curLionFrame)
            frames.push_back(anims.curLionFrame);
    }
    std::vector<int> expected;
    for (int f = 0; f < 31; f++)
        expected.push_back(f % 16);
    EXPECT_EQ(frames, expected);
    EXPECT_EQ(anims.curLionAnim, 4);
    EXPECT_TRUE(sounds.empty());

    setLionAnim(2);
    EXPECT_EQ(sounds, std::vector<int>{SFX_KAVRIN_EYELONG});
    for (int i = 0; i < 6 * 10; i++)
        doLionAnim();
    EXPECT_EQ(anims.curLionAnim, 4);
    EXPECT_EQ(sounds.size(), 1u);
}

TEST_F(Decorations, SleepDozesOffBreathesFor127PassesSnoringOn31ThenWakes) {
    setLionAnim(5);
    EXPECT_EQ(sounds, std::vector<int>{SFX_KAVRIN_SLEEP});
    anims.curLionCount = 1; // step at once
    std::vector<int> frames{anims.curLionFrame};
    while (anims.curLionAnim == 5) {
        doLionAnim();
        if (anims.curLionAnim == 5)
            frames.push_back(anims.curLionFrame);
        for (int i = 0; i < 9; i++)
            doLionAnim();
    }
    std::vector<int> expected = {0, 1, 2, 3, 4, 5};
    for (int pass = 0; pass < 127; pass++) {
        expected.push_back(4);
        expected.push_back(5);
    }
    EXPECT_EQ(frames, expected);
    EXPECT_EQ(count(SFX_KAVRIN_SLEEP), 1 + 31);
    EXPECT_EQ(anims.curLionAnim, 0);
    EXPECT_EQ(sounds.back(), SFX_KAVRIN_EYESSHORT);
}

TEST_F(Decorations, WakingUpOnlyWhenAsleep) {
    anims.sleepTime = 500;
    setLionAnim(1);
    sounds.clear();
    lionWakeUp(); // awake: the blink goes on
    EXPECT_EQ(anims.sleepTime, 0);
    EXPECT_EQ(anims.curLionAnim, 1);
    EXPECT_TRUE(sounds.empty());

    setLionAnim(5);
    anims.sleepTime = 1000;
    sounds.clear();
    lionWakeUp();
    EXPECT_EQ(anims.curLionAnim, 0);
    EXPECT_EQ(anims.curLionFrame, 0);
    EXPECT_EQ(anims.sleepTime, 0);
    EXPECT_EQ(sounds, std::vector<int>{SFX_KAVRIN_EYESSHORT});
}

TEST_F(Decorations, JumpSoundsTwiceInTheAirNeverAtItsStart) {
    setLionAnim(3);
    EXPECT_TRUE(sounds.empty());
    EXPECT_EQ(anims.curLionLoop, 2);
    int ticks = 0;
    while (anims.curLionAnim == 3) {
        doLionAnim();
        ticks++;
    }
    EXPECT_EQ(ticks, 10 * 14);
    EXPECT_EQ(sounds, (std::vector<int>{SFX_KAVRIN_JUMP, SFX_KAVRIN_JUMP, SFX_KAVRIN_EYESSHORT}));
}

TEST_F(Decorations, TotemHidesFiveToTwentySecondsThenShowsOneToFourPasses) {
    int firstMin = 1 << 30, firstMax = 0;
    for (int seed = 1; seed <= 300; seed++) {
        newStage(seed);
        int ticks = ticksWhileWaiting(anims.curTotemWait);
        firstMin = std::min(firstMin, ticks);
        firstMax = std::max(firstMax, ticks);
        EXPECT_EQ(count(SFX_TOTEM_ANIM), 1);
        EXPECT_TRUE(anims.curTotemAnim >= 0 && anims.curTotemAnim <= 4);
        int passes = anims.curTotemLoop;
        EXPECT_TRUE(passes >= 1 && passes <= 4);
        int shown = 0;
        while (anims.curTotemWait == 0) {
            doBgAnims();
            shown++;
        }
        EXPECT_EQ(shown, passes * 3 * 12);
        EXPECT_EQ(count(SFX_TOTEM_ANIM), passes);
        EXPECT_TRUE(anims.curTotemWait >= 300 && anims.curTotemWait <= 720) << anims.curTotemWait;
    }
    EXPECT_EQ(firstMin, 300);
    EXPECT_EQ(firstMax, 1200);
}

TEST_F(Decorations, SunCyclesEverySixteenTicks) {
    std::vector<int> frames;
    for (int i = 0; i < 64; i++) {
        doBgAnims();
        frames.push_back(anims.curSunAnim);
    }
    EXPECT_EQ(frames[0], 1);
    EXPECT_EQ(frames[15], 1);
    EXPECT_EQ(frames[16], 2);
    EXPECT_EQ(frames[32], 0);
    EXPECT_EQ(frames[48], 1);
}

TEST_F(Decorations, FirstBirdFlightFiveToEightSecondsAfterTheStart) {
    int lowest = 1 << 30, highest = 0;
    for (int seed = 1; seed <= 300; seed++) {
        newStage(seed);
        int ticks = ticksWhileWaiting(anims.birdAnimWait);
        lowest = std::min(lowest, ticks);
        highest = std::max(highest, ticks);
        EXPECT_EQ(count(SFX_BIRD_FLYING), 1);
        const FlyingBird &b = anims.birdAnim;
        if (b.vertical) {
            EXPECT_EQ(b.dx, 0);
            EXPECT_TRUE((b.y == -15 && b.dy == 4 && b.frame == 1) ||
                        (b.y == 239 && b.dy == -4 && b.frame == 0));
            EXPECT_TRUE(b.x >= 32 && b.x <= 287);
        } else {
            EXPECT_EQ(b.dy, 0);
            EXPECT_TRUE((b.x == -15 && b.dx == 4 && b.frame == 1) ||
                        (b.x == 319 && b.dx == -4 && b.frame == 0));
            EXPECT_TRUE(b.y >= 8 && b.y <= 215);
        }
        EXPECT_TRUE(anims.birdDA == 0 || anims.birdDA == 2 || anims.birdDA == 4 || anims.birdDA == 6 ||
                    anims.birdDA == 8)
            << anims.birdDA;
    }
    EXPECT_EQ(lowest, 300);
    EXPECT_EQ(highest, 480);
}

TEST_F(Decorations, BirdFromTheRightCrossesUntilPastMinusFifteen) {
    anims.birdAnimWait = 0;
    anims.birdAnim = FlyingBird{319, 100, -4, 0, 0, 6, 0};
    anims.birdDA = 0;
    std::vector<int> xs, frames;
    int ticks = 0;
    while (anims.birdAnimWait == 0) {
        int x = anims.birdAnim.x;
        doBgAnims();
        ticks++;
        if (anims.birdAnimWait == 0 && anims.birdAnim.x != x) {
            xs.push_back(anims.birdAnim.x);
            frames.push_back(anims.birdAnim.frame);
        }
    }
    ASSERT_FALSE(xs.empty());
    EXPECT_EQ(xs.front(), 315);
    EXPECT_EQ(xs.back(), -13); // the next step, -17, ends the flight
    EXPECT_EQ(ticks, 6 * int(xs.size() + 1));
    EXPECT_EQ(std::vector<int>(frames.begin(), frames.begin() + 4), (std::vector<int>{5, 10, 0, 5}));
    EXPECT_EQ(count(SFX_BIRD_FLYING), int(xs.size()) / 3); // once per wing cycle
    EXPECT_TRUE(anims.birdAnimWait >= 900 && anims.birdAnimWait <= 1080);
}

TEST_F(Decorations, VerticalBirdFlapsEveryTwelveTicks) {
    anims.birdAnimWait = 0;
    anims.birdAnim = FlyingBird{100, -15, 0, 4, 1, 6, 1};
    std::vector<int> frames;
    int ticks = 0;
    while (anims.birdAnimWait == 0) {
        int y = anims.birdAnim.y;
        doBgAnims();
        ticks++;
        if (anims.birdAnimWait == 0 && anims.birdAnim.y != y)
            frames.push_back(anims.birdAnim.frame);
    }
    EXPECT_EQ(frames.size(), size_t((239 + 15) / 4)); // -11 .. 237, then 241 leaves
    EXPECT_EQ(std::vector<int>(frames.begin(), frames.begin() + 3), (std::vector<int>{13, 12, 13}));
    EXPECT_EQ(ticks, 6 + 12 * int(frames.size()));
}

TEST_F(Decorations, PerchedBirdsShuffleTheirFeet) {
    anims.waitingBirds[0] = PerchedBird{192, 36, 3, 2, 1};
    anims.waitingBirds[1] = PerchedBird{208, 36, 1, 8, 1};
    anims.waitingBirds[2] = PerchedBird{224, 34, 1, 2, 0};
    doBgAnims();
    EXPECT_EQ(anims.waitingBirds[0].frame, 2);
    EXPECT_EQ(anims.waitingBirds[1].frame, 3);
    EXPECT_TRUE(anims.waitingBirds[1].countdown >= 16 && anims.waitingBirds[1].countdown <= 31);
    EXPECT_EQ(anims.waitingBirds[2].frame, 2); // inactive
    doBgAnims();
    doBgAnims();
    EXPECT_EQ(anims.waitingBirds[0].frame, 7);
}

TEST_F(Decorations, FlowersSproutOnlyInEmptyColumnsOneAtATimeAndNeverWhilePiecesMove) {
    // Board: every bottom cell full but column 3's. Target: every bottom cell full but column 6's.
    for (int c = 0; c < 8; c++) {
        puzzle.currentLevel[c + 72] = c == 3 ? 0 : 2;
        record[16 * 9 + 8 + c] = c == 6 ? 0 : 1;
    }
    int32_t *busy[] = {&queues.curMove, &queues.curEject, &queues.curTrans};
    for (int32_t *queue : busy) {
        *queue = 1;
        for (int i = 0; i < 3000; i++)
            doBgAnims();
        EXPECT_EQ(anims.flowerUp, 0);
        *queue = 0;
    }
    for (const Flower &f : anims.animFlower)
        EXPECT_EQ(f.isFree, 1);

    std::vector<int> sprouted;
    for (int i = 0; i < 20000; i++) {
        doBgAnims();
        int growing = 0;
        for (int slot = 0; slot < 16; slot++) {
            const Flower &f = anims.animFlower[slot];
            if (f.isFree)
                continue;
            if (std::find(sprouted.begin(), sprouted.end(), slot) == sprouted.end()) {
                sprouted.push_back(slot);
                EXPECT_TRUE(f.targetHeight >= 32 && f.targetHeight <= 159);
                EXPECT_TRUE(f.countdown >= 120 && f.countdown <= 660);
            }
            if (f.blossom < 4)
                growing++;
        }
        EXPECT_LE(growing, 1);
        EXPECT_EQ(anims.flowerUp, growing);
    }
    std::sort(sprouted.begin(), sprouted.end());
    EXPECT_EQ(sprouted, (std::vector<int>{3, 8 + 6}));
    for (int slot : sprouted) {
        EXPECT_EQ(anims.animFlower[slot].height, anims.animFlower[slot].targetHeight);
        EXPECT_EQ(anims.animFlower[slot].blossom, 4);
    }
    EXPECT_EQ(count(SFX_FLOWER_GROW), 2);

    // A fruit landing over a flower does not remove it.
    puzzle.currentLevel[3 + 72] = 4;
    doBgAnims();
    EXPECT_EQ(anims.animFlower[3].isFree, 0);
}
