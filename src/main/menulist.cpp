// Menus of rows: the main menu, the pause menu and the options screen move their selection alike.
#include "main/menulist.h"

static bool isOffered(const MenuList &list, int row) { return !list.offered || list.offered[row]; }

int listStep(const MenuList &list, int step) {
    int row = list.selection;
    do
        row = (row + step % list.rows + list.rows) % list.rows;
    while (!isOffered(list, row) && row != list.selection);
    return row;
}

int listOffered(const MenuList &list, int row) {
    while (row > 0 && !isOffered(list, row))
        row--;
    return row;
}

ListAction listClick(MenuList &list, int row) {
    if (row < 0 || row >= list.rows)
        return LIST_NONE;
    if (row == list.selection)
        return LIST_ACT;
    list.selection = listOffered(list, row);
    return LIST_MOVED;
}

ListAction listMove(MenuList &list, int step) {
    if (step == 0)
        return LIST_NONE;
    list.selection = listStep(list, step);
    return LIST_MOVED;
}
