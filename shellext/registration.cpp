#include "registration.h"

#include <olectl.h>
#include <rpc.h>

#include <cstring>

const CLSID CLSID_ShellExtension = { 0xdf3e5ac7, 0xfc2c, 0x4f62, { 0x99, 0xb4, 0x52, 0x34, 0xba, 0xe9, 0x3e, 0xab } };

const char* const HANDLER_NAME = "ORVINTA Shell Extension";
const char* const DRAG_DROP_HANDLER_KEY = "Folder\\shellex\\DragDropHandlers\\ORVINTA Shell Extension";
const char* const APPROVED_KEY = "Software\\Microsoft\\Windows\\CurrentVersion\\Shell Extensions\\Approved";

namespace {
const char* const CLSID_KEY = "CLSID";
const char* const INPROC_SERVER_KEY = "InprocServer32";
const char* const THREADING_MODEL = "ThreadingModel";
const char* const APARTMENT = "Apartment";

std::string ClassKeyText()
{
    return std::string(CLSID_KEY) + "\\" + ClassIdText();
}

// Sets a string value (name null: the default) under a subkey of key, which is
// created if needed; true when the value was written.
bool SetSubkeyString(HKEY key, const char* subkey, const char* name, const char* value)
{
    HKEY opened = nullptr;
    if (::RegCreateKeyExA(key, subkey, 0, const_cast<char*>(""), 0, KEY_ALL_ACCESS, nullptr, &opened, nullptr) !=
        ERROR_SUCCESS)
        return false;
    LONG status = ::RegSetValueExA(opened, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value),
                                   static_cast<DWORD>(std::strlen(value) + 1));
    ::RegCloseKey(opened);
    return status == ERROR_SUCCESS;
}
} // namespace

std::string ClassIdText()
{
    RPC_CSTR text = nullptr;
    UUID id = CLSID_ShellExtension;
    if (::UuidToStringA(&id, &text) != RPC_S_OK || !text)
        return std::string();
    std::string braced = "{" + std::string(reinterpret_cast<const char*>(text)) + "}";
    ::RpcStringFreeA(&text);
    return braced;
}

HRESULT RegisterShellExtension(const char* modulePath)
{
    std::string classId = ClassIdText();
    if (classId.empty())
        return E_FAIL;
    HKEY classKey = nullptr;
    if (::RegCreateKeyExA(HKEY_CLASSES_ROOT, ClassKeyText().c_str(), 0, const_cast<char*>(""), 0, KEY_ALL_ACCESS,
                          nullptr, &classKey, nullptr) != ERROR_SUCCESS)
        return E_FAIL;

    // Every write is tried, so a partial failure leaves as much in place as it can.
    bool written = ::RegSetValueA(classKey, nullptr, REG_SZ, HANDLER_NAME,
                                  static_cast<DWORD>(std::strlen(HANDLER_NAME) + 1)) == ERROR_SUCCESS;
    std::string path = modulePath ? modulePath : "";
    if (!path.empty())
        ::CharLowerBuffA(&path[0], static_cast<DWORD>(path.size()));
    written &= SetSubkeyString(classKey, INPROC_SERVER_KEY, nullptr, path.c_str());
    written &= SetSubkeyString(classKey, INPROC_SERVER_KEY, THREADING_MODEL, APARTMENT);
    ::RegCloseKey(classKey);
    written &= SetSubkeyString(HKEY_CLASSES_ROOT, DRAG_DROP_HANDLER_KEY, nullptr, classId.c_str());
    written &= SetSubkeyString(HKEY_LOCAL_MACHINE, APPROVED_KEY, classId.c_str(), HANDLER_NAME);
    return written ? S_OK : SELFREG_E_CLASS;
}

HRESULT UnregisterShellExtension()
{
    std::string classId = ClassIdText();
    if (classId.empty())
        return S_OK;
    ::RegDeleteKeyA(HKEY_CLASSES_ROOT, DRAG_DROP_HANDLER_KEY);
    HKEY approved = nullptr;
    if (::RegOpenKeyExA(HKEY_LOCAL_MACHINE, APPROVED_KEY, 0, KEY_ALL_ACCESS, &approved) == ERROR_SUCCESS) {
        ::RegDeleteValueA(approved, classId.c_str());
        ::RegCloseKey(approved);
    }
    std::string classKey = ClassKeyText();
    ::RegDeleteKeyA(HKEY_CLASSES_ROOT, (classKey + "\\" + INPROC_SERVER_KEY).c_str());
    ::RegDeleteKeyA(HKEY_CLASSES_ROOT, classKey.c_str());
    return S_OK;
}
