#include "command_line.h"

void CommandLine::ParseParam(const char* param, bool flag, bool)
{
    if (flag)
        return;
    if (plainCount == 0)
        sourcePath = param;
    else if (plainCount == 1)
        masterPath = param;
    ++plainCount;
}
