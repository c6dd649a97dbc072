// ORVEXT.DLL: start-up and shut-down of the library and its six exports.
#include <windows.h>
#include <olectl.h>
#include <shlobj.h>

#include "framework/ole_object_factory.h"
#include "registration.h"
#include "shell_extension.h"

HINSTANCE g_orvextInstance = nullptr;

namespace {
IMalloc* g_shellAllocator = nullptr;

COleObjectFactory g_factory(CLSID_ShellExtension, &CShellExtension::Create, "ORVEXT.SHELLEXTENSION");
} // namespace

IMalloc* ShellAllocator()
{
    return g_shellAllocator;
}

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID)
{
    if (reason == DLL_PROCESS_ATTACH) {
        g_orvextInstance = instance;
        ::DisableThreadLibraryCalls(instance);
        COleObjectFactory::RegisterAll();
        if (FAILED(::SHGetMalloc(&g_shellAllocator)) || !g_shellAllocator)
            return FALSE;
    } else if (reason == DLL_PROCESS_DETACH) {
        if (g_shellAllocator) {
            g_shellAllocator->Release();
            g_shellAllocator = nullptr;
        }
    }
    return TRUE;
}

STDAPI DllGetClassObject(REFCLSID clsid, REFIID iid, void** object)
{
    return COleObjectFactory::GetClassObject(clsid, iid, object);
}

STDAPI DllCanUnloadNow()
{
    if (AfxOleGetLockCount() != 0 || COleObjectFactory::AnyFactoryInUse())
        return S_FALSE;
    return S_OK;
}

STDAPI DllRegisterServer()
{
    try {
        char path[MAX_PATH] = "";
        DWORD length = ::GetModuleFileNameA(g_orvextInstance, path, sizeof path);
        // A path cut at the buffer would register a library that is not there.
        if (length == 0 || length >= sizeof path)
            return SELFREG_E_CLASS;
        return RegisterShellExtension(path);
    } catch (...) {
        return E_OUTOFMEMORY;
    }
}

STDAPI DllUnregisterServer()
{
    try {
        return UnregisterShellExtension();
    } catch (...) {
        return E_OUTOFMEMORY;
    }
}

// rundll32 ORVEXT.DLL,RegisterServer
extern "C" void CALLBACK RegisterServer(HWND, HINSTANCE, LPSTR, int)
{
    DllRegisterServer();
}

// rundll32 ORVEXT.DLL,UnregisterServer
extern "C" void CALLBACK UnregisterServer(HWND, HINSTANCE, LPSTR, int)
{
    DllUnregisterServer();
}
