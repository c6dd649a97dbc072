// Helpers for driving real windows under Wine: bounded pumping, answering
// message boxes, temporary files and a clean settings key per test.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "tests/win32/message_pump.h"

// Watches this thread for dialogs and message boxes while it lives; each one
// that appears is recorded (caption and text) and answered with the next
// button of the script (or IDCANCEL/IDOK when the script has run out).
class DialogAnswerer {
public:
    explicit DialogAnswerer(std::vector<int> buttons = {});
    ~DialogAnswerer();

    struct Seen {
        std::string caption;
        std::string text;
    };
    const std::vector<Seen>& Seen_() const { return m_seen; }
    size_t Count() const { return m_seen.size(); }
    const Seen& At(size_t index) const { return m_seen.at(index); }

private:
    static void CALLBACK OnTimer(HWND, UINT, UINT_PTR, DWORD);
    void Check();

    std::vector<int> m_buttons;
    size_t m_next = 0;
    std::vector<Seen> m_seen;
    std::vector<HWND> m_answered;
    UINT_PTR m_timer = 0;
};

// A file under the temporary directory, removed when the object goes.
class TempFile {
public:
    explicit TempFile(const std::string& content, const std::string& suffix = ".txt");
    ~TempFile();
    const std::string& Path() const { return m_path; }

private:
    std::string m_path;
};

// A fresh directory under the temporary directory, removed (with its files) at the end.
class TempDirectory {
public:
    TempDirectory();
    ~TempDirectory();
    const std::string& Path() const { return m_path; }
    std::string Write(const std::string& name, const std::string& content) const;

private:
    std::string m_path;
};

std::string ReadWholeFile(const std::string& path);

// Deletes HKCU\Software\Brindlecote Software\ORVINTA now and again at the end.
class CleanSettings {
public:
    CleanSettings();
    ~CleanSettings();
};

// Reads a value under HKCU\Software\Brindlecote Software\ORVINTA\<section>.
struct RegistryValue {
    bool exists = false;
    DWORD type = 0;
    std::vector<BYTE> data;
    DWORD AsDword() const;
    std::string AsString() const;
};
RegistryValue ReadSetting(const char* section, const char* name);
void WriteRawSetting(const char* section, const char* name, DWORD type, const void* data, DWORD size);
bool SectionKeyExists(const char* section);

// The colour of one pixel of a window's client area, as painted on screen.
COLORREF ClientPixel(HWND window, int x, int y);
// Gives both files one fixed last-write time.
void SameWriteTime(const std::string& first, const std::string& second);

// The Linux name of a Windows path, from Wine's own export ("" elsewhere).
std::string UnixPath(const std::string& path);
// Starts a Linux shell command (Wine starts Unix programs too). There is no
// handle to wait on for such a process: callers poll for its effect.
bool StartLinuxCommand(const std::string& command);
