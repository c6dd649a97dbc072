// The pane's clipboard: Copy gives both UTF-16 and the legacy code page's
// bytes, Paste takes UTF-16 first and converts it to the store's form.
#include <algorithm>

#include "compare_window/row_text.h"
#include "compare_window/text_pane.h"

namespace {

HGLOBAL BlockOf(const void* data, size_t size)
{
    HGLOBAL block = ::GlobalAlloc(GMEM_DDESHARE | GMEM_MOVEABLE, size);
    if (!block)
        return nullptr;
    void* bytes = ::GlobalLock(block);
    if (!bytes) {
        ::GlobalFree(block);
        return nullptr;
    }
    std::copy_n(static_cast<const char*>(data), size, static_cast<char*>(bytes));
    ::GlobalUnlock(block);
    return block;
}

bool Put(UINT format, HGLOBAL block)
{
    if (!block)
        return false;
    if (::SetClipboardData(format, block))
        return true;
    ::GlobalFree(block);
    return false;
}

// The clipboard's text as UTF-16: CF_UNICODETEXT, or CF_TEXT read in the process
// code page where a program offered only that.
bool ClipboardText(std::u16string& text)
{
    if (HGLOBAL data = ::GetClipboardData(CF_UNICODETEXT)) {
        if (const auto* units = static_cast<const char16_t*>(::GlobalLock(data))) {
            // The block may lack its terminating zero; never read past it.
            const size_t size = ::GlobalSize(data) / sizeof(char16_t);
            text.assign(units, std::find(units, units + size, u'\0'));
            ::GlobalUnlock(data);
            return true;
        }
    }
    if (HGLOBAL data = ::GetClipboardData(CF_TEXT)) {
        if (const char* bytes = static_cast<const char*>(::GlobalLock(data))) {
            const size_t size = ::GlobalSize(data);
            const int length = static_cast<int>(std::find(bytes, bytes + size, '\0') - bytes);
            const int units = ::MultiByteToWideChar(CP_ACP, 0, bytes, length, nullptr, 0);
            text.assign(static_cast<size_t>(std::max(units, 0)), u'\0');
            if (units > 0)
                ::MultiByteToWideChar(CP_ACP, 0, bytes, length, reinterpret_cast<wchar_t*>(&text[0]), units);
            ::GlobalUnlock(data);
            return true;
        }
    }
    return false;
}

} // namespace

HGLOBAL TextPane::RowsToText(int startColumn, int startRow, int endColumn, int endRow, bool includeFillers) const
{
    std::string text = RowsToString(buffer, startColumn, startRow, endColumn, endRow, includeFillers);
    return BlockOf(text.c_str(), text.size() + 1);
}

bool TextPane::CopySelection()
{
    if (!HasSelection() || !::OpenClipboard(m_hWnd))
        return false;
    bool copied = false;
    if (::EmptyClipboard()) {
        TextPosition start, end;
        GetSelection(start, end);
        const std::string text = RowsToString(buffer, start.column, start.row, end.column, end.row, false);
        const std::u16string wide = StoreToUtf16(text, StoreUtf8()) + u'\0';
        copied = Put(CF_UNICODETEXT, BlockOf(wide.data(), wide.size() * sizeof(char16_t)));
        // A legacy store already holds the legacy code page's bytes.
        std::string legacy;
        ConvertStore(text, StoreUtf8(), false, legacy);
        Put(CF_TEXT, BlockOf(legacy.c_str(), legacy.size() + 1));
        // The locale names the code page of CF_TEXT.
        const LCID locale = ::GetUserDefaultLCID();
        Put(CF_LOCALE, BlockOf(&locale, sizeof locale));
    }
    ::CloseClipboard();
    return copied;
}

LRESULT TextPane::OnCopy(WPARAM, LPARAM)
{
    CopySelection();
    return 0;
}

// Deletes only what is safe on the clipboard.
LRESULT TextPane::OnCut(WPARAM, LPARAM)
{
    if (!HasSelection())
        return 0;
    if (CopySelection())
        ReplaceSelection(std::string(), false);
    else
        ::MessageBeep(MB_ICONHAND);
    return 0;
}

// Characters the legacy code page cannot hold are pasted as the system's
// substitute, as every program that pastes into 8-bit text does.
LRESULT TextPane::OnPaste(WPARAM, LPARAM)
{
    if (!::OpenClipboard(m_hWnd))
        return 0;
    std::u16string wide;
    const bool available = ClipboardText(wide);
    // Closed before the edit, which may fail: the clipboard must not stay ours.
    ::CloseClipboard();
    if (available) {
        std::string pasted;
        Utf16ToStore(wide, StoreUtf8(), pasted);
        ReplaceSelection(pasted, false);
    }
    return 0;
}
