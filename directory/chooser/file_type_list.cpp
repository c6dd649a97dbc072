#include "directory/chooser/file_type_list.h"

#include "common/settings_names.h"
#include "framework/message_box.h"
#include "framework/win_app.h"
#include "resources/resource.h"

FileTypeList::RememberedChoice FileTypeList::Load(CWinApp& app, HWND combo)
{
    CString text = app.GetProfileString(SECTION_PREFERENCES, "FileTypes", "");
    if (text.empty())
        text = AfxLoadString(IDS_DEFAULT_FILE_TYPES);
    RememberedChoice choice;
    choice.patternText = app.GetProfileString(SECTION_POSITION, "FileExtensions", "");
    int index = static_cast<int>(app.GetProfileInt(SECTION_POSITION, "FileType", 0));

    Fill(text, combo);
    if (index >= 0 && static_cast<size_t>(index) < Count()) {
        ::SendMessageA(combo, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
        choice.selectedIndex = index;
    } else {
        ::SendMessageA(combo, CB_SETCURSEL, static_cast<WPARAM>(-1), 0);
    }
    return choice;
}

void FileTypeList::Fill(const std::string& text, HWND combo)
{
    SetFilters(ParseFileTypes(text));
    ::SendMessageA(combo, CB_RESETCONTENT, 0, 0);
    for (const std::string& description : descriptions)
        ::SendMessageA(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(description.c_str()));
}

std::vector<FileTypeFilter> FileTypeList::Filters() const
{
    std::vector<FileTypeFilter> filters;
    for (size_t i = 0; i < descriptions.size(); ++i)
        filters.push_back({ descriptions[i], patternLists[i] });
    return filters;
}

void FileTypeList::SetFilters(const std::vector<FileTypeFilter>& filters)
{
    descriptions.clear();
    patternLists.clear();
    for (const FileTypeFilter& filter : filters) {
        descriptions.push_back(filter.description);
        patternLists.push_back(filter.patternList);
    }
}
