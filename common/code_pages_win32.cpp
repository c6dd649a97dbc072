#include "code_pages_win32.h"

#include <windows.h>

#include "engine/text_encoding.h"

namespace {

UINT g_legacyCodePage = 1252;

// A locale without an ANSI code page (one written only in Unicode), or one
// whose code page is UTF-8 itself, keeps 8-bit files in Windows Latin 1.
UINT UserLegacyCodePage()
{
    DWORD page = 0;
    int got = ::GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_IDEFAULTANSICODEPAGE | LOCALE_RETURN_NUMBER,
                               reinterpret_cast<LPWSTR>(&page), sizeof page / sizeof(WCHAR));
    CPINFO info;
    if (got == 0 || page == 0 || page == CP_UTF8 || !::GetCPInfo(page, &info) || info.MaxCharSize > 2)
        return 1252;
    return page;
}

char16_t DecodeLegacyPair(unsigned char lead, unsigned char trail)
{
    const char bytes[2] = { static_cast<char>(lead), static_cast<char>(trail) };
    WCHAR unit = 0;
    if (::MultiByteToWideChar(g_legacyCodePage, MB_ERR_INVALID_CHARS, bytes, 2, &unit, 1) != 1)
        return 0;
    return static_cast<char16_t>(unit);
}

bool EncodeLegacy(std::u16string_view character, std::string& out)
{
    char bytes[8];
    BOOL usedDefault = FALSE;
    int length = ::WideCharToMultiByte(g_legacyCodePage, WC_NO_BEST_FIT_CHARS,
                                       reinterpret_cast<LPCWCH>(character.data()), static_cast<int>(character.size()),
                                       bytes, sizeof bytes, nullptr, &usedDefault);
    if (length <= 0) {
        out.push_back('?');
        return false;
    }
    out.append(bytes, static_cast<size_t>(length));
    return !usedDefault;
}

} // namespace

void LoadPlatformCodePages()
{
    g_legacyCodePage = UserLegacyCodePage();
    g_codePages.processUtf8 = ::GetACP() == CP_UTF8;
    for (int byte = 0; byte < 256; ++byte) {
        const char single = static_cast<char>(byte);
        WCHAR unit = 0;
        bool lead = ::IsDBCSLeadByteEx(g_legacyCodePage, static_cast<BYTE>(byte)) != FALSE;
        if (lead || ::MultiByteToWideChar(g_legacyCodePage, MB_ERR_INVALID_CHARS, &single, 1, &unit, 1) != 1)
            unit = 0; // undefined on its own
        g_codePages.legacyByte[byte] = static_cast<char16_t>(unit);
        g_codePages.legacyLeadByte[byte] = lead;
    }
    g_codePages.decodeLegacyPair = DecodeLegacyPair;
    g_codePages.encodeLegacy = EncodeLegacy;
}

unsigned LegacyCodePage()
{
    return g_legacyCodePage;
}

std::wstring ProcessTextToWide(std::string_view text)
{
    if (text.empty())
        return std::wstring();
    int size = static_cast<int>(text.size());
    int length = ::MultiByteToWideChar(CP_ACP, 0, text.data(), size, nullptr, 0);
    std::wstring wide(static_cast<size_t>(length > 0 ? length : 0), L'\0');
    if (length > 0)
        ::MultiByteToWideChar(CP_ACP, 0, text.data(), size, &wide[0], length);
    return wide;
}
