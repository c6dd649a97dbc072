// DriveCombo: one side's drive chooser, an owner-drawn combo box without
// strings whose item data is the drive index (0 for A to 25 for Z).
#pragma once

#include "framework/combo_box.h"

constexpr int DIRECTORY_ITEM_HEIGHT = 16; // the height of the 16 x 16 images

// The image of bitmap 576 that stands for a drive of the given type.
int DriveImageIndex(unsigned driveType);

class DriveCombo : public CComboBox {
public:
    // Binds the combo control (owner-drawn fixed, without strings, unsorted).
    bool Bind(HWND combo);
    // One item for each drive whose type is neither unknown nor "no root directory".
    void Fill(const unsigned driveTypes[26]);
    // Selects the item of the drive; false when the drive has none.
    bool SelectDrive(int driveIndex);
    // The drive index of the selected item, -1 when none is selected.
    int SelectedDrive() const;

    void DrawItem(const DRAWITEMSTRUCT& draw);

protected:
    bool OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) override;

private:
    unsigned m_driveTypes[26] = {};
};
