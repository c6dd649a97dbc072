// The file lists' right-button gesture as arithmetic: zones by threshold and
// place, the cursor and menu each zone gives, the menus' enabling, the names
// a rename accepts and the shell's list of paths.
#include <doctest/doctest.h>

#include <string>
#include <vector>

#include "directory/window/drag_gesture.h"

TEST_CASE("the gesture's zone: the threshold first, then where the pointer is")
{
    struct Row {
        const char* label;
        int dx, dy;
        bool overOwn, overPartner;
        DragZone zone;
    } rows[] = {
        { "no move", 0, 0, true, false, DragZone::NotMoved },
        { "within both thresholds", 3, -3, true, false, DragZone::NotMoved },
        { "within, even over the partner", -3, 3, false, true, DragZone::NotMoved },
        { "at the horizontal threshold", 4, 0, true, false, DragZone::OwnList },
        { "at the vertical threshold", 0, -4, true, false, DragZone::OwnList },
        { "beyond, over the partner", 120, 2, false, true, DragZone::Partner },
        { "beyond, over neither", 0, 300, false, false, DragZone::Elsewhere },
        { "own list wins where both would hold", 50, 0, true, true, DragZone::OwnList },
    };
    for (const Row& row : rows) {
        CAPTURE(row.label);
        CHECK(ZoneOf(row.dx, row.dy, 4, 4, row.overOwn, row.overPartner) == row.zone);
    }
}

TEST_CASE("each zone's cursor and the menu a release there opens")
{
    CHECK(CursorOf(DragZone::NotMoved, 3) == DragCursor::Arrow);
    CHECK(CursorOf(DragZone::Partner, 1) == DragCursor::OneFile);
    CHECK(CursorOf(DragZone::Partner, 2) == DragCursor::ManyFiles);
    CHECK(CursorOf(DragZone::Partner, 0) == DragCursor::ManyFiles);
    CHECK(CursorOf(DragZone::OwnList, 1) == DragCursor::NoDrop);
    CHECK(CursorOf(DragZone::Elsewhere, 1) == DragCursor::NoDrop);

    CHECK(MenuOf(DragZone::NotMoved) == GestureMenu::Context);
    CHECK(MenuOf(DragZone::Partner) == GestureMenu::Drop);
    CHECK(MenuOf(DragZone::OwnList) == GestureMenu::None);
    CHECK(MenuOf(DragZone::Elsewhere) == GestureMenu::None);
}

TEST_CASE("menu enabling: Compare needs one file facing a file, Rename one file")
{
    CHECK(ContextMenuEnabling(1, true).compare);
    CHECK(ContextMenuEnabling(1, true).rename);
    CHECK_FALSE(ContextMenuEnabling(1, false).compare);
    CHECK(ContextMenuEnabling(1, false).rename);
    CHECK_FALSE(ContextMenuEnabling(3, true).compare);
    CHECK_FALSE(ContextMenuEnabling(3, true).rename);

    CHECK(DropMenuEnabling(1, true).compare);
    CHECK_FALSE(DropMenuEnabling(1, false).compare);
    CHECK_FALSE(DropMenuEnabling(2, true).compare);
}

TEST_CASE("a new name stays in its directory")
{
    for (const char* good : { "notes.txt", "README", "a b.c.d", ".profile", "x." }) {
        CAPTURE(good);
        CHECK(IsPlainFileName(good));
    }
    for (const char* bad : { "", "sub\\notes.txt", "../notes.txt", "c:notes.txt", "notes.txt:stream", "/" }) {
        CAPTURE(bad);
        CHECK_FALSE(IsPlainFileName(bad));
    }
}

TEST_CASE("the shell's path list: each path ends in a NUL, the list in a second")
{
    std::string list = ShellPathList("c:\\work", { "a.txt", "B.Txt" });
    CHECK(list == std::string("c:\\work\\a.txt\0c:\\work\\B.Txt\0\0", 29));
    // A drive root held as "d:" and a directory that already ends in a backslash.
    CHECK(ShellPathList("d:", { "x" }) == std::string("d:\\x\0\0", 6));
    CHECK(ShellPathList("d:\\", { "x" }) == std::string("d:\\x\0\0", 6));
}
