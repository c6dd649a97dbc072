// CFile for the native build: POSIX descriptors. Share modes have no POSIX
// equivalent and are ignored; the Win32 build honours them.
#include "file.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <cstdio>
#include <unistd.h>

namespace {

CFileException::Cause CauseOfErrno(int error)
{
    switch (error) {
    case ENOENT: return CFileException::fileNotFound;
    case ENOTDIR:
    case ENAMETOOLONG: return CFileException::badPath;
    case EMFILE:
    case ENFILE: return CFileException::tooManyOpenFiles;
    case EACCES:
    case EPERM:
    case EROFS:
    case EISDIR: return CFileException::accessDenied;
    case ENOSPC: return CFileException::diskFull;
    case EIO: return CFileException::hardIO;
    case EEXIST: return CFileException::fileExists;
    default: return CFileException::generic;
    }
}

} // namespace

void AfxThrowFileException(CFileException::Cause cause, long osError, const std::string& fileName)
{
    throw CFileException(cause, osError, fileName, std::strerror(static_cast<int>(osError)));
}

bool CFile::Open(const std::string& fileName, unsigned flags, CFileException* error)
{
    Abort();
    int access = (flags & 3) == modeWrite ? O_WRONLY : (flags & 3) == modeReadWrite ? O_RDWR : O_RDONLY;
    if (flags & modeCreateNew) {
        access |= O_CREAT | O_EXCL;
    } else if (flags & modeCreate) {
        access |= O_CREAT;
        if (!(flags & modeNoTruncate))
            access |= O_TRUNC;
    }
    int fd = ::open(fileName.c_str(), access | O_CLOEXEC, 0666);
    if (fd >= 0) {
        struct stat info;
        if (::fstat(fd, &info) == 0 && S_ISDIR(info.st_mode)) {
            ::close(fd);
            fd = -1;
            errno = EISDIR;
        }
    }
    if (fd < 0) {
        if (error)
            *error = CFileException(CauseOfErrno(errno), errno, fileName, std::strerror(errno));
        return false;
    }
    m_handle = fd;
    m_fileName = fileName;
    return true;
}

uint32_t CFile::Read(void* buffer, uint32_t count)
{
    uint32_t done = 0;
    while (done < count) {
        ssize_t got = ::read(static_cast<int>(m_handle), static_cast<char*>(buffer) + done, count - done);
        if (got < 0) {
            if (errno == EINTR)
                continue;
            ThrowLastError();
        }
        if (got == 0)
            break;
        done += static_cast<uint32_t>(got);
    }
    return done;
}

void CFile::Write(const void* buffer, uint32_t count)
{
    uint32_t done = 0;
    while (done < count) {
        ssize_t put = ::write(static_cast<int>(m_handle), static_cast<const char*>(buffer) + done, count - done);
        if (put < 0) {
            if (errno == EINTR)
                continue;
            ThrowLastError();
        }
        if (put == 0)
            AfxThrowFileException(CFileException::diskFull, ENOSPC, m_fileName);
        done += static_cast<uint32_t>(put);
    }
}

void CFile::Flush()
{
    if (::fsync(static_cast<int>(m_handle)) != 0 && errno != EINVAL)
        ThrowLastError();
}

uint64_t CFile::GetLength() const
{
    struct stat info;
    if (::fstat(static_cast<int>(m_handle), &info) != 0)
        ThrowLastError();
    return static_cast<uint64_t>(info.st_size);
}

void CFile::Close()
{
    if (m_handle < 0)
        return;
    int fd = static_cast<int>(m_handle);
    m_handle = -1;
    if (::close(fd) != 0)
        ThrowLastError();
}

void CFile::Abort()
{
    if (m_handle >= 0)
        ::close(static_cast<int>(m_handle));
    m_handle = -1;
}

bool CFile::IsOpen() const
{
    return m_handle >= 0;
}

void CFile::ThrowLastError() const
{
    int error = errno;
    AfxThrowFileException(CauseOfErrno(error), error, m_fileName);
}

bool CFile::MoveReplacing(const std::string& from, const std::string& to)
{
    if (std::rename(from.c_str(), to.c_str()) != 0) {
        int error = errno;
        AfxThrowFileException(CauseOfErrno(error), error, to);
    }
    return true;
}

// A link refuses an existing name, as MoveFile does.
void CFile::MoveNew(const std::string& from, const std::string& to)
{
    if (::link(from.c_str(), to.c_str()) != 0) {
        int error = errno;
        AfxThrowFileException(CauseOfErrno(error), error, error == ENOENT ? from : to);
    }
    if (::unlink(from.c_str()) != 0) {
        int error = errno;
        ::unlink(to.c_str());
        AfxThrowFileException(CauseOfErrno(error), error, from);
    }
}

void CFile::Remove(const std::string& fileName)
{
    if (::unlink(fileName.c_str()) != 0) {
        int error = errno;
        AfxThrowFileException(CauseOfErrno(error), error, fileName);
    }
}
