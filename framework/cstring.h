// The framework's string: std::string, plus printf-style formatting.
#pragma once

#include <cstdarg>
#include <string>

using CString = std::string;

// printf-style formatting into a new string.
CString FormatString(const char* format, ...)
#if defined(__GNUC__)
    __attribute__((format(printf, 1, 2)))
#endif
    ;
CString FormatStringV(const char* format, va_list args);
