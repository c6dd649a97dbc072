// Puts a recorder in place of WinHelp while it lives.
#pragma once

#include <string>
#include <vector>

#include "common/help.h"

struct RecordedHelpCall {
    HWND owner;
    std::string file;
    UINT command;
    ULONG_PTR data;
};

class HelpRecorder {
public:
    HelpRecorder()
    {
        Calls().clear();
        m_previous = SetWinHelpCall(Record);
    }
    ~HelpRecorder() { SetWinHelpCall(m_previous); }
    const std::vector<RecordedHelpCall>& Seen() const { return Calls(); }

private:
    static std::vector<RecordedHelpCall>& Calls()
    {
        static std::vector<RecordedHelpCall> calls;
        return calls;
    }
    static BOOL WINAPI Record(HWND owner, LPCSTR file, UINT command, ULONG_PTR data)
    {
        Calls().push_back({ owner, file ? file : "", command, data });
        return TRUE;
    }
    WinHelpCall m_previous;
};
