// Checks of a level file: every stored solution replayed through the game's rules.
#pragma once

#include <string>
#include <vector>

#include "stagefile.h"

// What is wrong with one stage (boards, picks, its solution replayed under several seeds); empty when
// nothing is.
std::string stageFailure(const Stage &stage);

// Every failure found in the level file at path, one message naming the stage per line; empty
// when the file is sound.
std::vector<std::string> verifyLevelFile(const std::string &path);
