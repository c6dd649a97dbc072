#include "path_tests.h"

#include <windows.h>

bool IsDirectory(const std::string& path)
{
    if (path.size() == 3 && path[1] == ':' && path[2] == '\\')
        return ::GetDriveTypeA(path.c_str()) > DRIVE_NO_ROOT_DIR;
    DWORD attributes = ::GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool IsFile(const std::string& path)
{
    DWORD attributes = ::GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}
