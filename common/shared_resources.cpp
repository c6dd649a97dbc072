#include "shared_resources.h"

#include "framework/win_app.h"
#include "resources/resource.h"

SharedResources g_shared;
CBitmap g_statusBitmap;
CBitmap g_markBitmap;

void LoadSharedResources()
{
    HINSTANCE instance = AfxGetInstanceHandle();
    g_statusBitmap.LoadBitmap(IDB_STATUS);
    g_markBitmap.LoadBitmap(IDB_MARK);
    g_shared.programIcon = static_cast<HICON>(
        ::LoadImageA(instance, MAKEINTRESOURCEA(IDI_PROGRAM), IMAGE_ICON, 0, 0, LR_DEFAULTCOLOR));
    g_shared.programIconSmall = static_cast<HICON>(
        ::LoadImageA(instance, MAKEINTRESOURCEA(IDI_PROGRAM), IMAGE_ICON, 16, 16, LR_DEFAULTCOLOR));
    g_shared.dragOneCursor = ::LoadCursorA(instance, MAKEINTRESOURCEA(IDC_DRAG_ONE));
    g_shared.dragManyCursor = ::LoadCursorA(instance, MAKEINTRESOURCEA(IDC_DRAG_MANY));
    g_shared.noDropCursor = ::LoadCursorA(instance, MAKEINTRESOURCEA(IDC_NO_DROP));
    g_shared.arrowCursor = ::LoadCursor(nullptr, IDC_ARROW);
}
