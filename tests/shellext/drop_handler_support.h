// A registered ORVEXT created through COM, and data objects the tests control.
#pragma once

#include <windows.h>
#include <shlobj.h>

#include <string>

#include "shellext_support.h"

extern const CLSID CLSID_ORVEXT;

// Registers ORVEXT for the test's lifetime (the registration is removed after).
class RegisteredOrvext {
public:
    RegisteredOrvext();
    ~RegisteredOrvext();
    RegisteredOrvext(const RegisteredOrvext&) = delete;
    RegisteredOrvext& operator=(const RegisteredOrvext&) = delete;

private:
    CleanRegistration m_clean;
};

// DllCanUnloadNow of the loaded library (S_OK also when it is not loaded).
HRESULT OrvextCanUnloadNow();

// How many handles the system counts on the object behind a key handle; 0
// when it cannot tell.
ULONG KeyHandleCount(HKEY key);

// A handler created through the registry, as the shell creates it.
struct Handler {
    ComPtr<IShellExtInit> init;
    ComPtr<IContextMenu> menu;
    Handler();
};

// Runs the handler's command by verb (a string) or by offset.
HRESULT InvokeVerb(IContextMenu* menu, const char* verb);
HRESULT InvokeOffset(IContextMenu* menu, UINT offset);

// Initialize with the shell's data object for the dragged paths and the
// target folder's item list, as a drop does it.
HRESULT InitializeDrop(IShellExtInit* init, const std::vector<std::string>& dragged, const std::string& target);

// A data object that counts its references and, if given bytes, offers them
// as the "Filename" format in a global block of exactly that size; with an
// inner object it answers with the inner object's data.
class TestDataObject : public IDataObject {
public:
    explicit TestDataObject(IDataObject* inner = nullptr);
    TestDataObject(const std::string& bytes, DWORD tymed);
    virtual ~TestDataObject();
    LONG References() const { return m_references; }

    STDMETHODIMP QueryInterface(REFIID iid, void** object) override;
    STDMETHODIMP_(ULONG) AddRef() override;
    STDMETHODIMP_(ULONG) Release() override;
    STDMETHODIMP GetData(FORMATETC* format, STGMEDIUM* medium) override;
    STDMETHODIMP GetDataHere(FORMATETC*, STGMEDIUM*) override { return E_NOTIMPL; }
    STDMETHODIMP QueryGetData(FORMATETC*) override { return E_NOTIMPL; }
    STDMETHODIMP GetCanonicalFormatEtc(FORMATETC*, FORMATETC*) override { return E_NOTIMPL; }
    STDMETHODIMP SetData(FORMATETC*, STGMEDIUM*, BOOL) override { return E_NOTIMPL; }
    STDMETHODIMP EnumFormatEtc(DWORD, IEnumFORMATETC**) override { return E_NOTIMPL; }
    STDMETHODIMP DAdvise(FORMATETC*, DWORD, IAdviseSink*, DWORD*) override { return E_NOTIMPL; }
    STDMETHODIMP DUnadvise(DWORD) override { return E_NOTIMPL; }
    STDMETHODIMP EnumDAdvise(IEnumSTATDATA**) override { return E_NOTIMPL; }

private:
    LONG m_references = 1;
    IDataObject* m_inner = nullptr;
    bool m_hasBytes = false;
    std::string m_bytes;
    DWORD m_tymed = TYMED_HGLOBAL;
};
