// The drop handler driven as the shell drives it: created through the
// registry, initialised with a real drag's data object and the target's item
// list, asked for its menu item, and invoked. A recorder stands in for ORVINTA.
#include <doctest/doctest.h>

#include <windows.h>
#include <shlobj.h>

#include <string>
#include <vector>

#include "drop_handler_support.h"

namespace {
using Words = std::vector<std::string>;

// A shell drop menu as the shell builds it: two commands, a separator, Cancel.
HMENU DropMenu(const std::vector<const char*>& items)
{
    HMENU menu = ::CreatePopupMenu();
    UINT id = 1;
    for (const char* item : items) {
        if (item)
            ::AppendMenuA(menu, MF_STRING, id++, item);
        else
            ::AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
    }
    return menu;
}

std::string ItemText(HMENU menu, int position)
{
    char text[256] = "";
    ::GetMenuStringA(menu, static_cast<UINT>(position), text, sizeof text, MF_BYPOSITION);
    return text;
}

// Counts (and closes) the dialogs this thread shows while it lives, from a
// timer, so that a message box can never hold a test.
class DialogWatch {
public:
    DialogWatch() { s_seen = 0; m_timer = ::SetTimer(nullptr, 0, 50, OnTimer); }
    ~DialogWatch() { ::KillTimer(nullptr, m_timer); }
    DialogWatch(const DialogWatch&) = delete;
    DialogWatch& operator=(const DialogWatch&) = delete;
    int Seen() const { return s_seen; }

private:
    static BOOL CALLBACK CloseDialog(HWND window, LPARAM)
    {
        char className[16] = "";
        ::GetClassNameA(window, className, sizeof className);
        if (std::string(className) == "#32770" && ::IsWindowVisible(window)) {
            ++s_seen;
            ::PostMessageA(window, WM_COMMAND, IDOK, 0);
            ::PostMessageA(window, WM_COMMAND, IDCANCEL, 0);
        }
        return TRUE;
    }
    static void CALLBACK OnTimer(HWND, UINT, UINT_PTR, DWORD)
    {
        ::EnumThreadWindows(::GetCurrentThreadId(), CloseDialog, 0);
    }

    static int s_seen;
    UINT_PTR m_timer = 0;
};
int DialogWatch::s_seen = 0;

// Drops the dragged paths on the target and picks "Com&pare" by offset 0.
Words CompareThroughRecorder(const Words& dragged, const std::string& target)
{
    Handler handler;
    REQUIRE(InitializeDrop(handler.init.Get(), dragged, target) == S_OK);
    Recorder recorder;
    CHECK(InvokeOffset(handler.menu.Get(), 0) == S_OK);
    REQUIRE(recorder.WaitForRun());
    return recorder.Arguments();
}
} // namespace

TEST_CASE("the handler is created through the registry as one object with one count")
{
    {
        CleanRegistration clean;
        void* object = reinterpret_cast<void*>(1);
        CHECK(::CoCreateInstance(CLSID_ORVEXT, nullptr, CLSCTX_INPROC_SERVER, IID_IShellExtInit, &object) ==
              REGDB_E_CLASSNOTREG);
    }
    RegisteredOrvext registered;
    {
        Handler handler;
        CHECK(OrvextCanUnloadNow() == S_FALSE);
        ComPtr<IUnknown> fromInit;
        ComPtr<IUnknown> fromMenu;
        REQUIRE(handler.init->QueryInterface(IID_IUnknown, fromInit.OutVoid()) == S_OK);
        REQUIRE(handler.menu->QueryInterface(IID_IUnknown, fromMenu.OutVoid()) == S_OK);
        CHECK(fromInit.Get() == fromMenu.Get());
        ComPtr<IShellExtInit> back;
        REQUIRE(handler.menu->QueryInterface(IID_IShellExtInit, back.OutVoid()) == S_OK);
        CHECK(back.Get() == handler.init.Get());
        CHECK(handler.menu->QueryInterface(IID_IDataObject, back.OutVoid()) == E_NOINTERFACE);
        CHECK(back.Get() == nullptr);
        CHECK(handler.init->QueryInterface(IID_IUnknown, nullptr) == E_POINTER);
        // Both interfaces count on one object: init, menu, fromInit, fromMenu, back are gone.
        back.Reset();
        fromInit.Reset();
        fromMenu.Reset();
        CHECK(handler.menu->AddRef() == 3);
        CHECK(handler.init->Release() == 2);
        handler.menu.Reset();
        CHECK(OrvextCanUnloadNow() == S_FALSE);
    }
    CHECK(OrvextCanUnloadNow() == S_OK);
}

TEST_CASE("the drop menu gets Com&pare before the shell's first separator")
{
    RegisteredOrvext registered;
    Handler handler;
    struct Row {
        const char* label;
        std::vector<const char*> items; // null: a separator
        UINT index;
        UINT firstId;
        UINT lastId;
        UINT flags;
        HRESULT result;
        int position; // where "Com&pare" lands; -1: nowhere
    };
    const Row rows[] = {
        { "shell's drop menu", { "&Move Here", "&Copy Here", nullptr, "Cancel" }, 0, 100, 200, CMF_NORMAL, 1, 2 },
        { "index moves the anchor", { "&Move Here", "&Copy Here", nullptr, "Cancel" }, 1, 100, 200, CMF_NORMAL, 1, 3 },
        { "no separator: before the last item", { "&Move Here", "&Copy Here", "Cancel" }, 0, 100, 200, 0, 1, 2 },
        { "empty menu: appended", {}, 0, 100, 200, CMF_NORMAL, 1, 0 },
        { "separator first", { nullptr, "Cancel" }, 0, 7, 8, CMF_NORMAL, 1, 0 },
        { "first id = last id", { "&Move Here", nullptr, "Cancel" }, 0, 100, 100, CMF_NORMAL, 0, -1 },
        { "first id past last id", { "&Move Here", nullptr, "Cancel" }, 0, 101, 100, CMF_NORMAL, 0, -1 },
        { "default only", { "&Move Here", nullptr, "Cancel" }, 0, 100, 200, CMF_DEFAULTONLY, 0, -1 },
        { "verbs only", { "&Move Here", nullptr, "Cancel" }, 0, 100, 200, CMF_VERBSONLY, 0, -1 },
    };
    for (const Row& row : rows) {
        INFO(std::string(row.label));
        HMENU menu = DropMenu(row.items);
        int before = ::GetMenuItemCount(menu);
        CHECK(handler.menu->QueryContextMenu(menu, row.index, row.firstId, row.lastId, row.flags) == row.result);
        if (row.position < 0) {
            CHECK(::GetMenuItemCount(menu) == before);
        } else {
            REQUIRE(::GetMenuItemCount(menu) == before + 1);
            CHECK(ItemText(menu, row.position) == "Com&pare");
            CHECK(::GetMenuItemID(menu, row.position) == row.firstId);
        }
        ::DestroyMenu(menu);
    }
    CHECK(FAILED(handler.menu->QueryContextMenu(nullptr, 0, 100, 200, CMF_NORMAL)));
    char buffer[64] = "unchanged";
    CHECK(handler.menu->GetCommandString(0, GCS_HELPTEXTA, nullptr, buffer, sizeof buffer) == E_FAIL);
    CHECK(handler.menu->GetCommandString(0, GCS_VERBA, nullptr, buffer, sizeof buffer) == E_FAIL);
    CHECK(std::string(buffer) == "unchanged");
}

TEST_CASE("Compare starts the program of the App Paths entry with exactly the two folders")
{
    RegisteredOrvext registered;
    SetAppPath(BesideTests("command_recorder.exe").c_str());
    TempTree tree;
    std::string plainNew = tree.MakeDirectory("new");
    std::string plainOld = tree.MakeDirectory("old");
    std::string blankNew = tree.MakeDirectory("First Last");
    blankNew = tree.MakeDirectory("First Last\\new  dir");
    std::string blankOld = tree.MakeDirectory("old dir");

    struct Row {
        const char* label;
        std::string source;
        std::string master;
    };
    const Row rows[] = {
        { "plain", plainNew, plainOld },
        { "blanks on both sides", blankNew, blankOld },
        { "drive root as the target", blankNew, "C:\\" },
    };
    for (const Row& row : rows) {
        INFO(std::string(row.label));
        CHECK(CompareThroughRecorder({ row.source }, row.master) == Words{ row.source, row.master });
    }

    SUBCASE("drive root as the dragged item")
    {
        CHECK(CompareThroughRecorder({ "C:\\" }, blankOld) == Words{ "C:\\", blankOld });
    }
    SUBCASE("several dragged folders: the first is the Source")
    {
        CHECK(CompareThroughRecorder({ plainNew, plainOld }, blankOld) == Words{ plainNew, blankOld });
    }
    SUBCASE("the verb, in any case")
    {
        for (const char* verb : { "compare", "COMPARE", "Compare" }) {
            INFO(std::string(verb));
            Handler handler;
            REQUIRE(InitializeDrop(handler.init.Get(), { plainNew }, blankOld) == S_OK);
            Recorder recorder;
            CHECK(InvokeVerb(handler.menu.Get(), verb) == S_OK);
            REQUIRE(recorder.WaitForRun());
            CHECK(recorder.Arguments() == Words{ plainNew, blankOld });
        }
    }
    SUBCASE("other verbs and offsets start nothing")
    {
        Handler handler;
        REQUIRE(InitializeDrop(handler.init.Get(), { plainNew }, plainOld) == S_OK);
        Recorder wrong;
        CHECK(InvokeVerb(handler.menu.Get(), "open") == E_FAIL);
        CHECK(InvokeVerb(handler.menu.Get(), "compares") == E_FAIL);
        CHECK(InvokeVerb(handler.menu.Get(), "") == E_FAIL);
        CHECK(InvokeOffset(handler.menu.Get(), 1) == S_OK);
        CHECK(handler.menu->InvokeCommand(nullptr) == E_INVALIDARG);
        // A program started by mistake would have started before this one.
        Recorder right;
        CHECK(InvokeOffset(handler.menu.Get(), 0) == S_OK);
        REQUIRE(right.WaitForRun());
        PumpFor(300);
        CHECK_FALSE(wrong.Ran());
    }
}

TEST_CASE("what the shell hands to Initialize, however odd, never escapes as a fault")
{
    RegisteredOrvext registered;
    SetAppPath(BesideTests("command_recorder.exe").c_str());
    TempTree tree;
    std::string target = tree.MakeDirectory("target dir");
    LPITEMIDLIST folder = ItemListOf(target);
    REQUIRE(folder);
    Handler handler;

    SUBCASE("a Filename block without its terminating zero is read to its end")
    {
        TestDataObject data("C:\\no zero here", TYMED_HGLOBAL);
        CHECK(handler.init->Initialize(folder, &data, nullptr) == S_OK);
        Recorder recorder;
        CHECK(InvokeOffset(handler.menu.Get(), 0) == S_OK);
        REQUIRE(recorder.WaitForRun());
        CHECK(recorder.Arguments() == Words{ "C:\\no zero here", target });
        handler.init.Reset();
        handler.menu.Reset();
        CHECK(data.References() == 1);
    }
    SUBCASE("a data object without the Filename format")
    {
        TestDataObject data;
        CHECK(handler.init->Initialize(folder, &data, nullptr) == E_FAIL);
    }
    SUBCASE("a medium other than a global block")
    {
        TestDataObject data("C:\\x", TYMED_ISTREAM);
        CHECK(handler.init->Initialize(folder, &data, nullptr) == E_FAIL);
    }
    SUBCASE("no data object, no folder")
    {
        CHECK(handler.init->Initialize(nullptr, nullptr, nullptr) == E_FAIL);
        TestDataObject data("C:\\x", TYMED_HGLOBAL);
        CHECK(FAILED(handler.init->Initialize(nullptr, &data, nullptr)));
    }
    SUBCASE("a second Initialize with nothing lets go of what the first held")
    {
        ComPtr<IDataObject> shellData(ShellDataObject({ tree.Path() }));
        REQUIRE(shellData.Get());
        TestDataObject data(shellData.Get());
        HKEY classKey = nullptr;
        // A key of the test's own, so that nothing else holds a handle to it.
        const char* const KEY = "Software\\Brindlecote Software\\ORVEXT drop handler test";
        REQUIRE(::RegCreateKeyExA(HKEY_CURRENT_USER, KEY, 0, nullptr, REG_OPTION_VOLATILE, KEY_READ, nullptr,
                                  &classKey, nullptr) == ERROR_SUCCESS);
        REQUIRE(KeyHandleCount(classKey) == 1);
        CHECK(handler.init->Initialize(folder, &data, classKey) == S_OK);
        CHECK(data.References() == 2);
        CHECK(KeyHandleCount(classKey) == 2);
        CHECK(handler.init->Initialize(nullptr, nullptr, nullptr) == E_FAIL);
        CHECK(data.References() == 1);
        CHECK(KeyHandleCount(classKey) == 1);
        // And the last Release lets go of a second drop's hold.
        CHECK(handler.init->Initialize(folder, &data, classKey) == S_OK);
        handler.init.Reset();
        handler.menu.Reset();
        CHECK(data.References() == 1);
        CHECK(KeyHandleCount(classKey) == 1);
        ::RegCloseKey(classKey);
        ::RegDeleteKeyA(HKEY_CURRENT_USER, KEY);
    }
    ::CoTaskMemFree(folder);
}

TEST_CASE("a program that cannot be started is not reported: no message, success")
{
    RegisteredOrvext registered;
    TempTree tree;
    SetAppPath((tree.Path() + "\\missing\\ORVINTA.EXE").c_str());
    std::string source = tree.MakeDirectory("a b");
    Handler handler;
    REQUIRE(InitializeDrop(handler.init.Get(), { source }, tree.Path()) == S_OK);
    DialogWatch watch;
    CHECK(InvokeOffset(handler.menu.Get(), 0) == S_OK);
    PumpFor(200);
    CHECK(watch.Seen() == 0);
}
