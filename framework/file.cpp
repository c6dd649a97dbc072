// The parts of CFile that do not depend on the platform's handles.
#include "file.h"

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
