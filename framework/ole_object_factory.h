// COleObjectFactory: the class object of an in-process COM server. Each static
// instance links itself into the module's list; DllGetClassObject and
// DllCanUnloadNow walk that list under its lock. The module's lock count
// (live objects plus LockServer calls) lives here too, so that a server counts
// its locks in one place.
#pragma once

#include <windows.h>
#include <objbase.h>

class COleObjectFactory : public IClassFactory {
public:
    // Makes one object with its reference count at 1; null when out of memory.
    using CreateFunction = IUnknown* (*)();

    COleObjectFactory(REFCLSID clsid, CreateFunction create, const char* progId);
    ~COleObjectFactory();
    COleObjectFactory(const COleObjectFactory&) = delete;
    COleObjectFactory& operator=(const COleObjectFactory&) = delete;

    // IUnknown
    STDMETHODIMP QueryInterface(REFIID iid, void** object) override;
    STDMETHODIMP_(ULONG) AddRef() override;
    STDMETHODIMP_(ULONG) Release() override;
    // IClassFactory
    STDMETHODIMP CreateInstance(IUnknown* outer, REFIID iid, void** object) override;
    STDMETHODIMP LockServer(BOOL lock) override;

    // Marks every factory of the module as ready to hand out (library start-up).
    static void RegisterAll();
    // DllGetClassObject: the registered factory of that class, asked for iid.
    static HRESULT GetClassObject(REFCLSID clsid, REFIID iid, void** object);
    // True while a factory is referenced from outside the module.
    static bool AnyFactoryInUse();

    const CLSID& ClassId() const { return m_clsid; }
    const char* ProgId() const { return m_progId; }
    bool IsRegistered() const { return m_registered; }
    ULONG ReferenceCount() const { return static_cast<ULONG>(m_references); }

private:
    CLSID m_clsid;
    CreateFunction m_create;
    const char* m_progId;
    bool m_registered = false;
    volatile LONG m_references = 1; // the module's own
    COleObjectFactory* m_next = nullptr;
};

// The module's lock count: live objects and LockServer(TRUE) calls.
void AfxOleLockApp();
void AfxOleUnlockApp();
LONG AfxOleGetLockCount();
