// CShellExtension: the folder drop handler. One object with one reference
// count answers IShellExtInit (what was dropped where) and IContextMenu (the
// "Com&pare" item and the command that starts ORVINTA on the two folders).
#pragma once

#include <windows.h>
#include <shlobj.h>

#include <string>

#include "framework/cmd_target.h"

// "SHLX" in memory order S, H, L, X.
constexpr DWORD SHELL_EXTENSION_SIGNATURE = 'S' | ('H' << 8) | ('L' << 16) | (static_cast<DWORD>('X') << 24);

class CShellExtension : public CCmdTarget, public IShellExtInit, public IContextMenu {
public:
    CShellExtension();
    ~CShellExtension() override;
    CShellExtension(const CShellExtension&) = delete;
    CShellExtension& operator=(const CShellExtension&) = delete;

    // The class object's creation function: a new object with its count at 1.
    static IUnknown* Create();

    // IUnknown, shared by both interfaces
    STDMETHODIMP QueryInterface(REFIID iid, void** object) override;
    STDMETHODIMP_(ULONG) AddRef() override;
    STDMETHODIMP_(ULONG) Release() override;
    // IShellExtInit
    STDMETHODIMP Initialize(LPCITEMIDLIST folder, IDataObject* data, HKEY classKey) override;
    // IContextMenu
    STDMETHODIMP QueryContextMenu(HMENU menu, UINT index, UINT firstId, UINT lastId, UINT flags) override;
    STDMETHODIMP InvokeCommand(CMINVOKECOMMANDINFO* info) override;
    STDMETHODIMP GetCommandString(UINT_PTR offset, UINT kind, UINT* reserved, LPSTR buffer, UINT size) override;

    const std::wstring& SourcePath() const { return m_sourcePath; }
    const std::wstring& MasterPath() const { return m_masterPath; }

    DECLARE_MESSAGE_MAP()

private:
    HRESULT DoInitialize(LPCITEMIDLIST folder, IDataObject* data, HKEY classKey);
    HRESULT ReadSourcePath(IDataObject* data);
    HRESULT ReadBlock(IDataObject* data, const char* formatName, bool wide);
    bool ReadDroppedFile(IDataObject* data);
    HRESULT ReadMasterPath(LPCITEMIDLIST folder);
    HRESULT DoQueryContextMenu(HMENU menu, UINT index, UINT firstId, UINT lastId, UINT flags);
    HRESULT DoInvokeCommand(CMINVOKECOMMANDINFO* info);
    void LetGoOfInitialization();

    // Runs when the user picks "Com&pare": starts ORVINTA on the two folders.
    void OnCompare();

    DWORD m_signature;
    volatile LONG m_references = 1;
    IDataObject* m_dataObject = nullptr;
    HKEY m_classKey = nullptr;
    LPCITEMIDLIST m_folder = nullptr;
    CMINVOKECOMMANDINFO* m_invocation = nullptr;
    // Wide: the shell's names whole, whatever Explorer's code page holds.
    std::wstring m_sourcePath;
    std::wstring m_masterPath;
};

// The shell's task allocator, held while the library is loaded.
IMalloc* ShellAllocator();
// The command ORVINTA is started with: its program and the parameter text.
struct CompareCommand {
    std::wstring program;
    std::wstring parameters;
};
CompareCommand BuildCompareCommand(const std::wstring& sourcePath, const std::wstring& masterPath);

// True when this Windows runs ORVINTA in UTF-8 (its manifest asks for it),
// by the version the system reports (RtlGetVersion, which no compatibility
// shim of the host process bends), or by ZEL_ORVEXT_WINDOWS_VERSION
// ("major.build") where a test sets it.
bool ProgramRunsInUtf8();
