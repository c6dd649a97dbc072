#include "message_box.h"

#include "win_app.h"

CString AfxLoadString(UINT id)
{
    char buffer[1024];
    int length = ::LoadStringA(AfxGetInstanceHandle(), id, buffer, sizeof buffer);
    return CString(buffer, static_cast<size_t>(length > 0 ? length : 0));
}

int ResourceMessageBoxV(HWND owner, UINT textId, UINT captionId, UINT style, va_list args)
{
    CString format = AfxLoadString(textId);
    CString caption = AfxLoadString(captionId);
    char text[1024];
    ::wvsprintfA(text, format.c_str(), args);
    return ::MessageBoxA(owner, text, caption.c_str(), style);
}

int ResourceMessageBox(HWND owner, UINT textId, UINT captionId, UINT style, ...)
{
    va_list args;
    va_start(args, style);
    int result = ResourceMessageBoxV(owner, textId, captionId, style, args);
    va_end(args);
    return result;
}
