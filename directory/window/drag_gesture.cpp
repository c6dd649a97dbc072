#include "directory/window/drag_gesture.h"

#include <cstdlib>

DragZone ZoneOf(int dx, int dy, int thresholdX, int thresholdY, bool overOwnList, bool overPartner)
{
    if (std::abs(dx) < thresholdX && std::abs(dy) < thresholdY)
        return DragZone::NotMoved;
    if (overOwnList)
        return DragZone::OwnList;
    if (overPartner)
        return DragZone::Partner;
    return DragZone::Elsewhere;
}

DragCursor CursorOf(DragZone zone, std::size_t fileCount)
{
    switch (zone) {
    case DragZone::NotMoved:
        return DragCursor::Arrow;
    case DragZone::Partner:
        return fileCount == 1 ? DragCursor::OneFile : DragCursor::ManyFiles;
    default:
        return DragCursor::NoDrop;
    }
}

GestureMenu MenuOf(DragZone zone)
{
    if (zone == DragZone::NotMoved)
        return GestureMenu::Context;
    if (zone == DragZone::Partner)
        return GestureMenu::Drop;
    return GestureMenu::None;
}

MenuEnabling ContextMenuEnabling(std::size_t fileCount, bool partnerRowHasFile)
{
    MenuEnabling enabling;
    enabling.compare = fileCount == 1 && partnerRowHasFile;
    enabling.rename = fileCount == 1;
    return enabling;
}

MenuEnabling DropMenuEnabling(std::size_t fileCount, bool targetRowHasFile)
{
    MenuEnabling enabling;
    enabling.compare = fileCount == 1 && targetRowHasFile;
    return enabling;
}

bool IsPlainFileName(const std::string& name)
{
    return !name.empty() && name.find_first_of("\\/:") == std::string::npos;
}

std::string ShellPathList(const std::string& directory, const std::vector<std::string>& names)
{
    std::string list;
    bool separated = !directory.empty() && (directory.back() == '\\' || directory.back() == '/');
    for (const std::string& name : names) {
        list += directory;
        if (!separated)
            list += '\\';
        list += name;
        list += '\0';
    }
    list += '\0';
    return list;
}
