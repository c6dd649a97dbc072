#include "exceptions.h"

std::string CFileException::GetErrorMessage() const
{
    std::string text = m_systemText.empty() ? std::string("File error.") : m_systemText;
    if (!m_strFileName.empty())
        text = m_strFileName + ": " + text;
    return text;
}

void AfxThrowMemoryException()
{
    throw CMemoryException();
}
