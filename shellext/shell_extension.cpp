#include "shell_extension.h"

#include <shellapi.h>

#include <cstdio>
#include <new>

#include "framework/ole_object_factory.h"
#include "orvext_resource.h"
#include "shell_text.h"

extern HINSTANCE g_orvextInstance;

namespace {
// Verb strings, by command offset.
const char* const VERBS[] = { "compare" };

const wchar_t* const APP_PATH_KEY = L"Software\\Microsoft\\Windows\\CurrentVersion\\App Paths\\ORVINTA.EXE";
const wchar_t* const PROGRAM_NAME = L"ORVINTA.EXE";

// Every exception stops at the interface: the host process is the shell's.
template <typename Body>
HRESULT Guarded(Body body)
{
    try {
        return body();
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    } catch (...) {
        return E_UNEXPECTED;
    }
}
} // namespace

BEGIN_MESSAGE_MAP(CShellExtension, CCmdTarget)
    ON_COMMAND(ID_COMPARE, OnCompare)
END_MESSAGE_MAP()

CShellExtension::CShellExtension() : m_signature(SHELL_EXTENSION_SIGNATURE)
{
    AfxOleLockApp();
}

CShellExtension::~CShellExtension()
{
    m_signature = 0;
    LetGoOfInitialization();
    AfxOleUnlockApp();
}

IUnknown* CShellExtension::Create()
{
    CShellExtension* object = new (std::nothrow) CShellExtension;
    return object ? static_cast<IShellExtInit*>(object) : nullptr;
}

STDMETHODIMP CShellExtension::QueryInterface(REFIID iid, void** object)
{
    if (!object)
        return E_POINTER;
    if (::IsEqualIID(iid, IID_IUnknown) || ::IsEqualIID(iid, IID_IShellExtInit))
        *object = static_cast<IShellExtInit*>(this);
    else if (::IsEqualIID(iid, IID_IContextMenu))
        *object = static_cast<IContextMenu*>(this);
    else {
        *object = nullptr;
        return E_NOINTERFACE;
    }
    AddRef();
    return S_OK;
}

STDMETHODIMP_(ULONG) CShellExtension::AddRef()
{
    return static_cast<ULONG>(::InterlockedIncrement(&m_references));
}

STDMETHODIMP_(ULONG) CShellExtension::Release()
{
    LONG left = ::InterlockedDecrement(&m_references);
    if (left == 0)
        delete this;
    return static_cast<ULONG>(left);
}

void CShellExtension::LetGoOfInitialization()
{
    if (m_dataObject) {
        m_dataObject->Release();
        m_dataObject = nullptr;
    }
    if (m_classKey) {
        ::RegCloseKey(m_classKey);
        m_classKey = nullptr;
    }
}

STDMETHODIMP CShellExtension::Initialize(LPCITEMIDLIST folder, IDataObject* data, HKEY classKey)
{
    return Guarded([&] { return DoInitialize(folder, data, classKey); });
}

HRESULT CShellExtension::DoInitialize(LPCITEMIDLIST folder, IDataObject* data, HKEY classKey)
{
    LetGoOfInitialization();
    if (classKey) {
        HKEY copy = nullptr;
        if (::RegOpenKeyExA(classKey, nullptr, 0, MAXIMUM_ALLOWED, &copy) == ERROR_SUCCESS)
            m_classKey = copy;
    }
    m_folder = folder;
    if (data) {
        data->AddRef();
        m_dataObject = data;
    }
    HRESULT result = ReadSourcePath(data);
    if (FAILED(result))
        return result;
    return ReadMasterPath(folder);
}

// The first dragged item's path, wide, so that a name outside Explorer's code
// page arrives whole: from the drop list (CF_HDROP), else "FileNameW", else
// the ANSI "Filename".
HRESULT CShellExtension::ReadSourcePath(IDataObject* data)
{
    if (!data)
        return E_FAIL;
    if (ReadDroppedFile(data))
        return S_OK;
    HRESULT result = ReadBlock(data, "FileNameW", true);
    return result == E_FAIL ? ReadBlock(data, "Filename", false) : result;
}

bool CShellExtension::ReadDroppedFile(IDataObject* data)
{
    FORMATETC format = { CF_HDROP, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL };
    STGMEDIUM medium = {};
    if (FAILED(data->GetData(&format, &medium)))
        return false;
    bool read = false;
    if (medium.tymed == TYMED_HGLOBAL && medium.hGlobal) {
        HDROP drop = static_cast<HDROP>(medium.hGlobal);
        UINT length = ::DragQueryFileW(drop, 0, nullptr, 0);
        if (length > 0 && length <= MAX_SHELL_PATH) {
            std::wstring path(length + 1, L'\0');
            UINT got = ::DragQueryFileW(drop, 0, &path[0], length + 1);
            if (got > 0 && got <= length) {
                path.resize(got);
                m_sourcePath = std::move(path);
                read = true;
            }
        }
    }
    ::ReleaseStgMedium(&medium);
    return read;
}

// One path from a text block of the named format; E_FAIL when the data object
// has none.
HRESULT CShellExtension::ReadBlock(IDataObject* data, const char* formatName, bool wide)
{
    FORMATETC format = { static_cast<CLIPFORMAT>(::RegisterClipboardFormatA(formatName)), nullptr, DVASPECT_CONTENT,
                         -1, TYMED_HGLOBAL };
    STGMEDIUM medium = {};
    if (FAILED(data->GetData(&format, &medium)))
        return E_FAIL;
    // Only a global block can be read; anything else is as good as no path.
    if (medium.tymed != TYMED_HGLOBAL || !medium.hGlobal) {
        ::ReleaseStgMedium(&medium);
        return E_FAIL;
    }
    const void* block = ::GlobalLock(medium.hGlobal);
    if (!block) {
        ::ReleaseStgMedium(&medium);
        return E_OUTOFMEMORY;
    }
    HRESULT result = S_OK;
    try {
        SIZE_T size = ::GlobalSize(medium.hGlobal);
        m_sourcePath = wide ? WideTextOfGlobalBlock(block, size) : WidenAnsi(TextOfGlobalBlock(block, size));
    } catch (...) {
        result = E_OUTOFMEMORY;
    }
    ::GlobalUnlock(medium.hGlobal);
    ::ReleaseStgMedium(&medium);
    return result;
}

// The drop target's full file-system path, from the desktop's parsing name.
HRESULT CShellExtension::ReadMasterPath(LPCITEMIDLIST folder)
{
    if (!folder)
        return E_INVALIDARG;
    IShellFolder* desktop = nullptr;
    HRESULT result = ::SHGetDesktopFolder(&desktop);
    if (FAILED(result))
        return result;
    if (!desktop)
        return E_FAIL;
    STRRET name = {};
    name.uType = STRRET_CSTR;
    result = desktop->GetDisplayNameOf(folder, SHGDN_FORPARSING, &name);
    if (SUCCEEDED(result)) {
        try {
            TextOfStrRet(name, folder, ShellAllocator(), m_masterPath);
        } catch (...) {
            result = E_OUTOFMEMORY;
        }
    }
    desktop->Release();
    return result;
}

STDMETHODIMP CShellExtension::QueryContextMenu(HMENU menu, UINT index, UINT firstId, UINT lastId, UINT flags)
{
    return Guarded([&] { return DoQueryContextMenu(menu, index, firstId, lastId, flags); });
}

HRESULT CShellExtension::DoQueryContextMenu(HMENU menu, UINT index, UINT firstId, UINT lastId, UINT flags)
{
    if (flags & (CMF_DEFAULTONLY | CMF_VERBSONLY))
        return MAKE_HRESULT(SEVERITY_SUCCESS, 0, 0);
    if (!::IsMenu(menu))
        return E_INVALIDARG;

    // The item goes before the shell's first separator, else before its last item.
    int count = ::GetMenuItemCount(menu);
    int anchor = count - 1;
    for (int position = 0; position < count; ++position) {
        MENUITEMINFOA item = {};
        item.cbSize = sizeof item;
        item.fMask = MIIM_TYPE;
        if (::GetMenuItemInfoA(menu, static_cast<UINT>(position), TRUE, &item) && (item.fType & MFT_SEPARATOR)) {
            anchor = position;
            break;
        }
    }

    HMENU loaded = ::LoadMenuA(g_orvextInstance, MAKEINTRESOURCEA(IDR_DROP_MENU));
    if (!loaded)
        return E_FAIL;
    HMENU popup = ::GetSubMenu(loaded, 0);
    UINT inserted = 0;
    // A position past the end (an empty menu gives -1) appends, as InsertMenu does.
    UINT position = index + static_cast<UINT>(anchor);
    int popupCount = popup ? ::GetMenuItemCount(popup) : 0;
    for (int item = 0; item < popupCount; ++item) {
        UINT id = ::GetMenuItemID(popup, item);
        if (id == 0) {
            ::InsertMenuA(menu, position++, MF_SEPARATOR | MF_BYPOSITION, 0, nullptr);
            continue;
        }
        if (id == static_cast<UINT>(-1))
            continue; // no submenus in the drop menu
        if (firstId + inserted >= lastId)
            break;
        char text[256] = "";
        ::GetMenuStringA(loaded, id, text, sizeof text, MF_BYCOMMAND);
        if (::InsertMenuA(menu, position, MF_STRING | MF_BYPOSITION, firstId + inserted, text)) {
            ++position;
            ++inserted;
        }
    }
    ::DestroyMenu(loaded);
    return MAKE_HRESULT(SEVERITY_SUCCESS, 0, inserted);
}

STDMETHODIMP CShellExtension::InvokeCommand(CMINVOKECOMMANDINFO* info)
{
    return Guarded([&] { return DoInvokeCommand(info); });
}

HRESULT CShellExtension::DoInvokeCommand(CMINVOKECOMMANDINFO* info)
{
    if (!info || info->cbSize < sizeof(CMINVOKECOMMANDINFO))
        return E_INVALIDARG;
    UINT offset = 0;
    if (IS_INTRESOURCE(info->lpVerb)) {
        offset = LOWORD(reinterpret_cast<ULONG_PTR>(info->lpVerb));
    } else {
        bool found = false;
        for (UINT verb = 0; verb < sizeof VERBS / sizeof VERBS[0]; ++verb) {
            if (::lstrcmpiA(info->lpVerb, VERBS[verb]) == 0) {
                offset = verb;
                found = true;
                break;
            }
        }
        if (!found)
            return E_FAIL;
    }
    m_invocation = info;
    // Only the first offset has a command; the others do nothing, successfully.
    OnCmdMsg(ID_COMPARE + offset, 0);
    m_invocation = nullptr;
    return S_OK;
}

STDMETHODIMP CShellExtension::GetCommandString(UINT_PTR, UINT, UINT*, LPSTR, UINT)
{
    return E_FAIL;
}

CompareCommand BuildCompareCommand(const std::wstring& sourcePath, const std::wstring& masterPath)
{
    CompareCommand command;
    // The last unit is never handed out, so the text always ends in a zero.
    wchar_t program[MAX_PATH + 1] = L"";
    LONG size = MAX_PATH * sizeof(wchar_t);
    if (::RegQueryValueW(HKEY_LOCAL_MACHINE, APP_PATH_KEY, program, &size) == ERROR_SUCCESS) {
        command.program = program;
        // Some installers write the path in quotes; the file name must not have them.
        if (command.program.size() >= 2 && command.program.front() == L'"' && command.program.back() == L'"')
            command.program = command.program.substr(1, command.program.size() - 2);
    }
    if (command.program.empty())
        command.program = PROGRAM_NAME;
    bool utf8 = ProgramRunsInUtf8();
    command.parameters = QuoteArgument(PathForProgram(sourcePath, utf8)) + L" " +
                         QuoteArgument(PathForProgram(masterPath, utf8));
    return command;
}

bool ProgramRunsInUtf8()
{
    // Tests name a Windows version here ("major.build"): Wine reports the
    // version its prefix is set to, while it runs every manifest in UTF-8.
    char named[32] = "";
    DWORD length = ::GetEnvironmentVariableA("ZEL_ORVEXT_WINDOWS_VERSION", named, sizeof named);
    unsigned long major = 0, build = 0;
    if (length > 0 && length < sizeof named && std::sscanf(named, "%lu.%lu", &major, &build) == 2)
        return RunsAnsiProgramsInUtf8(major, build);
    using GetVersion = LONG(WINAPI*)(OSVERSIONINFOW*);
    auto rtlGetVersion = reinterpret_cast<GetVersion>(
        reinterpret_cast<void*>(::GetProcAddress(::GetModuleHandleW(L"ntdll.dll"), "RtlGetVersion")));
    OSVERSIONINFOW version = {};
    version.dwOSVersionInfoSize = sizeof version;
    if (!rtlGetVersion || rtlGetVersion(&version) != 0)
        return false;
    return RunsAnsiProgramsInUtf8(version.dwMajorVersion, version.dwBuildNumber);
}

void CShellExtension::OnCompare()
{
    CompareCommand command = BuildCompareCommand(m_sourcePath, m_masterPath);
    SHELLEXECUTEINFOW execute = {};
    execute.cbSize = sizeof execute;
    // The library never shows a message, not even the shell's own failure box.
    execute.fMask = SEE_MASK_FLAG_NO_UI;
    execute.hwnd = m_invocation ? m_invocation->hwnd : nullptr;
    execute.lpFile = command.program.c_str();
    execute.lpParameters = command.parameters.c_str();
    execute.nShow = m_invocation ? m_invocation->nShow : SW_SHOWNORMAL;
    ::ShellExecuteExW(&execute);
}
