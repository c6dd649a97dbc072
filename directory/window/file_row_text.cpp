#include "directory/window/file_row_text.h"

#include <cstdio>

std::string FormatFileSize(uint64_t size)
{
    return std::to_string(size);
}

std::string FormatDosDate(uint16_t date)
{
    char text[16];
    std::snprintf(text, sizeof text, " %4.4d/%2.2d/%2.2d", (date >> 9) + 1980, (date >> 5) & 15, date & 31);
    return text;
}

std::string FormatDosTime(uint16_t time)
{
    char text[16];
    std::snprintf(text, sizeof text, " %2.2d:%2.2d", time >> 11, (time >> 5) & 63);
    return text;
}
