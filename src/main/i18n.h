// The interface text table: every text the game shows, by id, per language.
#pragma once

constexpr int TEXT_COUNT = 90;

extern unsigned lang_id;

const char *text(int id);  // id 0 to 89 in the current language
