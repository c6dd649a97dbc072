// The window tests run in UTF-8, as ORVINTA does with its manifest: names and
// paths in UTF-8 reach the settings and the controls as their characters.
#include <doctest/doctest.h>

#include <string>

#include "common/code_pages_win32.h"
#include "common/settings_names.h"
#include "engine/text_encoding.h"
#include "framework/win_app.h"
#include "test_support.h"

TEST_CASE("the program runs in UTF-8 and keeps the legacy code page for 8-bit files")
{
    CHECK(::GetACP() == CP_UTF8);
    CHECK(g_codePages.processUtf8);
    CHECK(LegacyCodePage() != CP_UTF8);
}

TEST_CASE("a UTF-8 path reaches the settings and an edit as its characters")
{
    CleanSettings clean;
    const char* path = u8"C:\\Gr\u00FC\u00DFe\\\u65E5\u672C";
    const std::wstring wide = L"C:\\Gr\u00FC\u00DFe\\\u65E5\u672C";
    wchar_t read[64] = L"";

    SUBCASE("the settings")
    {
        CWinApp* app = AfxGetApp();
        REQUIRE(app->WriteProfileString(SECTION_DIRECTORIES, "Source", path));
        CHECK(app->GetProfileString(SECTION_DIRECTORIES, "Source") == path);
        HKEY key;
        std::wstring keyName = L"Software\\Brindlecote Software\\ORVINTA\\Directories";
        REQUIRE(::RegOpenKeyExW(HKEY_CURRENT_USER, keyName.c_str(), 0, KEY_READ, &key) == ERROR_SUCCESS);
        DWORD size = sizeof read;
        ::RegQueryValueExW(key, L"Source", nullptr, nullptr, reinterpret_cast<BYTE*>(read), &size);
        ::RegCloseKey(key);
        CHECK(read == wide);
    }
    SUBCASE("an edit control")
    {
        HWND edit = ::CreateWindowA("EDIT", "", WS_POPUP, 0, 0, 200, 20, nullptr, nullptr, nullptr, nullptr);
        ::SetWindowTextA(edit, path);
        ::GetWindowTextW(edit, read, 64);
        CHECK(read == wide);
        ::DestroyWindow(edit);
    }
}
