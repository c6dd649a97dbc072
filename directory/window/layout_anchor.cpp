#include "directory/window/layout_anchor.h"

#include "resources/directory_ids.h"

LayoutTable DirectoryWindowLayout()
{
    // Left column follows the left edge and the centre, the middle column the
    // centre, the right column the centre and the right edge; only the file
    // lists grow downwards.
    return { {
        { IDC_SOURCE_GROUP, 0, 0, 1, 0, {} },
        { IDC_SOURCE_DIRECTORY, 0, 0, 1, 0, {} },
        { IDC_SOURCE_DIRECTORY_LIST, 0, 0, 1, 0, {} },
        { IDC_SOURCE_DRIVE_LABEL, 0, 0, 0, 0, {} },
        { IDC_SOURCE_DRIVE, 1, 0, 1, 0, {} },
        { IDC_PATTERN_LABEL, 1, 0, 1, 0, {} },
        { IDC_PATTERN, 1, 0, 1, 0, {} },
        { IDC_FILE_TYPE_LABEL, 1, 0, 1, 0, {} },
        { IDC_FILE_TYPE, 1, 0, 1, 0, {} },
        { IDC_DIRECTORY_HELP, 1, 0, 1, 0, {} },
        { IDC_COPY_TO_SOURCE, 1, 0, 1, 0, {} },
        { IDC_COPY_TO_MASTER, 1, 0, 1, 0, {} },
        { IDC_MASTER_GROUP, 1, 0, 2, 0, {} },
        { IDC_MASTER_DIRECTORY, 1, 0, 2, 0, {} },
        { IDC_MASTER_DIRECTORY_LIST, 1, 0, 2, 0, {} },
        { IDC_MASTER_DRIVE_LABEL, 1, 0, 1, 0, {} },
        { IDC_MASTER_DRIVE, 2, 0, 2, 0, {} },
        { IDC_SOURCE_FILES, 0, 0, 1, 2, {} },
        { IDC_MASTER_FILES, 1, 0, 2, 2, {} },
        { IDC_SOURCE_FILES_LABEL, 0, 0, 1, 0, {} },
        { IDC_MASTER_FILES_LABEL, 1, 0, 2, 0, {} },
    } };
}

int AnchorPosition(int nearEdge, int farEdge, int anchor)
{
    switch (anchor) {
    case ANCHOR_CENTRE:
        return (nearEdge + farEdge) / 2;
    case ANCHOR_FAR:
        return farEdge;
    default:
        return nearEdge;
    }
}

void CaptureOffsets(LayoutAnchor& anchor, const LayoutRect& window, const LayoutRect& control)
{
    anchor.offsets[0] = control.left - AnchorPosition(window.left, window.right, anchor.left);
    anchor.offsets[1] = control.top - AnchorPosition(window.top, window.bottom, anchor.top);
    anchor.offsets[2] = control.right - AnchorPosition(window.left, window.right, anchor.right);
    anchor.offsets[3] = control.bottom - AnchorPosition(window.top, window.bottom, anchor.bottom);
}

LayoutRect PlaceControl(const LayoutAnchor& anchor, const LayoutRect& window)
{
    LayoutRect placed;
    placed.left = AnchorPosition(window.left, window.right, anchor.left) + anchor.offsets[0];
    placed.top = AnchorPosition(window.top, window.bottom, anchor.top) + anchor.offsets[1];
    placed.right = AnchorPosition(window.left, window.right, anchor.right) + anchor.offsets[2];
    placed.bottom = AnchorPosition(window.top, window.bottom, anchor.bottom) + anchor.offsets[3];
    return placed;
}
