// The parts of CFile that do not depend on the platform's handles.
#include "file.h"

#include <algorithm>
#include <cstdio>

namespace {

// Where the file name of a path starts: after its last separator, after a
// bare drive ("c:name"), or at 0.
size_t NameStart(const std::string& path)
{
    size_t separator = path.find_last_of("\\/");
    if (separator != std::string::npos)
        return separator + 1;
    return path.size() >= 2 && path[1] == ':' ? 2 : 0;
}

} // namespace

bool CFile::replaceByMovingAside = false;

CFile::CFile(const std::string& fileName, unsigned flags)
{
    CFileException error(CFileException::none, 0, fileName, "");
    if (!Open(fileName, flags, &error))
        throw error;
}

CFile::~CFile()
{
    Abort();
}

std::string CFile::NumberedName(const std::string& preferred, unsigned number)
{
    if (number == 0)
        return preferred;
    const size_t start = NameStart(preferred);
    size_t dot = preferred.rfind('.');
    if (dot == std::string::npos || dot < start)
        dot = preferred.size();
    char digits[16];
    std::snprintf(digits, sizeof digits, "%03u", number % NUMBERED_NAMES);
    // Five letters and three digits keep a name of 8.3 form in 8.3 form.
    return preferred.substr(0, start) + preferred.substr(start, std::min<size_t>(dot - start, 5)) + digits +
           preferred.substr(dot);
}

void CFile::OpenNew(const std::string& preferred, unsigned flags)
{
    CFileException error(CFileException::none, 0, preferred, "");
    for (unsigned number = 0; number < NUMBERED_NAMES; ++number) {
        if (Open(NumberedName(preferred, number), flags | modeCreateNew, &error))
            return;
        if (error.m_cause != CFileException::fileExists)
            break;
    }
    throw error;
}

void CFile::Replace(const std::string& from, const std::string& to)
{
    if (!replaceByMovingAside && MoveReplacing(from, to))
        return;
    // The old file waits beside the target, under a name no other file has.
    const std::string preferred = to.substr(0, NameStart(to)) + "orvinta.old";
    std::string aside;
    for (unsigned number = 0; aside.empty(); ++number) {
        const std::string candidate = NumberedName(preferred, number);
        try {
            MoveNew(to, candidate);
            aside = candidate;
        } catch (const CFileException& error) {
            if (error.m_cause == CFileException::fileNotFound)
                break; // no target: nothing to keep
            if (error.m_cause != CFileException::fileExists || number + 1 == NUMBERED_NAMES)
                throw;
        }
    }
    try {
        MoveNew(from, to);
    } catch (const CFileException&) {
        if (!aside.empty()) {
            try {
                MoveNew(aside, to);
            } catch (const CFileException&) {
                // Nothing more can be done: the old file stays under its other name.
            }
        }
        throw;
    }
    if (!aside.empty()) {
        try {
            Remove(aside);
        } catch (const CFileException&) {
            // The new file is in place; the old one only takes room.
        }
    }
}
