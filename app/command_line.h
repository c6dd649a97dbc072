// The program's command line: ORVINTA [Source] [Master].
#pragma once

#include <string>

#include "framework/command_line_info.h"

class CommandLine : public CCommandLineInfo {
public:
    void ParseParam(const char* param, bool flag, bool last) override;

    std::string sourcePath;
    std::string masterPath;
    int plainCount = 0;
};
