// The interface text table: every text the game shows, by id, per language.
#pragma once

constexpr int TEXT_COUNT = 90;

// Language blocks of TEXT_COUNT texts each; the game carries English only.
extern const char *const translation[][TEXT_COUNT];
extern unsigned lang_id; // always 0

const char *text(int id); // id 0 to 89 in the current language
