// Registering and unregistering ORVEXT (regsvr32, rundll32 and the exports),
// and its class object.
#include <doctest/doctest.h>

#include <windows.h>
#include <olectl.h>
#include <sddl.h>
#include <shlobj.h>

#include <string>
#include <vector>

#include "shellext_support.h"

namespace {
struct Exports {
    HMODULE module = nullptr;
    HRESULT(STDAPICALLTYPE* getClassObject)(REFCLSID, REFIID, void**) = nullptr;
    HRESULT(STDAPICALLTYPE* canUnloadNow)() = nullptr;
    HRESULT(STDAPICALLTYPE* registerServer)() = nullptr;
    HRESULT(STDAPICALLTYPE* unregisterServer)() = nullptr;

    Exports() : module(::LoadLibraryA(BesideTests("ORVEXT.DLL").c_str()))
    {
        REQUIRE(module);
        Find(getClassObject, "DllGetClassObject");
        Find(canUnloadNow, "DllCanUnloadNow");
        Find(registerServer, "DllRegisterServer");
        Find(unregisterServer, "DllUnregisterServer");
    }
    ~Exports() { ::FreeLibrary(module); }
    Exports(const Exports&) = delete;
    Exports& operator=(const Exports&) = delete;

    template <typename Function>
    void Find(Function& function, const char* name)
    {
        function = reinterpret_cast<Function>(reinterpret_cast<void*>(::GetProcAddress(module, name)));
        REQUIRE_MESSAGE(static_cast<bool>(function), name);
    }
};

const CLSID CLSID_ORVEXT = { 0xdf3e5ac7, 0xfc2c, 0x4f62, { 0x99, 0xb4, 0x52, 0x34, 0xba, 0xe9, 0x3e, 0xab } };

std::string LowerCase(std::string text)
{
    ::CharLowerBuffA(&text[0], static_cast<DWORD>(text.size()));
    return text;
}

// Takes the rights to write away from a key while it lives, through a handle
// kept open to give them back.
class ReadOnlyKey {
public:
    ReadOnlyKey(HKEY root, const std::string& path)
    {
        REQUIRE(::RegOpenKeyExA(root, path.c_str(), 0, READ_CONTROL | WRITE_DAC, &m_key) == ERROR_SUCCESS);
        DWORD size = 0;
        ::RegGetKeySecurity(m_key, DACL_SECURITY_INFORMATION, nullptr, &size);
        m_saved.resize(size);
        REQUIRE(::RegGetKeySecurity(m_key, DACL_SECURITY_INFORMATION, m_saved.data(), &size) == ERROR_SUCCESS);
        PSECURITY_DESCRIPTOR readOnly = nullptr;
        REQUIRE(::ConvertStringSecurityDescriptorToSecurityDescriptorA("D:(A;;KR;;;WD)", SDDL_REVISION_1, &readOnly,
                                                                        nullptr));
        REQUIRE(::RegSetKeySecurity(m_key, DACL_SECURITY_INFORMATION, readOnly) == ERROR_SUCCESS);
        ::LocalFree(readOnly);
    }
    ~ReadOnlyKey()
    {
        ::RegSetKeySecurity(m_key, DACL_SECURITY_INFORMATION, m_saved.data());
        ::RegCloseKey(m_key);
    }
    ReadOnlyKey(const ReadOnlyKey&) = delete;
    ReadOnlyKey& operator=(const ReadOnlyKey&) = delete;

private:
    HKEY m_key = nullptr;
    std::vector<BYTE> m_saved;
};

// The five entries, each with the data registration gives it.
void CheckRegistered(const std::string& libraryPath)
{
    std::string classKey = ClassKeyPath();
    CHECK(ReadString(HKEY_CLASSES_ROOT, classKey, nullptr) == "ORVINTA Shell Extension");
    CHECK(ReadString(HKEY_CLASSES_ROOT, classKey + "\\InprocServer32", nullptr) == LowerCase(libraryPath));
    CHECK(ReadString(HKEY_CLASSES_ROOT, classKey + "\\InprocServer32", "ThreadingModel") == "Apartment");
    CHECK(ReadString(HKEY_CLASSES_ROOT, DROP_HANDLER_KEY, nullptr) == OrvextClassId());
    CHECK(ReadString(HKEY_LOCAL_MACHINE, APPROVED_KEY_PATH, OrvextClassId().c_str()) == "ORVINTA Shell Extension");
}

void CheckUnregistered()
{
    CHECK_FALSE(KeyExists(HKEY_CLASSES_ROOT, ClassKeyPath() + "\\InprocServer32"));
    CHECK_FALSE(KeyExists(HKEY_CLASSES_ROOT, ClassKeyPath()));
    CHECK_FALSE(KeyExists(HKEY_CLASSES_ROOT, DROP_HANDLER_KEY));
    CHECK(ReadString(HKEY_LOCAL_MACHINE, APPROVED_KEY_PATH, OrvextClassId().c_str()) == "<absent>");
    // The shell's own keys stay.
    CHECK(KeyExists(HKEY_LOCAL_MACHINE, APPROVED_KEY_PATH));
}
} // namespace

TEST_CASE("regsvr32 registers the five entries, twice alike, and /u removes them")
{
    CleanRegistration clean;
    std::string library = BesideTests("ORVEXT.DLL");
    std::string quoted = "\"" + library + "\"";
    for (int round = 1; round <= 2; ++round) {
        CAPTURE(round);
        REQUIRE(RunAndWait("regsvr32.exe /s " + quoted) == 0);
        CheckRegistered(library);
    }
    REQUIRE(RunAndWait("regsvr32.exe /s /u " + quoted) == 0);
    CheckUnregistered();
    // Nothing registered is no failure.
    CHECK(RunAndWait("regsvr32.exe /s /u " + quoted) == 0);
    CheckUnregistered();
}

TEST_CASE("rundll32 runs the registration entry points")
{
    CleanRegistration clean;
    std::string library = BesideTests("ORVEXT.DLL");
    REQUIRE(RunAndWait("rundll32.exe \"" + library + "\",RegisterServer") == 0);
    CheckRegistered(library);
    REQUIRE(RunAndWait("rundll32.exe \"" + library + "\",UnregisterServer") == 0);
    CheckUnregistered();
}

TEST_CASE("the exports report what registration did")
{
    CleanRegistration clean;
    Exports exports;
    CHECK(exports.registerServer() == S_OK);
    CHECK(exports.registerServer() == S_OK);
    CheckRegistered(BesideTests("ORVEXT.DLL"));
    CHECK(exports.unregisterServer() == S_OK);
    CheckUnregistered();
    CHECK(exports.unregisterServer() == S_OK);

    SUBCASE("the Approved list without the rights to write it: a failure, the rest written")
    {
        {
            ReadOnlyKey readOnly(HKEY_LOCAL_MACHINE, APPROVED_KEY_PATH);
            CHECK(exports.registerServer() == SELFREG_E_CLASS);
            CHECK(ReadString(HKEY_CLASSES_ROOT, ClassKeyPath() + "\\InprocServer32", "ThreadingModel") == "Apartment");
            CHECK(ReadString(HKEY_CLASSES_ROOT, DROP_HANDLER_KEY, nullptr) == OrvextClassId());
            CHECK(ReadString(HKEY_LOCAL_MACHINE, APPROVED_KEY_PATH, OrvextClassId().c_str()) == "<absent>");
            // Unregistering skips what it may not touch and still succeeds.
            CHECK(exports.unregisterServer() == S_OK);
        }
        CheckUnregistered();
    }
    SUBCASE("a class key where the server's subkey cannot be made: a failure")
    {
        // Below a volatile key no lasting subkey can be made.
        HKEY volatileKey = nullptr;
        REQUIRE(::RegCreateKeyExA(HKEY_CLASSES_ROOT, ClassKeyPath().c_str(), 0, nullptr, REG_OPTION_VOLATILE,
                                  KEY_ALL_ACCESS, nullptr, &volatileKey, nullptr) == ERROR_SUCCESS);
        ::RegCloseKey(volatileKey);
        CHECK(exports.registerServer() == SELFREG_E_CLASS);
        CHECK(ReadString(HKEY_CLASSES_ROOT, DROP_HANDLER_KEY, nullptr) == OrvextClassId());
        CHECK(exports.unregisterServer() == S_OK);
        CheckUnregistered();
    }
    SUBCASE("a class key that cannot be opened for writing: a failure with nothing written")
    {
        HKEY classKey = nullptr;
        REQUIRE(::RegCreateKeyExA(HKEY_CLASSES_ROOT, ClassKeyPath().c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                                  &classKey, nullptr) == ERROR_SUCCESS);
        ::RegCloseKey(classKey);
        ReadOnlyKey readOnly(HKEY_CLASSES_ROOT, ClassKeyPath());
        CHECK(exports.registerServer() == E_FAIL);
        CHECK(ReadString(HKEY_CLASSES_ROOT, ClassKeyPath(), nullptr) == "<absent>");
        CHECK(ReadString(HKEY_CLASSES_ROOT, DROP_HANDLER_KEY, nullptr) == "<absent>");
        CHECK(ReadString(HKEY_LOCAL_MACHINE, APPROVED_KEY_PATH, OrvextClassId().c_str()) == "<absent>");
    }
}

TEST_CASE("the class object: class identifiers, aggregation, server locks and unloading")
{
    Exports exports;
    ComPtr<IClassFactory> factory;
    REQUIRE(exports.getClassObject(CLSID_ORVEXT, IID_IClassFactory, factory.OutVoid()) == S_OK);
    REQUIRE(factory.Get());
    // An outside reference on the class object keeps the library.
    CHECK(exports.canUnloadNow() == S_FALSE);

    SUBCASE("another class")
    {
        void* other = reinterpret_cast<void*>(1);
        CHECK(exports.getClassObject(CLSID_ShellLink, IID_IClassFactory, &other) == CLASS_E_CLASSNOTAVAILABLE);
        CHECK(other == nullptr);
    }
    SUBCASE("an interface the class object does not have")
    {
        void* other = reinterpret_cast<void*>(1);
        CHECK(exports.getClassObject(CLSID_ORVEXT, IID_IShellFolder, &other) == E_NOINTERFACE);
        CHECK(other == nullptr);
    }
    SUBCASE("aggregation is refused and creates nothing")
    {
        IUnknown* outer = factory.Get();
        void* object = reinterpret_cast<void*>(1);
        CHECK(factory->CreateInstance(outer, IID_IUnknown, &object) == CLASS_E_NOAGGREGATION);
        CHECK(object == nullptr);
        factory.Reset();
        CHECK(exports.canUnloadNow() == S_OK);
    }
    SUBCASE("an object of an interface it lacks is not kept")
    {
        void* object = reinterpret_cast<void*>(1);
        CHECK(factory->CreateInstance(nullptr, IID_IShellFolder, &object) == E_NOINTERFACE);
        CHECK(object == nullptr);
        factory.Reset();
        CHECK(exports.canUnloadNow() == S_OK);
    }
    SUBCASE("a live object and a server lock each keep the library")
    {
        ComPtr<IContextMenu> menu;
        REQUIRE(factory->CreateInstance(nullptr, IID_IContextMenu, menu.OutVoid()) == S_OK);
        REQUIRE(factory->LockServer(TRUE) == S_OK);
        factory.Reset();
        CHECK(exports.canUnloadNow() == S_FALSE);
        menu.Reset();
        CHECK(exports.canUnloadNow() == S_FALSE);
        ComPtr<IClassFactory> again;
        REQUIRE(exports.getClassObject(CLSID_ORVEXT, IID_IClassFactory, again.OutVoid()) == S_OK);
        REQUIRE(again->LockServer(FALSE) == S_OK);
        again.Reset();
        CHECK(exports.canUnloadNow() == S_OK);
    }
}
