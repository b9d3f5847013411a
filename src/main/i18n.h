// The interface text table: every text the game shows, by id, per language.
#pragma once

constexpr int TEXT_COUNT = 90;

// Ids of the texts more than one screen shows.
constexpr int TEXT_SCORE = 63;   // the score label of the stage screen and the game over screen
constexpr int TEXT_HIT_KEY = 88; // the prompt under a message that waits for a key

// Language blocks of TEXT_COUNT texts each; the game carries English only.
extern const char *const translation[][TEXT_COUNT];
extern unsigned lang_id; // always 0

const char *text(int id); // id 0 to 89 in the current language
