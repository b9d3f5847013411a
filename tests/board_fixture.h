// A fixture for the rules and the decorations: an empty board with an all-zero level record, empty
// queues, and every sound effect asked for recorded in order.
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

class BoardFixture : public ::testing::Test {
  protected:
    std::array<uint8_t, LEVEL_RECORD_SIZE> record{};
    std::vector<int> &sounds = recordedSounds();

    void SetUp() override {
        currentLevel.fill(0);
        currentSource = record.data();
        currentCount = 0;
        clearQueues();
        sounds.clear();
        sfxListener = [](int index) { recordedSounds().push_back(index); };
        srand(1);
    }
    void TearDown() override { sfxListener = nullptr; }

    int count(int sound) const { return int(std::count(sounds.begin(), sounds.end(), sound)); }
};
