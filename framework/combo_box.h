// CComboBox: a combo box control; only what the program sends.
#pragma once

#include "wnd.h"

class CComboBox : public CWnd {
public:
    int GetCount() const { return static_cast<int>(SendMessage(CB_GETCOUNT)); }
    int GetCurSel() const { return static_cast<int>(SendMessage(CB_GETCURSEL)); }
    int SetCurSel(int index) { return static_cast<int>(SendMessage(CB_SETCURSEL, static_cast<WPARAM>(index))); }
    void ResetContent() { SendMessage(CB_RESETCONTENT); }
    // Without CBS_HASSTRINGS the "string" is the item's data.
    int AddString(LPARAM textOrData) { return static_cast<int>(SendMessage(CB_ADDSTRING, 0, textOrData)); }
    // Without CBS_HASSTRINGS (and unsorted) the search matches item data.
    int SelectString(int startAfter, LPARAM textOrData)
    {
        return static_cast<int>(SendMessage(CB_SELECTSTRING, static_cast<WPARAM>(startAfter), textOrData));
    }
    LPARAM GetItemData(int index) const { return SendMessage(CB_GETITEMDATA, static_cast<WPARAM>(index)); }
    int SetItemHeight(int index, UINT height)
    {
        return static_cast<int>(SendMessage(CB_SETITEMHEIGHT, static_cast<WPARAM>(index), height));
    }
};
