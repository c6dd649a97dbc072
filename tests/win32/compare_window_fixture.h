// A CompareWindow on two temporary files, created and shown as the program does.
#pragma once

#include <memory>
#include <string>

#include "compare_window/compare_window.h"
#include "framework/win_app.h"
#include "test_support.h"

class CompareWindowFixture {
public:
    CompareWindowFixture(const std::string& sourceText, const std::string& masterText)
        : m_source(sourceText), m_master(masterText)
    {
        window.titleText = "fixture";
        window.sourcePath = m_source.Path();
        window.masterPath = m_master.Path();
        created = window.Create();
        if (created) {
            ::ShowWindow(window.m_hWnd, SW_SHOWNORMAL);
            ::UpdateWindow(window.m_hWnd);
            ::SetFocus(window.m_hWnd);
            AfxGetApp()->m_pMainWnd = &window;
            PumpFor(20);
        }
    }
    ~CompareWindowFixture()
    {
        AfxGetApp()->m_pMainWnd = nullptr;
        if (window.m_hWnd)
            ::DestroyWindow(window.m_hWnd);
    }
    // Runs idle processing as the program's loop does between bursts of input.
    void Idle()
    {
        AfxGetApp()->OnIdle(0);
        AfxGetApp()->OnIdle(1);
    }

    CleanSettings clean;
    TempFile m_source;
    TempFile m_master;
    CompareWindow window;
    bool created = false;
};

// Lines "prefix0\r\n" ... "prefix<count-1>\r\n".
std::string NumberedLines(const std::string& prefix, int count);
