#include "wnd.h"

#include <exception>
#include <string>
#include <vector>

#include "exceptions.h"
#include "win_app.h"

const char* const ZEL_WND_CLASS = "ZelvaneWnd";

BEGIN_MESSAGE_MAP(CWnd, CCmdTarget)
END_MESSAGE_MAP()

CWnd::~CWnd()
{
    if (m_hWnd && ::IsWindow(m_hWnd)) {
        // The object is going away first: unbind, so no message reaches a dead object.
        if (m_oldWndProc)
            UnsubclassWindow();
        else {
            ::SetWindowLongPtrA(m_hWnd, GWLP_USERDATA, 0);
            ::DestroyWindow(m_hWnd);
        }
    }
}

const char* CWnd::RegisterWindowClass(const char* name, UINT style, HCURSOR cursor, HBRUSH background, HICON icon)
{
    HINSTANCE instance = AfxGetInstanceHandle();
    WNDCLASSA existing;
    if (::GetClassInfoA(instance, name, &existing))
        return name;
    WNDCLASSA wc = {};
    wc.style = style;
    wc.lpfnWndProc = StaticWndProc;
    wc.hInstance = instance;
    wc.hIcon = icon;
    wc.hCursor = cursor ? cursor : ::LoadCursor(nullptr, IDC_ARROW);
    wc.hbrBackground = background;
    wc.lpszClassName = name;
    return ::RegisterClassA(&wc) ? name : nullptr;
}

const char* CWnd::RegisterUnicodeWindowClass(const char* name, UINT style, HCURSOR cursor, HBRUSH background,
                                             HICON icon)
{
    HINSTANCE instance = AfxGetInstanceHandle();
    // Class names here are ASCII.
    std::wstring wideName(name, name + std::char_traits<char>::length(name));
    WNDCLASSW existing;
    if (::GetClassInfoW(instance, wideName.c_str(), &existing))
        return name;
    WNDCLASSW wc = {};
    wc.style = style;
    wc.lpfnWndProc = StaticWndProcW;
    wc.hInstance = instance;
    wc.hIcon = icon;
    wc.hCursor = cursor ? cursor : ::LoadCursor(nullptr, IDC_ARROW);
    wc.hbrBackground = background;
    wc.lpszClassName = wideName.c_str();
    return ::RegisterClassW(&wc) ? name : nullptr;
}

bool CWnd::CreateEx(DWORD exStyle, const char* className, const char* windowName, DWORD style, const RECT& rect,
                    CWnd* parent, UINT idOrMenu, HMENU menu)
{
    if (!className)
        className = RegisterWindowClass(ZEL_WND_CLASS, CS_DBLCLKS, nullptr, (HBRUSH)(COLOR_WINDOW + 1), nullptr);
    if (!className)
        return false;
    HMENU menuOrId = (style & WS_CHILD) ? reinterpret_cast<HMENU>(static_cast<UINT_PTR>(idOrMenu)) : menu;
    HWND hwnd = ::CreateWindowExA(exStyle, className, windowName, style, rect.left, rect.top,
                                  rect.right - rect.left, rect.bottom - rect.top, parent ? parent->m_hWnd : nullptr,
                                  menuOrId, AfxGetInstanceHandle(), this);
    if (!hwnd) {
        m_hWnd = nullptr;
        return false;
    }
    // A window of a system class (a control) never saw our procedure: bind it now.
    if (!m_hWnd)
        SubclassWindow(hwnd);
    return true;
}

void CWnd::Attach(HWND hwnd)
{
    m_hWnd = hwnd;
    m_unicode = ::IsWindowUnicode(hwnd) != FALSE;
    ::SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
}

bool CWnd::SubclassWindow(HWND hwnd)
{
    if (!hwnd || m_hWnd)
        return false;
    Attach(hwnd);
    m_oldWndProc = reinterpret_cast<WNDPROC>(
        ::SetWindowLongPtrA(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(StaticWndProc)));
    m_unicode = false; // an ANSI procedure now
    return true;
}

bool CWnd::SubclassDlgItem(UINT id, CWnd* parent)
{
    return SubclassWindow(::GetDlgItem(parent->m_hWnd, static_cast<int>(id)));
}

HWND CWnd::UnsubclassWindow()
{
    HWND hwnd = m_hWnd;
    if (hwnd && m_oldWndProc) {
        ::SetWindowLongPtrA(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(m_oldWndProc));
        ::SetWindowLongPtrA(hwnd, GWLP_USERDATA, 0);
    }
    m_oldWndProc = nullptr;
    m_hWnd = nullptr;
    return hwnd;
}

CWnd* CWnd::FromHandle(HWND hwnd)
{
    if (!hwnd)
        return nullptr;
    // Read in the window's own form, or the system hands back a converting stub.
    const bool unicode = ::IsWindowUnicode(hwnd) != FALSE;
    WNDPROC proc = reinterpret_cast<WNDPROC>(unicode ? ::GetWindowLongPtrW(hwnd, GWLP_WNDPROC)
                                                     : ::GetWindowLongPtrA(hwnd, GWLP_WNDPROC));
    if (proc != (unicode ? StaticWndProcW : StaticWndProc))
        return nullptr;
    return reinterpret_cast<CWnd*>(::GetWindowLongPtrA(hwnd, GWLP_USERDATA));
}

bool CWnd::DestroyWindow()
{
    return m_hWnd && ::DestroyWindow(m_hWnd);
}

LRESULT CWnd::SendMessage(UINT message, WPARAM wParam, LPARAM lParam) const
{
    return ::SendMessageA(m_hWnd, message, wParam, lParam);
}

bool CWnd::PostMessage(UINT message, WPARAM wParam, LPARAM lParam) const
{
    return ::PostMessageA(m_hWnd, message, wParam, lParam) != 0;
}

void CWnd::SetWindowText(const CString& text)
{
    ::SetWindowTextA(m_hWnd, text.c_str());
}

CString CWnd::GetWindowText() const
{
    int length = ::GetWindowTextLengthA(m_hWnd);
    std::vector<char> buffer(static_cast<size_t>(length) + 1);
    int got = ::GetWindowTextA(m_hWnd, buffer.data(), length + 1);
    return CString(buffer.data(), static_cast<size_t>(got > 0 ? got : 0));
}

void CWnd::SetDlgItemText(int id, const CString& text)
{
    ::SetDlgItemTextA(m_hWnd, id, text.c_str());
}

CString CWnd::GetDlgItemText(int id) const
{
    HWND item = GetDlgItem(id);
    int length = ::GetWindowTextLengthA(item);
    std::vector<char> buffer(static_cast<size_t>(length) + 1);
    int got = ::GetWindowTextA(item, buffer.data(), length + 1);
    return CString(buffer.data(), static_cast<size_t>(got > 0 ? got : 0));
}

void CWnd::SendMessageToDescendants(UINT message, WPARAM wParam, LPARAM lParam) const
{
    for (HWND child = ::GetTopWindow(m_hWnd); child; child = ::GetNextWindow(child, GW_HWNDNEXT)) {
        ::SendMessageA(child, message, wParam, lParam);
        if (::GetTopWindow(child)) {
            CWnd walker;
            walker.m_hWnd = child;
            walker.SendMessageToDescendants(message, wParam, lParam);
            walker.m_hWnd = nullptr;
        }
    }
}

bool CWnd::PreTranslateMessage(MSG*)
{
    return false;
}

LRESULT CWnd::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (m_oldWndProc)
        return ::CallWindowProcA(m_oldWndProc, m_hWnd, message, wParam, lParam);
    return m_unicode ? ::DefWindowProcW(m_hWnd, message, wParam, lParam)
                     : ::DefWindowProcA(m_hWnd, message, wParam, lParam);
}

LRESULT CWnd::Default()
{
    return m_currentMsg ? DefWindowProc(m_currentMsg->message, m_currentMsg->wParam, m_currentMsg->lParam) : 0;
}

LRESULT CWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    LRESULT result = 0;
    if (!OnWndMsg(message, wParam, lParam, &result))
        result = DefWindowProc(message, wParam, lParam);
    return result;
}

bool CWnd::OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result)
{
    switch (message) {
    case WM_COMMAND:
        if (OnCommand(wParam, lParam)) {
            *result = 0;
            return true;
        }
        break;
    case WM_NOTIFY:
        // The control that sent it may handle it itself first.
        if (ReflectToChild(message, wParam, lParam, result) || OnNotify(wParam, lParam, result))
            return true;
        break;
    case WM_INITMENUPOPUP:
        if (!HIWORD(lParam))
            UpdateMenuItems(reinterpret_cast<HMENU>(wParam));
        break;
    case WM_DRAWITEM:
    case WM_MEASUREITEM:
    case WM_DELETEITEM:
    case WM_COMPAREITEM:
    case WM_VKEYTOITEM:
    case WM_CHARTOITEM:
        if (ReflectToChild(message, wParam, lParam, result))
            return true;
        break;
    default:
        break;
    }
    const MessageEntry* entry = FindMessageEntry(GetMessageMap(), message, 0, 0, HandlerKind::message);
    if (!entry)
        return false;
    auto handler = HandlerCast<LRESULT (CCmdTarget::*)(WPARAM, LPARAM)>(entry->handler);
    *result = (this->*handler)(wParam, lParam);
    return true;
}

bool CWnd::ReflectToChild(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result)
{
    HWND child = nullptr;
    switch (message) {
    case WM_DRAWITEM:
        if (reinterpret_cast<const DRAWITEMSTRUCT*>(lParam)->CtlType != ODT_MENU)
            child = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam)->hwndItem;
        break;
    case WM_MEASUREITEM: {
        const MEASUREITEMSTRUCT* measure = reinterpret_cast<const MEASUREITEMSTRUCT*>(lParam);
        if (measure->CtlType != ODT_MENU)
            child = ::GetDlgItem(m_hWnd, static_cast<int>(measure->CtlID));
        break;
    }
    case WM_DELETEITEM:
        child = reinterpret_cast<const DELETEITEMSTRUCT*>(lParam)->hwndItem;
        break;
    case WM_COMPAREITEM:
        child = reinterpret_cast<const COMPAREITEMSTRUCT*>(lParam)->hwndItem;
        break;
    case WM_NOTIFY:
        child = reinterpret_cast<const NMHDR*>(lParam)->hwndFrom;
        break;
    default: // WM_VKEYTOITEM, WM_CHARTOITEM
        child = reinterpret_cast<HWND>(lParam);
        break;
    }
    CWnd* control = FromHandle(child);
    return control && control != this && control->OnChildNotify(message, wParam, lParam, result);
}

bool CWnd::OnChildNotify(UINT, WPARAM, LPARAM, LRESULT*)
{
    return false;
}

bool CWnd::IsCommandEnabled(UINT id)
{
    CCmdUI state(id);
    GetCommandState(&state);
    return state.m_enabled;
}

bool CWnd::OnCommand(WPARAM wParam, LPARAM lParam)
{
    UINT id = LOWORD(wParam);
    UINT code = HIWORD(wParam);
    // Menus and accelerators send no window; a control's notification code
    // (LBN_SELCHANGE and STN_DBLCLK are 1, as an accelerator's) is its own.
    bool fromControl = lParam != 0;
    // An accelerator must not run a command that its update handler disables.
    CCmdUI state(id);
    if (!fromControl && OnUpdateCmdMsg(&state) && !state.m_enabled)
        return true;
    return OnCmdMsg(id, fromControl ? code : 0);
}

bool CWnd::OnNotify(WPARAM, LPARAM lParam, LRESULT* result)
{
    NMHDR* header = reinterpret_cast<NMHDR*>(lParam);
    const MessageEntry* entry = FindMessageEntry(GetMessageMap(), WM_NOTIFY, header->code,
                                                 static_cast<UINT>(header->idFrom), HandlerKind::notify);
    if (!entry)
        return false;
    *result = 0;
    auto handler = HandlerCast<void (CCmdTarget::*)(NMHDR*, LRESULT*)>(entry->handler);
    (this->*handler)(header, result);
    return true;
}

void CWnd::UpdateMenuItems(HMENU popup)
{
    int count = ::GetMenuItemCount(popup);
    for (int index = 0; index < count; ++index) {
        UINT id = ::GetMenuItemID(popup, index);
        if (id == 0 || id == static_cast<UINT>(-1))
            continue; // separators and sub-menus
        CCmdUI state(id);
        GetCommandState(&state);
        ::EnableMenuItem(popup, static_cast<UINT>(index), MF_BYPOSITION | (state.m_enabled ? MF_ENABLED : MF_GRAYED));
        if (state.m_checked >= 0)
            ::CheckMenuItem(popup, static_cast<UINT>(index),
                            MF_BYPOSITION | (state.m_checked ? MF_CHECKED : MF_UNCHECKED));
    }
}

void CWnd::ReportException(const char* text)
{
    ::MessageBoxA(nullptr, text, "Zelvane Error", MB_ICONHAND | MB_OK | MB_TASKMODAL);
}

LRESULT CWnd::CallWindowProcSafely(CWnd* wnd, HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    MSG msg = { hwnd, message, wParam, lParam, 0, { 0, 0 } };
    const MSG* outer = wnd->m_currentMsg;
    wnd->m_currentMsg = &msg;
    LRESULT result = 0;
    // A C++ exception must never unwind through user32's frames.
    try {
        result = wnd->WindowProc(message, wParam, lParam);
    } catch (const CException& error) {
        ReportException(error.GetErrorMessage().c_str());
    } catch (const std::bad_alloc&) {
        ReportException(CMemoryException().GetErrorMessage().c_str());
    } catch (const std::exception& error) {
        ReportException(error.what());
    } catch (...) {
        ReportException("An unexpected error occurred.");
    }
    wnd->m_currentMsg = outer;
    if (message == WM_NCDESTROY) {
        wnd->m_hWnd = nullptr;
        wnd->m_oldWndProc = nullptr;
        wnd->PostNcDestroy(); // may delete the object: touch nothing after it
    }
    return result;
}

LRESULT CALLBACK CWnd::StaticWndProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    CWnd* wnd = reinterpret_cast<CWnd*>(::GetWindowLongPtrA(hwnd, GWLP_USERDATA));
    if (!wnd && message == WM_NCCREATE) {
        auto create = reinterpret_cast<CREATESTRUCTA*>(lParam);
        wnd = static_cast<CWnd*>(create->lpCreateParams);
        if (wnd)
            wnd->Attach(hwnd);
    }
    if (!wnd)
        return ::DefWindowProcA(hwnd, message, wParam, lParam);
    return CallWindowProcSafely(wnd, hwnd, message, wParam, lParam);
}

LRESULT CALLBACK CWnd::StaticWndProcW(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    CWnd* wnd = reinterpret_cast<CWnd*>(::GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (!wnd && message == WM_NCCREATE) {
        auto create = reinterpret_cast<CREATESTRUCTW*>(lParam);
        wnd = static_cast<CWnd*>(create->lpCreateParams);
        if (wnd)
            wnd->Attach(hwnd);
    }
    if (!wnd)
        return ::DefWindowProcW(hwnd, message, wParam, lParam);
    return CallWindowProcSafely(wnd, hwnd, message, wParam, lParam);
}
