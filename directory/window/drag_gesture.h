// The right-button gesture of the file lists and the rules of their menus, as
// plain arithmetic over points and counts. Portable.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

// Where the pointer is, seen from the list the gesture started in.
enum class DragZone {
    NotMoved = 0,  // still within the drag threshold of the start point
    OwnList = 1,   // over the list the gesture started in
    Partner = 2,   // over the other side's list
    Elsewhere = 3, // anywhere else
};

// The zone of a point: dx, dy from the start point; threshold cx, cy.
DragZone ZoneOf(int dx, int dy, int thresholdX, int thresholdY, bool overOwnList, bool overPartner);

enum class DragCursor { Arrow, OneFile, ManyFiles, NoDrop };

// Zone 0 the arrow; over the partner one file or several (or none); else no-drop.
DragCursor CursorOf(DragZone zone, std::size_t fileCount);

// The menu that a released gesture opens, if any.
enum class GestureMenu { None, Context, Drop };
GestureMenu MenuOf(DragZone zone);

struct MenuEnabling {
    bool compare = false;
    bool rename = false;
};

// The "Context" menu: Compare for one file facing a file, Rename for one file.
MenuEnabling ContextMenuEnabling(std::size_t fileCount, bool partnerRowHasFile);
// The "Drop" menu: Compare for one file dropped on a row that holds a file.
MenuEnabling DropMenuEnabling(std::size_t fileCount, bool targetRowHasFile);

// A new name typed in place must name a file in the same directory: no
// directory separators, no drive or stream colon, not empty.
bool IsPlainFileName(const std::string& name);

// The shell's list of paths: each directory + "\\" + name followed by a NUL,
// the whole list ended by a second NUL.
std::string ShellPathList(const std::string& directory, const std::vector<std::string>& names);
