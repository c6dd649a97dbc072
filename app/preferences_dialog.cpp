#include "preferences_dialog.h"

#include "app/file_type_dialog.h"
#include "common/help.h"
#include "resources/resource.h"

namespace {

const int WHITE_SPACE_BUTTONS[] = { IDC_PREFS_WHITE_SPACE_ENDS, IDC_PREFS_WHITE_SPACE_EVERYWHERE,
                                    IDC_PREFS_WHITE_SPACE_ALL };
const int HOW_COMPARE_BUTTONS[] = { IDC_PREFS_COMPARE_TIMESTAMPS, IDC_PREFS_COMPARE_CONTENTS };
constexpr int WHITE_SPACE_COUNT = sizeof WHITE_SPACE_BUTTONS / sizeof WHITE_SPACE_BUTTONS[0];
constexpr int HOW_COMPARE_COUNT = sizeof HOW_COMPARE_BUTTONS / sizeof HOW_COMPARE_BUTTONS[0];

} // namespace

std::vector<FileTypeFilter> PreferenceValues::Filters() const
{
    std::vector<FileTypeFilter> filters;
    for (size_t i = 0; i < descriptions.size() && i < patternLists.size(); ++i)
        filters.push_back({ descriptions[i], patternLists[i] });
    return filters;
}

void PreferenceValues::SetFilters(const std::vector<FileTypeFilter>& filters)
{
    descriptions.clear();
    patternLists.clear();
    for (const FileTypeFilter& filter : filters) {
        descriptions.push_back(filter.description);
        patternLists.push_back(filter.patternList);
    }
}

BEGIN_MESSAGE_MAP(PreferencesDialog, CDialog)
ON_COMMAND(IDC_PREFS_FILE_TYPE_NEW, OnNewFileType)
ON_COMMAND(IDC_PREFS_FILE_TYPE_EDIT, OnEditFileType)
ON_CONTROL(LBN_DBLCLK, IDC_PREFS_FILE_TYPES, OnEditFileType)
ON_COMMAND(IDC_PREFS_FILE_TYPE_DELETE, OnDeleteFileType)
ON_COMMAND(IDC_HELP_BUTTON, OnHelp)
ON_CONTROL(STN_DBLCLK, IDC_PREFS_SOURCE_SWATCH, OnSourceSwatchDoubleClick)
ON_CONTROL(STN_DBLCLK, IDC_PREFS_MASTER_SWATCH, OnMasterSwatchDoubleClick)
END_MESSAGE_MAP()

PreferencesDialog::PreferencesDialog(CWnd* owner) : CDialog(IDD_PREFERENCES, owner) {}

std::string PreferencesDialog::FileTypeLine(const std::string& patternList, const std::string& description)
{
    return patternList + "\t" + description;
}

BOOL PreferencesDialog::OnInitDialog()
{
    // A value outside a group's range ticks no button of it.
    CheckGroup(WHITE_SPACE_BUTTONS, WHITE_SPACE_COUNT, values.whiteSpace);
    CheckGroup(HOW_COMPARE_BUTTONS, HOW_COMPARE_COUNT, values.howCompare);
    ::CheckDlgButton(m_hWnd, IDC_PREFS_MONITOR_CHANGES, values.monitorChanges ? BST_CHECKED : BST_UNCHECKED);
    ::CheckDlgButton(m_hWnd, IDC_PREFS_PRESERVE_HOW_COMPARE,
                     values.preserveHowCompare ? BST_CHECKED : BST_UNCHECKED);
    ::EnableWindow(GetDlgItem(IDC_PREFS_MONITOR_CHANGES), monitoringAvailable);
    CenterWindow();

    fileTypeList.SubclassDlgItem(IDC_PREFS_FILE_TYPES, this);
    // In dialog template units, so descriptions line up after short pattern lists.
    INT tabStops[] = { 80, 90, 100, 110 };
    fileTypeList.SendMessage(LB_SETTABSTOPS, sizeof tabStops / sizeof tabStops[0], reinterpret_cast<LPARAM>(tabStops));
    for (size_t i = 0; i < values.descriptions.size(); ++i)
        fileTypeList.AddString(FileTypeLine(values.patternLists[i], values.descriptions[i]).c_str());
    fileTypeList.SetCurSel(0);

    sourceSwatch.SubclassDlgItem(IDC_PREFS_SOURCE_SWATCH, this);
    masterSwatch.SubclassDlgItem(IDC_PREFS_MASTER_SWATCH, this);
    sourceSwatch.SetColour(values.sourceColour);
    masterSwatch.SetColour(values.masterColour);
    return TRUE;
}

void PreferencesDialog::OnOK()
{
    // A group with no button ticked (a stored value outside its range that
    // the user left alone) keeps the value it had rather than becoming -1.
    int whiteSpace = CheckedIndex(WHITE_SPACE_BUTTONS, WHITE_SPACE_COUNT);
    if (whiteSpace >= 0)
        values.whiteSpace = whiteSpace;
    int howCompare = CheckedIndex(HOW_COMPARE_BUTTONS, HOW_COMPARE_COUNT);
    if (howCompare >= 0)
        values.howCompare = howCompare;
    values.monitorChanges = IsChecked(IDC_PREFS_MONITOR_CHANGES) ? 1 : 0;
    values.preserveHowCompare = IsChecked(IDC_PREFS_PRESERVE_HOW_COMPARE) ? 1 : 0;
    EndDialog(IDOK);
}

// "New...": a filter typed into an empty File Type Filter dialog goes to the end.
void PreferencesDialog::OnNewFileType()
{
    FileTypeDialog dialog(this);
    if (dialog.DoModal() != IDOK)
        return;
    values.patternLists.push_back(dialog.patternList);
    values.descriptions.push_back(dialog.description);
    int line = fileTypeList.AddString(FileTypeLine(dialog.patternList, dialog.description).c_str());
    fileTypeList.SetCurSel(line);
}

// "Edit..." or a double-click on a line: the selected filter, edited in place.
void PreferencesDialog::OnEditFileType()
{
    int line = fileTypeList.GetCurSel();
    if (line < 0 || static_cast<size_t>(line) >= values.descriptions.size())
        return;
    const size_t index = static_cast<size_t>(line);
    FileTypeDialog dialog(this);
    dialog.patternList = values.patternLists[index];
    dialog.description = values.descriptions[index];
    if (dialog.DoModal() != IDOK)
        return;
    values.patternLists[index] = dialog.patternList;
    values.descriptions[index] = dialog.description;
    fileTypeList.SendMessage(LB_DELETESTRING, index);
    fileTypeList.SendMessage(LB_INSERTSTRING, index,
                             reinterpret_cast<LPARAM>(FileTypeLine(dialog.patternList, dialog.description).c_str()));
}

// "Delete": the selected filter goes without a question; the first line is selected.
void PreferencesDialog::OnDeleteFileType()
{
    int line = fileTypeList.GetCurSel();
    if (line < 0 || static_cast<size_t>(line) >= values.descriptions.size())
        return;
    const size_t index = static_cast<size_t>(line);
    values.patternLists.erase(values.patternLists.begin() + static_cast<std::ptrdiff_t>(index));
    values.descriptions.erase(values.descriptions.begin() + static_cast<std::ptrdiff_t>(index));
    fileTypeList.SendMessage(LB_DELETESTRING, index);
    fileTypeList.SetCurSel(0);
}

// Double-click on the Source swatch: the colour dialog on its colour.
void PreferencesDialog::OnSourceSwatchDoubleClick()
{
    if (sourceSwatch.ChooseColour(m_hWnd))
        values.sourceColour = sourceSwatch.colour;
}

// Double-click on the Master swatch: the colour dialog on its colour.
void PreferencesDialog::OnMasterSwatchDoubleClick()
{
    if (masterSwatch.ChooseColour(m_hWnd))
        values.masterColour = masterSwatch.colour;
}

// Help: the Preferences topic.
void PreferencesDialog::OnHelp()
{
    ShowHelpTopic(HELP_TOPIC_PREFERENCES);
}

void PreferencesDialog::CheckGroup(const int* ids, int count, int selected)
{
    for (int i = 0; i < count; ++i)
        ::CheckDlgButton(m_hWnd, ids[i], i == selected ? BST_CHECKED : BST_UNCHECKED);
}

int PreferencesDialog::CheckedIndex(const int* ids, int count) const
{
    for (int i = 0; i < count; ++i)
        if (IsChecked(ids[i]))
            return i;
    return -1;
}

bool PreferencesDialog::IsChecked(int id) const
{
    return ::IsDlgButtonChecked(m_hWnd, id) == BST_CHECKED;
}
