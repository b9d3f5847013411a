// Menus of rows: the main menu, the pause menu and the options screen move their selection alike.
#pragma once

// The rows of a menu and the one selected. Rows not offered are skipped (every row is offered when
// offered is nullptr).
struct MenuList {
    int rows;
    const int *offered;
    int selection;
};

// The row step rows away from the selection (-1 up, +1 down), skipping rows not offered and wrapping
// at both ends.
int listStep(const MenuList &list, int step);
// The row a click on row selects: it, or the nearest offered row above it.
int listOffered(const MenuList &list, int row);

enum ListAction { LIST_NONE, LIST_MOVED, LIST_ACT };
// A click on row (outside 0 to rows - 1: on no row) selects it, or the nearest offered row above it;
// a click on the selected row acts on it, so that a mouse alone can choose.
ListAction listClick(MenuList &list, int row);
// The selection moves step rows (0: not at all).
ListAction listMove(MenuList &list, int step);
