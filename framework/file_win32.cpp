// CFile on Win32 handles, with the share modes the callers ask for.
#include "file.h"

#include <windows.h>

namespace {

CFileException::Cause CauseOfError(DWORD error)
{
    switch (error) {
    case ERROR_FILE_NOT_FOUND: return CFileException::fileNotFound;
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_NAME:
    case ERROR_BAD_PATHNAME: return CFileException::badPath;
    case ERROR_TOO_MANY_OPEN_FILES: return CFileException::tooManyOpenFiles;
    case ERROR_ACCESS_DENIED: return CFileException::accessDenied;
    case ERROR_SHARING_VIOLATION: return CFileException::sharingViolation;
    case ERROR_LOCK_VIOLATION: return CFileException::lockViolation;
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL: return CFileException::diskFull;
    case ERROR_HANDLE_EOF: return CFileException::endOfFile;
    case ERROR_FILE_EXISTS:
    case ERROR_ALREADY_EXISTS: return CFileException::fileExists;
    default: return CFileException::generic;
    }
}

HANDLE AsHandle(std::intptr_t value)
{
    return reinterpret_cast<HANDLE>(value);
}

} // namespace

std::string SystemErrorText(unsigned long error)
{
    char text[512] = "";
    DWORD length = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, error,
                                  0, text, sizeof text, nullptr);
    while (length > 0 && (text[length - 1] == '\n' || text[length - 1] == '\r' || text[length - 1] == ' '))
        text[--length] = '\0';
    if (length == 0)
        wsprintfA(text, "System error %lu.", error);
    return text;
}

void AfxThrowFileException(CFileException::Cause cause, long osError, const std::string& fileName)
{
    throw CFileException(cause, osError, fileName, SystemErrorText(static_cast<DWORD>(osError)));
}

bool CFile::Open(const std::string& fileName, unsigned flags, CFileException* error)
{
    Abort();
    DWORD access = (flags & 3) == modeWrite ? GENERIC_WRITE
                 : (flags & 3) == modeReadWrite ? GENERIC_READ | GENERIC_WRITE
                                                : GENERIC_READ;
    DWORD share;
    switch (flags & 0x70) {
    case shareExclusive: share = 0; break;
    case shareDenyWrite: share = FILE_SHARE_READ; break;
    case shareDenyRead: share = FILE_SHARE_WRITE; break;
    default: share = FILE_SHARE_READ | FILE_SHARE_WRITE; break;
    }
    DWORD disposition = OPEN_EXISTING;
    if (flags & modeCreateNew)
        disposition = CREATE_NEW;
    else if (flags & modeCreate)
        disposition = (flags & modeNoTruncate) ? OPEN_ALWAYS : CREATE_ALWAYS;
    HANDLE handle = CreateFileA(fileName.c_str(), access, share, nullptr, disposition, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        DWORD code = GetLastError();
        if (error)
            *error = CFileException(CauseOfError(code), static_cast<long>(code), fileName, SystemErrorText(code));
        return false;
    }
    m_handle = reinterpret_cast<std::intptr_t>(handle);
    m_fileName = fileName;
    return true;
}

uint32_t CFile::Read(void* buffer, uint32_t count)
{
    uint32_t done = 0;
    while (done < count) {
        DWORD got = 0;
        if (!ReadFile(AsHandle(m_handle), static_cast<char*>(buffer) + done, count - done, &got, nullptr))
            ThrowLastError();
        if (got == 0)
            break;
        done += got;
    }
    return done;
}

void CFile::Write(const void* buffer, uint32_t count)
{
    DWORD put = 0;
    if (!WriteFile(AsHandle(m_handle), buffer, count, &put, nullptr))
        ThrowLastError();
    if (put != count)
        AfxThrowFileException(CFileException::diskFull, ERROR_DISK_FULL, m_fileName);
}

void CFile::Flush()
{
    if (!FlushFileBuffers(AsHandle(m_handle)))
        ThrowLastError();
}

uint64_t CFile::GetLength() const
{
    DWORD high = 0;
    DWORD low = GetFileSize(AsHandle(m_handle), &high);
    if (low == INVALID_FILE_SIZE && GetLastError() != NO_ERROR)
        ThrowLastError();
    return (static_cast<uint64_t>(high) << 32) | low;
}

void CFile::Close()
{
    if (m_handle == -1)
        return;
    HANDLE handle = AsHandle(m_handle);
    m_handle = -1;
    if (!CloseHandle(handle))
        ThrowLastError();
}

void CFile::Abort()
{
    if (m_handle != -1)
        CloseHandle(AsHandle(m_handle));
    m_handle = -1;
}

bool CFile::IsOpen() const
{
    return m_handle != -1;
}

void CFile::ThrowLastError() const
{
    DWORD code = GetLastError();
    AfxThrowFileException(CauseOfError(code), static_cast<long>(code), m_fileName);
}

bool CFile::MoveReplacing(const std::string& from, const std::string& to)
{
    if (MoveFileExA(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        return true;
    DWORD code = GetLastError();
    // Windows 95, 98 and Me export MoveFileEx only to say this.
    if (code == ERROR_CALL_NOT_IMPLEMENTED)
        return false;
    AfxThrowFileException(CauseOfError(code), static_cast<long>(code), to);
}

void CFile::MoveNew(const std::string& from, const std::string& to)
{
    if (!MoveFileA(from.c_str(), to.c_str())) {
        DWORD code = GetLastError();
        AfxThrowFileException(CauseOfError(code), static_cast<long>(code), code == ERROR_FILE_NOT_FOUND ? from : to);
    }
}

void CFile::Remove(const std::string& fileName)
{
    if (!DeleteFileA(fileName.c_str())) {
        DWORD code = GetLastError();
        AfxThrowFileException(CauseOfError(code), static_cast<long>(code), fileName);
    }
}
