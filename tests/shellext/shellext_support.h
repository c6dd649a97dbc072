// Helpers for driving ORVEXT the way the shell does: the library's path, a
// clean registration and App Paths entry per test, real shell data objects
// and item lists, and the recorder that stands in for ORVINTA.
#pragma once

#include <windows.h>
#include <shlobj.h>

#include <doctest/doctest.h>

#include <functional>
#include <string>
#include <vector>

#include "tests/win32/message_pump.h"

// Test texts are UTF-8 (paths in the prefix are ASCII, so they are ANSI as well).
std::wstring Wide(const std::string& text);
std::string Utf8(const std::wstring& text);

// ORVINTA's settings key, removed now and at the end (ORVINTA writes it on exit).
class CleanProgramSettings {
public:
    CleanProgramSettings();
    ~CleanProgramSettings();
    CleanProgramSettings(const CleanProgramSettings&) = delete;
    CleanProgramSettings& operator=(const CleanProgramSettings&) = delete;
};

// The file next to the test program (ORVEXT.DLL, ORVINTA.EXE, the recorder).
std::string BesideTests(const char* name);

// The class identifier text and the five entries' locations.
std::string OrvextClassId();
std::string ClassKeyPath();
extern const char* const DROP_HANDLER_KEY;
extern const char* const APPROVED_KEY_PATH;
extern const char* const APP_PATH_KEY_PATH;

// Removes every entry of ORVEXT's registration now and at the end, and puts
// ORVINTA's App Paths entry back as it was.
class CleanRegistration {
public:
    CleanRegistration();
    ~CleanRegistration();
    CleanRegistration(const CleanRegistration&) = delete;
    CleanRegistration& operator=(const CleanRegistration&) = delete;

private:
    bool m_hadAppPath = false;
    std::string m_appPath;
};
void RemoveRegistration();
// Sets (or with nullptr removes) the default value of ORVINTA's App Paths key.
void SetAppPath(const char* program);

// A REG_SZ value (name null: the default); "<absent>" when there is none.
std::string ReadString(HKEY root, const std::string& key, const char* name);
bool KeyExists(HKEY root, const std::string& key);

// Starts a program of the prefix and waits for it (bounded); its exit code, or -1.
int RunAndWait(const std::string& commandLine, DWORD timeoutMilliseconds = 60000);

// A fresh directory tree under the temporary directory, removed at the end.
class TempTree {
public:
    TempTree();
    ~TempTree();
    TempTree(const TempTree&) = delete;
    TempTree& operator=(const TempTree&) = delete;
    const std::string& Path() const { return m_path; }
    // Makes a directory below the root (a UTF-8 name); its full path.
    std::string MakeDirectory(const std::string& name) const;

private:
    std::string m_path;
};

// An absolute item list for a path (freed with CoTaskMemFree); null on failure.
LPITEMIDLIST ItemListOf(const std::string& path);
// The shell's own data object for items of one folder, as a drag carries it.
IDataObject* ShellDataObject(const std::vector<std::string>& paths);

// The command line words the recorder wrote, one per line; empty if it never ran.
class Recorder {
public:
    Recorder();
    ~Recorder();
    Recorder(const Recorder&) = delete;
    Recorder& operator=(const Recorder&) = delete;
    // Waits (bounded) until the recorder has written its file.
    bool WaitForRun(DWORD timeoutMilliseconds = 20000) const;
    std::vector<std::string> Arguments() const;
    bool Ran() const;

private:
    std::string m_output;
};

// Holds an interface pointer and releases it at the end.
template <typename Interface>
class ComPtr {
public:
    ComPtr() = default;
    explicit ComPtr(Interface* pointer) : m_pointer(pointer) {}
    ~ComPtr() { Reset(); }
    ComPtr(const ComPtr&) = delete;
    ComPtr& operator=(const ComPtr&) = delete;
    Interface* operator->() const { return m_pointer; }
    Interface* Get() const { return m_pointer; }
    Interface** Out() { Reset(); return &m_pointer; }
    void** OutVoid() { return reinterpret_cast<void**>(Out()); }
    void Reset()
    {
        if (m_pointer)
            m_pointer->Release();
        m_pointer = nullptr;
    }

private:
    Interface* m_pointer = nullptr;
};

// Lists of command-line words read as such in failure messages.
namespace doctest {
template <>
struct StringMaker<std::vector<std::string>> {
    static String convert(const std::vector<std::string>& words)
    {
        std::string text = "[";
        for (const std::string& word : words)
            text += (text.size() > 1 ? ", \"" : "\"") + word + "\"";
        return String((text + "]").c_str());
    }
};
} // namespace doctest
