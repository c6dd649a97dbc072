// The settings as they land in the registry, and as start-up reads them.
#include <doctest/doctest.h>

#include "app/settings.h"
#include "framework/win_app.h"
#include "test_support.h"

TEST_CASE("profile values: keys made on read, integers as 32 bits whatever their type")
{
    CleanSettings clean;
    CWinApp& app = *AfxGetApp();

    CHECK(app.GetProfileInt("Position", "dx", -1) == static_cast<UINT>(-1));
    CHECK(SectionKeyExists("Position"));
    CHECK_FALSE(ReadSetting("Position", "dx").exists);

    DWORD four = 0x12345678;
    WriteRawSetting("Position", "binary4", REG_BINARY, &four, 4);
    CHECK(app.GetProfileInt("Position", "binary4", 7) == 0x12345678u);

    unsigned char eight[8] = { 1, 2, 3, 4, 5, 6, 7, 8 };
    WriteRawSetting("Position", "binary8", REG_BINARY, eight, 8);
    CHECK(app.GetProfileInt("Position", "binary8", 7) == 7u);

    const char text[] = "hello world";
    WriteRawSetting("Position", "text", REG_SZ, text, sizeof text);
    CHECK(app.GetProfileInt("Position", "text", 9) == 9u);

    DWORD number = 42;
    WriteRawSetting("Directories", "Source", REG_DWORD, &number, 4);
    CHECK(app.GetProfileString("Directories", "Source", "fallback") == "fallback");
    CHECK(app.GetProfileString("Directories", "Master", "") == "");
}

TEST_CASE("profile values are written as REG_DWORD and REG_SZ under the company and program keys")
{
    CleanSettings clean;
    CWinApp& app = *AfxGetApp();
    app.WriteProfileInt("Position", "x", -5);
    app.WriteProfileString("Directories", "Master", "C:\\old dir");

    RegistryValue x = ReadSetting("Position", "x");
    REQUIRE(x.exists);
    CHECK(x.type == REG_DWORD);
    CHECK(static_cast<int>(x.AsDword()) == -5);
    CHECK(static_cast<int>(app.GetProfileInt("Position", "x", 0)) == -5);

    RegistryValue master = ReadSetting("Directories", "Master");
    REQUIRE(master.exists);
    CHECK(master.type == REG_SZ);
    CHECK(master.AsString() == "C:\\old dir");
}

TEST_CASE("preferences read at start-up")
{
    CWinApp& app = *AfxGetApp();

    SUBCASE("a fresh account gets the defaults")
    {
        CleanSettings clean;
        ProcessValues values;
        values.whiteSpaceMode = 9;
        values.masterColor = values.sourceColor = 0;
        ReadPreferences(app, values);
        ReadMonitorChanges(app, values, VER_PLATFORM_WIN32_NT);
        CHECK(values.whiteSpaceMode == 0);
        CHECK_FALSE(values.preserveHowCompare);
        CHECK(values.howCompare == 0);
        CHECK(values.masterColor == 0x00FFFFu);
        CHECK(values.sourceColor == 0xFF00FFu);
        CHECK(values.monitorChanges);
        CHECK_FALSE(ReadSetting("Preferences", "WhiteSpace").exists); // reading writes nothing
    }
    SUBCASE("HowCompare counts only while PreserveHowCompare is set")
    {
        CleanSettings clean;
        app.WriteProfileInt("Preferences", "HowCompare", 1);
        ProcessValues values;
        ReadPreferences(app, values);
        CHECK(values.howCompare == 0);
        app.WriteProfileInt("Preferences", "PreserveHowCompare", 1);
        ReadPreferences(app, values);
        CHECK(values.preserveHowCompare);
        CHECK(values.howCompare == 1);
    }
    SUBCASE("stored colours and mode are taken as they are")
    {
        CleanSettings clean;
        app.WriteProfileInt("Preferences", "WhiteSpace", 2);
        app.WriteProfileInt("Preferences", "SourceColor", 0x00112233);
        app.WriteProfileInt("Preferences", "MasterColor", 0x00445566);
        ProcessValues values;
        ReadPreferences(app, values);
        CHECK(values.whiteSpaceMode == 2);
        CHECK(values.sourceColor == 0x00112233u);
        CHECK(values.masterColor == 0x00445566u);
    }
    SUBCASE("monitoring is read on Windows NT only")
    {
        CleanSettings clean;
        app.WriteProfileInt("Preferences", "MonitorChanges", 0);
        ProcessValues values;
        ReadMonitorChanges(app, values, VER_PLATFORM_WIN32_NT);
        CHECK_FALSE(values.monitorChanges);
        app.WriteProfileInt("Preferences", "MonitorChanges", 1);
        ReadMonitorChanges(app, values, VER_PLATFORM_WIN32_WINDOWS);
        CHECK_FALSE(values.monitorChanges);
    }
}
