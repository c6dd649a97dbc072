#include "shell_text.h"

#include <cstring>

std::string TextOfGlobalBlock(const void* lockedBlock, SIZE_T blockSize)
{
    if (!lockedBlock)
        return std::string();
    size_t limit = blockSize < MAX_SHELL_PATH ? blockSize : MAX_SHELL_PATH;
    const char* text = static_cast<const char*>(lockedBlock);
    const void* zero = std::memchr(text, '\0', limit);
    size_t length = zero ? static_cast<size_t>(static_cast<const char*>(zero) - text) : limit;
    return std::string(text, length);
}

std::wstring WideTextOfGlobalBlock(const void* lockedBlock, SIZE_T blockSize)
{
    if (!lockedBlock)
        return std::wstring();
    size_t units = blockSize / sizeof(wchar_t);
    size_t limit = units < MAX_SHELL_PATH ? units : MAX_SHELL_PATH;
    const wchar_t* text = static_cast<const wchar_t*>(lockedBlock);
    size_t length = 0;
    while (length < limit && text[length] != L'\0')
        ++length;
    return std::wstring(text, length);
}

std::wstring WidenAnsi(const std::string& text)
{
    if (text.empty())
        return std::wstring();
    int length = ::MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring wide(static_cast<size_t>(length > 0 ? length : 0), L'\0');
    if (length > 0)
        ::MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), &wide[0], length);
    return wide;
}

bool TextOfStrRet(STRRET& name, LPCITEMIDLIST list, IMalloc* allocator, std::wstring& text)
{
    if (name.uType != STRRET_WSTR) {
        std::string ansi;
        if (!TextOfStrRet(name, list, allocator, ansi))
            return false;
        text = WidenAnsi(ansi);
        return true;
    }
    LPWSTR wide = name.pOleStr;
    name.pOleStr = nullptr;
    std::wstring copied;
    try {
        if (wide)
            copied = WideTextOfGlobalBlock(wide, (MAX_SHELL_PATH + 1) * sizeof(wchar_t));
    } catch (...) {
        allocator ? allocator->Free(wide) : ::CoTaskMemFree(wide);
        throw;
    }
    if (allocator)
        allocator->Free(wide);
    else
        ::CoTaskMemFree(wide);
    text = std::move(copied);
    return true;
}

bool RunsAnsiProgramsInUtf8(DWORD majorVersion, DWORD buildNumber)
{
    return majorVersion > 10 || (majorVersion == 10 && buildNumber >= 18362);
}

std::wstring PathForProgram(const std::wstring& path, bool programRunsInUtf8, UINT codePage)
{
    if (programRunsInUtf8 || path.empty())
        return path;
    BOOL lossy = FALSE;
    int length = ::WideCharToMultiByte(codePage, WC_NO_BEST_FIT_CHARS, path.c_str(), static_cast<int>(path.size()),
                                       nullptr, 0, nullptr, &lossy);
    if (length > 0 && !lossy)
        return path;
    DWORD needed = ::GetShortPathNameW(path.c_str(), nullptr, 0);
    if (needed == 0)
        return path;
    std::wstring shortPath(needed, L'\0');
    DWORD got = ::GetShortPathNameW(path.c_str(), &shortPath[0], needed);
    if (got == 0 || got >= needed)
        return path;
    shortPath.resize(got);
    return shortPath;
}

size_t ItemListSize(LPCITEMIDLIST list)
{
    if (!list)
        return 0;
    const BYTE* item = reinterpret_cast<const BYTE*>(list);
    size_t size = 0;
    for (;;) {
        USHORT length;
        std::memcpy(&length, item + size, sizeof length);
        if (length == 0)
            return size + sizeof length;
        size += length;
    }
}

bool TextOfStrRet(STRRET& name, LPCITEMIDLIST list, IMalloc* allocator, std::string& text)
{
    switch (name.uType) {
    case STRRET_WSTR: {
        LPWSTR wide = name.pOleStr;
        if (!wide) {
            text.clear();
            return true;
        }
        std::string converted;
        int length = ::WideCharToMultiByte(CP_ACP, 0, wide, -1, nullptr, 0, nullptr, nullptr);
        if (length > 1) {
            converted.resize(static_cast<size_t>(length));
            ::WideCharToMultiByte(CP_ACP, 0, wide, -1, &converted[0], length, nullptr, nullptr);
            converted.resize(std::strlen(converted.c_str()));
        }
        if (allocator)
            allocator->Free(wide);
        else
            ::CoTaskMemFree(wide);
        name.pOleStr = nullptr;
        text = converted.substr(0, MAX_SHELL_PATH);
        return true;
    }
    case STRRET_OFFSET: {
        // The text lies inside the item list itself: read no further than its end.
        size_t size = ItemListSize(list);
        if (name.uOffset >= size) {
            text.clear();
            return true;
        }
        text = TextOfGlobalBlock(reinterpret_cast<const BYTE*>(list) + name.uOffset, size - name.uOffset);
        return true;
    }
    case STRRET_CSTR:
        text = TextOfGlobalBlock(name.cStr, sizeof name.cStr);
        return true;
    default:
        return false;
    }
}

namespace {

template <typename String>
String Quoted(const String& text)
{
    // Backslashes count only before a quote: there each one is doubled, and a
    // quote inside the text (never in a real path) gets one more to escape it.
    using Char = typename String::value_type;
    String quoted(1, Char('"'));
    size_t backslashes = 0;
    for (Char c : text) {
        if (c == Char('\\')) {
            ++backslashes;
            continue;
        }
        quoted.append(c == Char('"') ? backslashes * 2 + 1 : backslashes, Char('\\'));
        backslashes = 0;
        quoted += c;
    }
    quoted.append(backslashes * 2, Char('\\'));
    quoted += Char('"');
    return quoted;
}

} // namespace

std::string QuoteArgument(const std::string& text)
{
    return Quoted(text);
}

std::wstring QuoteArgument(const std::wstring& text)
{
    return Quoted(text);
}
