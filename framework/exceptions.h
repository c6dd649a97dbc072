// The framework's exception classes. Thrown by value, caught by const reference;
// every window and dialog procedure catches them at its boundary.
#pragma once

#include <string>

class CException {
public:
    virtual ~CException() = default;
    // A sentence the user can read in a message box.
    virtual std::string GetErrorMessage() const = 0;
};

class CMemoryException : public CException {
public:
    std::string GetErrorMessage() const override { return "Out of memory."; }
};

class CFileException : public CException {
public:
    enum Cause {
        none,
        generic,
        fileNotFound,
        badPath,
        tooManyOpenFiles,
        accessDenied,
        invalidFile,
        removeCurrentDir,
        directoryFull,
        badSeek,
        hardIO,
        sharingViolation,
        lockViolation,
        diskFull,
        endOfFile,
        fileExists // a file of that name is in the way
    };

    CFileException(Cause cause, long osError, std::string fileName, std::string systemText)
        : m_cause(cause), m_lOsError(osError), m_strFileName(std::move(fileName)),
          m_systemText(std::move(systemText)) {}

    std::string GetErrorMessage() const override;

    Cause m_cause;
    long m_lOsError;
    std::string m_strFileName;

private:
    std::string m_systemText;
};

[[noreturn]] void AfxThrowMemoryException();
[[noreturn]] void AfxThrowFileException(CFileException::Cause cause, long osError,
                                        const std::string& fileName);

// The system's text for a Win32 error code, without its line end ("System
// error N." where it has none). Windows builds only.
std::string SystemErrorText(unsigned long error);
