#include "ole_object_factory.h"

#include <new>

namespace {
COleObjectFactory* g_firstFactory = nullptr;
volatile LONG g_lockCount = 0;

// The list's lock. Factories link themselves in while the loader runs the
// module's static constructors, which is single-threaded; afterwards the list
// is only read, under this lock.
class FactoryListLock {
public:
    FactoryListLock() { ::InitializeCriticalSection(&m_section); }
    ~FactoryListLock() { ::DeleteCriticalSection(&m_section); }
    void Enter() { ::EnterCriticalSection(&m_section); }
    void Leave() { ::LeaveCriticalSection(&m_section); }

private:
    CRITICAL_SECTION m_section;
};
FactoryListLock g_listLock;

class ListGuard {
public:
    ListGuard() { g_listLock.Enter(); }
    ~ListGuard() { g_listLock.Leave(); }
    ListGuard(const ListGuard&) = delete;
    ListGuard& operator=(const ListGuard&) = delete;
};
} // namespace

void AfxOleLockApp()
{
    ::InterlockedIncrement(&g_lockCount);
}

void AfxOleUnlockApp()
{
    ::InterlockedDecrement(&g_lockCount);
}

LONG AfxOleGetLockCount()
{
    return ::InterlockedCompareExchange(&g_lockCount, 0, 0);
}

COleObjectFactory::COleObjectFactory(REFCLSID clsid, CreateFunction create, const char* progId)
    : m_clsid(clsid), m_create(create), m_progId(progId), m_next(g_firstFactory)
{
    g_firstFactory = this;
}

COleObjectFactory::~COleObjectFactory()
{
    for (COleObjectFactory** link = &g_firstFactory; *link; link = &(*link)->m_next) {
        if (*link == this) {
            *link = m_next;
            break;
        }
    }
}

STDMETHODIMP COleObjectFactory::QueryInterface(REFIID iid, void** object)
{
    if (!object)
        return E_POINTER;
    if (::IsEqualIID(iid, IID_IUnknown) || ::IsEqualIID(iid, IID_IClassFactory)) {
        *object = static_cast<IClassFactory*>(this);
        AddRef();
        return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
}

STDMETHODIMP_(ULONG) COleObjectFactory::AddRef()
{
    return static_cast<ULONG>(::InterlockedIncrement(&m_references));
}

// The factory is static: the last outside Release only returns it to the module.
STDMETHODIMP_(ULONG) COleObjectFactory::Release()
{
    return static_cast<ULONG>(::InterlockedDecrement(&m_references));
}

STDMETHODIMP COleObjectFactory::CreateInstance(IUnknown* outer, REFIID iid, void** object)
{
    if (!object)
        return E_POINTER;
    *object = nullptr;
    if (outer)
        return CLASS_E_NOAGGREGATION;
    IUnknown* created = nullptr;
    try {
        created = m_create();
    } catch (...) {
        created = nullptr;
    }
    if (!created)
        return E_OUTOFMEMORY;
    // The caller keeps the only reference; an unknown interface destroys the object.
    HRESULT result = created->QueryInterface(iid, object);
    created->Release();
    return result;
}

STDMETHODIMP COleObjectFactory::LockServer(BOOL lock)
{
    if (lock)
        AfxOleLockApp();
    else
        AfxOleUnlockApp();
    return S_OK;
}

void COleObjectFactory::RegisterAll()
{
    ListGuard guard;
    for (COleObjectFactory* factory = g_firstFactory; factory; factory = factory->m_next)
        factory->m_registered = true;
}

HRESULT COleObjectFactory::GetClassObject(REFCLSID clsid, REFIID iid, void** object)
{
    if (!object)
        return E_POINTER;
    *object = nullptr;
    ListGuard guard;
    for (COleObjectFactory* factory = g_firstFactory; factory; factory = factory->m_next) {
        if (factory->m_registered && ::IsEqualCLSID(factory->m_clsid, clsid))
            return factory->QueryInterface(iid, object);
    }
    return CLASS_E_CLASSNOTAVAILABLE;
}

bool COleObjectFactory::AnyFactoryInUse()
{
    ListGuard guard;
    for (COleObjectFactory* factory = g_firstFactory; factory; factory = factory->m_next) {
        if (factory->ReferenceCount() > 1)
            return true;
    }
    return false;
}
