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

std::string QuoteArgument(const std::string& text)
{
    // Backslashes count only before a quote: there each one is doubled, and a
    // quote inside the text (never in a real path) gets one more to escape it.
    std::string quoted = "\"";
    size_t backslashes = 0;
    for (char c : text) {
        if (c == '\\') {
            ++backslashes;
            continue;
        }
        if (c == '"') {
            quoted.append(backslashes * 2 + 1, '\\');
        } else {
            quoted.append(backslashes, '\\');
        }
        backslashes = 0;
        quoted += c;
    }
    quoted.append(backslashes * 2, '\\');
    quoted += '"';
    return quoted;
}
