// Puts a recorder in place of WinHelp and of HTML Help while it lives.
#pragma once

#include <string>
#include <vector>

#include "common/help.h"

struct RecordedHelpCall {
    bool htmlHelp;
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
        m_previousHtml = SetHtmlHelpCall(RecordHtml);
    }
    ~HelpRecorder()
    {
        SetWinHelpCall(m_previous);
        SetHtmlHelpCall(m_previousHtml);
    }
    const std::vector<RecordedHelpCall>& Seen() const { return Calls(); }

private:
    static std::vector<RecordedHelpCall>& Calls()
    {
        static std::vector<RecordedHelpCall> calls;
        return calls;
    }
    static BOOL WINAPI Record(HWND owner, LPCSTR file, UINT command, ULONG_PTR data)
    {
        Calls().push_back({ false, owner, file ? file : "", command, data });
        return TRUE;
    }
    static HWND WINAPI RecordHtml(HWND caller, LPCSTR file, UINT command, DWORD_PTR data)
    {
        Calls().push_back({ true, caller, file ? file : "", command, data });
        return nullptr;
    }
    WinHelpCall m_previous;
    HtmlHelpCall m_previousHtml;
};
