// CCommandLineInfo: receives the parameters of the command line one by one.
#pragma once

class CCommandLineInfo {
public:
    virtual ~CCommandLineInfo() = default;
    // param has its leading "/" or "-" removed when flag is true.
    virtual void ParseParam(const char* param, bool flag, bool last) = 0;
};
