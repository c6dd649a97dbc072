// The legacy-code-page test program, built without the UTF-8 manifest: what
// ORVINTA does on a Windows older than 10 version 1903.
#include <doctest/doctest.h>

#include <windows.h>

#include "common/code_pages_win32.h"
#include "engine/text_encoding.h"

TEST_CASE("without the manifest the program runs in the ANSI code page")
{
    CHECK(::GetACP() != CP_UTF8);
    CHECK_FALSE(g_codePages.processUtf8);
    CHECK(LegacyCodePage() == ::GetACP());
}
