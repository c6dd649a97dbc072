// The directory seam on Win32: FindFirstFileA/FindNextFileA.
#include "directory/core/directory_reader.h"

#include <cstring>
#include <memory>
#include <windows.h>

#include "directory/core/file_entry.h"

namespace {

void ToDos(const FILETIME& lastWrite, uint16_t& date, uint16_t& time)
{
    // Through SYSTEMTIME rather than FileTimeToDosDateTime, which fails on
    // times before 1980 and leaves its outputs as they were.
    FILETIME local;
    SYSTEMTIME broken;
    if (!FileTimeToLocalFileTime(&lastWrite, &local) || !FileTimeToSystemTime(&local, &broken)) {
        date = 0;
        time = 0;
        return;
    }
    ToDosDateTime(broken.wYear, broken.wMonth, broken.wDay, broken.wHour, broken.wMinute, broken.wSecond, date,
                  time);
}

} // namespace

void ListDirectory(const std::string& directory, const std::string& pattern,
                   const std::function<void(const FoundEntry&)>& found)
{
    WIN32_FIND_DATAA data;
    HANDLE handle = FindFirstFileA(JoinPath(directory, pattern).c_str(), &data);
    if (handle == INVALID_HANDLE_VALUE)
        return;
    // Closed however the walk ends, an allocation failure in found() included.
    std::unique_ptr<void, BOOL(WINAPI*)(HANDLE)> search(handle, FindClose);
    do {
        if (std::strcmp(data.cFileName, ".") == 0 || std::strcmp(data.cFileName, "..") == 0)
            continue;
        FoundEntry entry;
        entry.fileName = data.cFileName;
        entry.nameUnreadable = entry.fileName.find_first_of("?*") != std::string::npos;
        if (entry.nameUnreadable && std::strpbrk(data.cAlternateFileName, "?*") == nullptr)
            entry.shortName = data.cAlternateFileName;
        entry.size = (static_cast<uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
        entry.attributes = data.dwFileAttributes;
        ToDos(data.ftLastWriteTime, entry.dosDate, entry.dosTime);
        entry.shortNameIsLongName =
            data.cAlternateFileName[0] == '\0' || std::strcmp(data.cAlternateFileName, data.cFileName) == 0;
        found(entry);
    } while (FindNextFileA(handle, &data));
}

std::string JoinPath(const std::string& directory, const std::string& name)
{
    if (directory.empty())
        return name;
    if (directory.back() == '\\' || directory.back() == '/')
        return directory + name;
    return directory + "\\" + name;
}

SharedReadFile::~SharedReadFile()
{
    if (handle != -1)
        CloseHandle(reinterpret_cast<HANDLE>(handle));
}

bool SharedReadFile::Open(const std::string& path)
{
    // Write sharing too: a program writing in a watched directory must not
    // fail with a sharing error while a rescan compares its file.
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                              FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    handle = reinterpret_cast<std::intptr_t>(file);
    return true;
}

long long SharedReadFile::ReadSome(char* buffer, size_t count)
{
    DWORD got = 0;
    if (!ReadFile(reinterpret_cast<HANDLE>(handle), buffer, static_cast<DWORD>(count), &got, nullptr))
        return -1;
    return got;
}

void LowerCaseName(std::string& name)
{
    if (!name.empty())
        CharLowerBuffA(&name[0], static_cast<DWORD>(name.size()));
}
