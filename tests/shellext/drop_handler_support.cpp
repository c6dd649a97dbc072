#include "drop_handler_support.h"

#include <doctest/doctest.h>

#include <cstring>

const CLSID CLSID_ORVEXT = { 0xdf3e5ac7, 0xfc2c, 0x4f62, { 0x99, 0xb4, 0x52, 0x34, 0xba, 0xe9, 0x3e, 0xab } };

namespace {
HRESULT CallExport(const char* name)
{
    HMODULE module = ::LoadLibraryA(BesideTests("ORVEXT.DLL").c_str());
    if (!module)
        return E_FAIL;
    auto function = reinterpret_cast<HRESULT(STDAPICALLTYPE*)()>(reinterpret_cast<void*>(::GetProcAddress(module, name)));
    HRESULT result = function ? function() : E_FAIL;
    ::FreeLibrary(module);
    return result;
}
} // namespace

RegisteredOrvext::RegisteredOrvext()
{
    REQUIRE(CallExport("DllRegisterServer") == S_OK);
}

RegisteredOrvext::~RegisteredOrvext()
{
    CallExport("DllUnregisterServer");
}

HRESULT OrvextCanUnloadNow()
{
    HMODULE module = ::GetModuleHandleA("ORVEXT.DLL");
    if (!module)
        return S_OK;
    auto function =
        reinterpret_cast<HRESULT(STDAPICALLTYPE*)()>(reinterpret_cast<void*>(::GetProcAddress(module, "DllCanUnloadNow")));
    return function ? function() : E_FAIL;
}

ULONG KeyHandleCount(HKEY key)
{
    // The basic information class (0) of NtQueryObject, as the system lays it out.
    struct BasicInformation {
        ULONG attributes;
        ACCESS_MASK grantedAccess;
        ULONG handleCount;
        ULONG pointerCount;
        ULONG reserved[10];
    };
    using QueryObject = LONG(WINAPI*)(HANDLE, int, void*, ULONG, ULONG*);
    auto query = reinterpret_cast<QueryObject>(
        reinterpret_cast<void*>(::GetProcAddress(::GetModuleHandleA("ntdll.dll"), "NtQueryObject")));
    BasicInformation information = {};
    ULONG length = 0;
    if (!query || query(key, 0, &information, sizeof information, &length) != 0)
        return 0;
    return information.handleCount;
}

Handler::Handler()
{
    REQUIRE(::CoCreateInstance(CLSID_ORVEXT, nullptr, CLSCTX_INPROC_SERVER, IID_IShellExtInit, init.OutVoid()) ==
            S_OK);
    REQUIRE(init->QueryInterface(IID_IContextMenu, menu.OutVoid()) == S_OK);
}

HRESULT InvokeVerb(IContextMenu* menu, const char* verb)
{
    CMINVOKECOMMANDINFO info = {};
    info.cbSize = sizeof info;
    info.lpVerb = verb;
    info.nShow = SW_SHOWNORMAL;
    return menu->InvokeCommand(&info);
}

HRESULT InvokeOffset(IContextMenu* menu, UINT offset)
{
    return InvokeVerb(menu, MAKEINTRESOURCEA(offset));
}

HRESULT InitializeDrop(IShellExtInit* init, const std::vector<std::string>& dragged, const std::string& target)
{
    ComPtr<IDataObject> data(ShellDataObject(dragged));
    REQUIRE(data.Get());
    LPITEMIDLIST folder = ItemListOf(target);
    REQUIRE(folder);
    HRESULT result = init->Initialize(folder, data.Get(), nullptr);
    ::CoTaskMemFree(folder);
    return result;
}

TestDataObject::TestDataObject(IDataObject* inner) : m_inner(inner)
{
    if (m_inner)
        m_inner->AddRef();
}

TestDataObject::TestDataObject(const std::string& bytes, DWORD tymed)
    : m_hasBytes(true), m_bytes(bytes), m_tymed(tymed)
{
}

TestDataObject::~TestDataObject()
{
    if (m_inner)
        m_inner->Release();
}

STDMETHODIMP TestDataObject::QueryInterface(REFIID iid, void** object)
{
    if (::IsEqualIID(iid, IID_IUnknown) || ::IsEqualIID(iid, IID_IDataObject)) {
        *object = static_cast<IDataObject*>(this);
        AddRef();
        return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
}

STDMETHODIMP_(ULONG) TestDataObject::AddRef()
{
    return static_cast<ULONG>(++m_references);
}

// Tests own these objects on the stack: the count is only watched, never acted on.
STDMETHODIMP_(ULONG) TestDataObject::Release()
{
    return static_cast<ULONG>(--m_references);
}

STDMETHODIMP TestDataObject::GetData(FORMATETC* format, STGMEDIUM* medium)
{
    if (m_inner)
        return m_inner->GetData(format, medium);
    if (!m_hasBytes || format->cfFormat != ::RegisterClipboardFormatA("Filename"))
        return DV_E_FORMATETC;
    std::memset(medium, 0, sizeof *medium);
    if (m_tymed != TYMED_HGLOBAL) {
        // A medium the handler cannot read: an (empty) stream.
        IStream* stream = nullptr;
        if (FAILED(::CreateStreamOnHGlobal(nullptr, TRUE, &stream)))
            return E_OUTOFMEMORY;
        medium->tymed = TYMED_ISTREAM;
        medium->pstm = stream;
        return S_OK;
    }
    HGLOBAL block = ::GlobalAlloc(GMEM_MOVEABLE, m_bytes.size());
    if (!block)
        return E_OUTOFMEMORY;
    std::memcpy(::GlobalLock(block), m_bytes.data(), m_bytes.size());
    ::GlobalUnlock(block);
    medium->tymed = TYMED_HGLOBAL;
    medium->hGlobal = block;
    return S_OK;
}
