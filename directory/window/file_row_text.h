// The texts of a file row's cells: size, DOS date and DOS time as the file
// lists show them. Portable, so the formats are tested natively.
#pragma once

#include <cstdint>
#include <string>

// The whole size in bytes; files of 2 GB and more stay positive.
std::string FormatFileSize(uint64_t size);
// " yyyy/mm/dd" from a DOS date word.
std::string FormatDosDate(uint16_t date);
// " hh:mm" from a DOS time word; the seconds are not shown.
std::string FormatDosTime(uint16_t time);
