#include "gdi_object.h"

#include "win_app.h"

bool CBitmap::LoadBitmap(UINT id)
{
    Attach(::LoadBitmapA(AfxGetInstanceHandle(), MAKEINTRESOURCEA(id)));
    return m_handle != nullptr;
}
