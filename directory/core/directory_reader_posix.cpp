// The directory seam for the native build: readdir and fstatat. Patterns are
// matched here as the system's search would; names get the short-name answer
// NTFS would give (a name is its own short name when it is a legal upper-case
// 8.3 name).
#include "directory/core/directory_reader.h"

#include <cerrno>
#include <cstring>
#include <ctime>
#include <memory>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "directory/core/file_entry.h"
#include "directory/core/wildcard_match.h"

namespace {

bool IsUpperCase83(const std::string& name)
{
    size_t dot = name.find('.');
    size_t base = dot == std::string::npos ? name.size() : dot;
    size_t extension = dot == std::string::npos ? 0 : name.size() - dot - 1;
    if (base == 0 || base > 8 || extension > 3 || (dot != std::string::npos && extension == 0))
        return false;
    for (size_t i = 0; i < name.size(); ++i) {
        unsigned char c = static_cast<unsigned char>(name[i]);
        if (i == dot)
            continue;
        if (c < 0x21 || c >= 0x7F || (c >= 'a' && c <= 'z') || std::strchr("\"*+,./:;<=>?[\\]|", c))
            return false;
    }
    return true;
}

} // namespace

void ListDirectory(const std::string& directory, const std::string& pattern,
                   const std::function<void(const FoundEntry&)>& found)
{
    // The system's search drops blanks after a pattern; so does this one.
    std::string wanted = pattern;
    while (!wanted.empty() && wanted.back() == ' ')
        wanted.pop_back();
    if (wanted.empty())
        return;
    // Closed however the walk ends, an allocation failure in found() included.
    std::unique_ptr<DIR, int (*)(DIR*)> listing(::opendir(directory.empty() ? "." : directory.c_str()), ::closedir);
    if (!listing)
        return;
    int directoryHandle = ::dirfd(listing.get());
    while (dirent* item = ::readdir(listing.get())) {
        const char* fileName = item->d_name;
        if (std::strcmp(fileName, ".") == 0 || std::strcmp(fileName, "..") == 0)
            continue;
        std::string name = fileName;
        if (!MatchesWildcard(name, wanted))
            continue;
        // The listing's own type saves a system call where the file system gives it.
        struct stat link;
        bool isLink = item->d_type == DT_LNK ||
                      (item->d_type == DT_UNKNOWN &&
                       ::fstatat(directoryHandle, fileName, &link, AT_SYMLINK_NOFOLLOW) == 0 && S_ISLNK(link.st_mode));
        struct stat info;
        if (::fstatat(directoryHandle, fileName, &info, 0) != 0)
            continue; // vanished since the listing, or a dangling link
        if (!S_ISDIR(info.st_mode) && !S_ISREG(info.st_mode))
            continue; // pipes, sockets and devices have no counterpart on Windows
        FoundEntry entry;
        entry.fileName = std::move(name);
        entry.size = S_ISDIR(info.st_mode) ? 0 : static_cast<uint64_t>(info.st_size);
        entry.attributes = S_ISDIR(info.st_mode) ? ENTRY_DIRECTORY : ENTRY_ARCHIVE;
        if (isLink)
            entry.attributes |= ENTRY_REPARSE_POINT;
        if (!(info.st_mode & S_IWUSR))
            entry.attributes |= ENTRY_READONLY;
        if (entry.fileName[0] == '.')
            entry.attributes |= ENTRY_HIDDEN;
        std::tm local;
        time_t seconds = info.st_mtime;
        if (::localtime_r(&seconds, &local))
            ToDosDateTime(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour, local.tm_min,
                          local.tm_sec, entry.dosDate, entry.dosTime);
        entry.shortNameIsLongName = IsUpperCase83(entry.fileName);
        found(entry);
    }
}

std::string JoinPath(const std::string& directory, const std::string& name)
{
    if (directory.empty())
        return name;
    if (directory.back() == '/')
        return directory + name;
    return directory + "/" + name;
}

SharedReadFile::~SharedReadFile()
{
    if (handle >= 0)
        ::close(static_cast<int>(handle));
}

bool SharedReadFile::Open(const std::string& path)
{
    // Non-blocking, so that a pipe that took a listed file's name cannot
    // hang the comparison; regular files read as usual.
    int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0)
        return false;
    handle = fd;
    return true;
}

long long SharedReadFile::ReadSome(char* buffer, size_t count)
{
    for (;;) {
        ssize_t got = ::read(static_cast<int>(handle), buffer, count);
        if (got >= 0 || errno != EINTR)
            return got;
    }
}

void LowerCaseName(std::string& name)
{
    for (char& c : name) {
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c + ('a' - 'A'));
    }
}
