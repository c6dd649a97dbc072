#include "directory/copy/create_folders.h"

#include <windows.h>

#include "common/path_tests.h"
#include "framework/exceptions.h"
#include "directory/core/directory_reader.h"

bool CreateFoldersFor(const std::string& directory, const std::string& relativeFile, std::string& failedFolder,
                      std::string& reason)
{
    size_t leaf = relativeFile.find_last_of("\\/");
    if (leaf == std::string::npos || IsDirectory(JoinPath(directory, relativeFile.substr(0, leaf))))
        return true;
    // Each level from the top, so the parent of a new folder always exists.
    for (size_t at = relativeFile.find_first_of("\\/"); at != std::string::npos && at <= leaf;
         at = relativeFile.find_first_of("\\/", at + 1)) {
        std::string folder = JoinPath(directory, relativeFile.substr(0, at));
        if (IsDirectory(folder))
            continue;
        if (!::CreateDirectoryA(folder.c_str(), nullptr)) {
            failedFolder = folder;
            reason = SystemErrorText(::GetLastError());
            return false;
        }
    }
    return true;
}
