#include "directory/chooser/drive_combo.h"

#include <algorithm>

#include "common/shared_resources.h"
#include "directory/chooser/transparent_image.h"

namespace {

constexpr int IMAGE_REMOVABLE = 3;
constexpr int IMAGE_FIXED = 4;
constexpr int IMAGE_CDROM = 5;
constexpr int IMAGE_REMOTE = 6;
constexpr int TEXT_OFFSET = 20;

} // namespace

int DriveImageIndex(unsigned driveType)
{
    switch (driveType) {
    case DRIVE_REMOVABLE:
        return IMAGE_REMOVABLE;
    case DRIVE_CDROM:
        return IMAGE_CDROM;
    case DRIVE_REMOTE:
        return IMAGE_REMOTE;
    default:
        return IMAGE_FIXED;
    }
}

bool DriveCombo::Bind(HWND combo)
{
    if (!SubclassWindow(combo))
        return false;
    // The control measured its items while it was created, before it was bound.
    SetItemHeight(-1, DIRECTORY_ITEM_HEIGHT);
    SetItemHeight(0, DIRECTORY_ITEM_HEIGHT);
    return true;
}

void DriveCombo::Fill(const unsigned driveTypes[26])
{
    std::copy(driveTypes, driveTypes + 26, m_driveTypes);
    ResetContent();
    for (int drive = 0; drive < 26; ++drive) {
        if (driveTypes[drive] > DRIVE_NO_ROOT_DIR)
            AddString(drive);
    }
}

bool DriveCombo::SelectDrive(int driveIndex)
{
    return SelectString(-1, driveIndex) != CB_ERR;
}

int DriveCombo::SelectedDrive() const
{
    int selected = GetCurSel();
    return selected == CB_ERR ? -1 : static_cast<int>(GetItemData(selected));
}

bool DriveCombo::OnChildNotify(UINT message, WPARAM, LPARAM lParam, LRESULT* result)
{
    if (message == WM_MEASUREITEM) {
        reinterpret_cast<MEASUREITEMSTRUCT*>(lParam)->itemHeight = DIRECTORY_ITEM_HEIGHT;
        *result = TRUE;
        return true;
    }
    if (message == WM_DRAWITEM) {
        DrawItem(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
        *result = TRUE;
        return true;
    }
    return false;
}

void DriveCombo::DrawItem(const DRAWITEMSTRUCT& draw)
{
    HDC dc = draw.hDC;
    RECT rect = draw.rcItem;
    if (draw.itemAction & ODA_FOCUS) {
        ::DrawFocusRect(dc, &rect);
        return;
    }
    if (draw.itemID == static_cast<UINT>(-1))
        return;
    bool selected = (draw.itemState & ODS_SELECTED) != 0;
    COLORREF oldBack = ::GetBkColor(dc);
    COLORREF oldText = ::GetTextColor(dc);
    if (selected) {
        ::SetBkColor(dc, ::GetSysColor(COLOR_HIGHLIGHT));
        ::SetTextColor(dc, ::GetSysColor(COLOR_HIGHLIGHTTEXT));
    }
    ::ExtTextOutW(dc, 0, 0, ETO_OPAQUE, &rect, nullptr, 0, nullptr);

    int drive = static_cast<int>(draw.itemData);
    if (drive >= 0 && drive < 26) {
        unsigned type = m_driveTypes[drive];
        DrawTransparentImage(dc, rect.left, rect.top, g_statusBitmap, 16 * DriveImageIndex(type));
        // At the item's top, as the file lists draw their rows.
        const wchar_t text[3] = { static_cast<wchar_t>(L'a' + drive), L':', L'\0' };
        ::ExtTextOutW(dc, rect.left + TEXT_OFFSET, rect.top, ETO_CLIPPED, &rect, text, 2, nullptr);
    }
    ::SetBkColor(dc, oldBack);
    ::SetTextColor(dc, oldText);
}
