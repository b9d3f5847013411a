// A fixture for the rules and the decorations: an empty board with an all-zero level record, empty
// queues, no points scored, and every sound effect asked for recorded in order.
#pragma once

#include "main/level.h"
#include "main/rules.h"
#include "sound/sound.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

inline std::vector<int> &recordedSounds() {
    static std::vector<int> sounds;
    return sounds;
}

// The points the morphs scored since the fixture's set-up, as the stage adds them to the score.
inline int &scoredPoints() {
    static int points;
    return points;
}

// One tick of the morphs, its points counted.
inline RuleEvents trans() {
    RuleEvents events = doTrans();
    scoredPoints() += events.points;
    return events;
}

// The stage loop's board work, with the flying pieces moving alongside, until nothing morphs, falls
// or flies, or limit ticks have passed; afterTick, if given, checks the state after every tick.
inline int runToIdle(int limit = 10000, void (*afterTick)() = nullptr) {
    int ticks = 0;
    while ((queues.curTrans || queues.curMove || queues.curEject) && ticks < limit) {
        if (queues.curTrans)
            trans();
        else if (queues.curMove)
            doMove();
        if (queues.curEject)
            doEject();
        if (afterTick)
            afterTick();
        ticks++;
    }
    return ticks;
}

class BoardFixture : public ::testing::Test {
  protected:
    std::array<uint8_t, LEVEL_RECORD_SIZE> record{};
    std::vector<int> &sounds = recordedSounds();

    void SetUp() override {
        puzzle.currentLevel.fill(0);
        puzzle.currentSource = record.data();
        puzzle.currentCount = 0;
        clearQueues();
        scoredPoints() = 0;
        sounds.clear();
        sfxListener = [](int index) { recordedSounds().push_back(index); };
        srand(1);
    }
    void TearDown() override { sfxListener = nullptr; }

    int count(int sound) const { return int(std::count(sounds.begin(), sounds.end(), sound)); }
};
