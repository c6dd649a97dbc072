#include "create_folders.h"

#include <windows.h>

#include "directory/directory_reader.h"

namespace {

std::string ReasonText(DWORD error)
{
    char text[512] = "";
    DWORD length = ::FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, error, 0,
                                    text, sizeof text, nullptr);
    while (length > 0 && (text[length - 1] == '\n' || text[length - 1] == '\r' || text[length - 1] == ' '))
        text[--length] = '\0';
    if (length == 0)
        ::wsprintfA(text, "System error %lu.", error);
    return text;
}

bool IsFolder(const std::string& path)
{
    DWORD attributes = ::GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

} // namespace

bool CreateFoldersFor(const std::string& directory, const std::string& relativeFile, std::string& failedFolder,
                      std::string& reason)
{
    size_t leaf = relativeFile.find_last_of("\\/");
    if (leaf == std::string::npos || IsFolder(JoinPath(directory, relativeFile.substr(0, leaf))))
        return true;
    // Each level from the top, so the parent of a new folder always exists.
    for (size_t at = relativeFile.find_first_of("\\/"); at != std::string::npos && at <= leaf;
         at = relativeFile.find_first_of("\\/", at + 1)) {
        std::string folder = JoinPath(directory, relativeFile.substr(0, at));
        if (IsFolder(folder))
            continue;
        if (!::CreateDirectoryA(folder.c_str(), nullptr)) {
            failedFolder = folder;
            reason = ReasonText(::GetLastError());
            return false;
        }
    }
    return true;
}
