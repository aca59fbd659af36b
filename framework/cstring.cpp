#include "framework/cstring.h"

#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <stdexcept>

CString::CString(const char* psz) : m_str(psz != nullptr ? psz : "") {
}

CString::CString(const char* pch, int nLength) {
    if (nLength < 0) {
        throw std::invalid_argument("CString: negative length");
    }
    if (nLength > 0) {
        if (pch == nullptr) {
            throw std::invalid_argument("CString: no characters for a non-zero length");
        }
        m_str.assign(pch, static_cast<std::size_t>(nLength));
    }
}

char CString::GetAt(int nIndex) const {
    if (nIndex < 0 || nIndex >= GetLength()) {
        throw std::out_of_range("CString::GetAt: index out of range");
    }
    return m_str[static_cast<std::size_t>(nIndex)];
}

char* CString::GetBuffer(int nMinBufLength) {
    if (nMinBufLength < 0) {
        throw std::invalid_argument("CString::GetBuffer: negative length");
    }
    if (static_cast<std::size_t>(nMinBufLength) > m_str.size()) {
        m_str.resize(static_cast<std::size_t>(nMinBufLength));
    }
    // std::string keeps a terminator beyond size(), so the caller may write one there.
    return m_str.data();
}

void CString::ReleaseBuffer(int nNewLength) {
    if (nNewLength < 0) {
        // std::string guarantees a NUL at size(), so strlen never runs past it.
        m_str.resize(std::strlen(m_str.c_str()));
    } else if (static_cast<std::size_t>(nNewLength) <= m_str.size()) {
        m_str.resize(static_cast<std::size_t>(nNewLength));
    } else {
        throw std::invalid_argument("CString::ReleaseBuffer: length beyond the buffer");
    }
}

int CString::Replace(const char* pszOld, const char* pszNew) {
    if (pszOld == nullptr || *pszOld == '\0') {
        return 0;
    }
    const std::string strOld(pszOld);
    const std::string strNew(pszNew != nullptr ? pszNew : "");
    std::string strResult;
    int nCount = 0;
    std::size_t nFrom = 0;
    for (std::size_t nAt = m_str.find(strOld); nAt != std::string::npos;
         nAt = m_str.find(strOld, nFrom)) {
        strResult.append(m_str, nFrom, nAt - nFrom);
        strResult += strNew;
        nFrom = nAt + strOld.size();
        ++nCount;
    }
    if (nCount > 0) {
        strResult.append(m_str, nFrom, std::string::npos);
        m_str.swap(strResult);
    }
    return nCount;
}

int CString::Compare(const char* psz) const {
    return m_str.compare(psz != nullptr ? psz : "");
}

void CString::Format(const char* pszFormat, ...) {
    if (pszFormat == nullptr) {
        throw std::invalid_argument("CString::Format: no format");
    }
    va_list args;
    va_start(args, pszFormat);
    va_list argsCopy;
    va_copy(argsCopy, args);
    const int nNeeded = std::vsnprintf(nullptr, 0, pszFormat, args);
    va_end(args);
    if (nNeeded < 0) {
        va_end(argsCopy);
        throw std::invalid_argument("CString::Format: invalid format");
    }
    std::string strResult(static_cast<std::size_t>(nNeeded), '\0');
    std::vsnprintf(strResult.data(), strResult.size() + 1, pszFormat, argsCopy);
    va_end(argsCopy);
    m_str.swap(strResult);
}

CString& CString::operator=(const char* psz) {
    m_str.assign(psz != nullptr ? psz : "");
    return *this;
}

CString& CString::operator+=(const CString& str) {
    m_str += str.m_str;
    return *this;
}

CString& CString::operator+=(const char* psz) {
    if (psz != nullptr) {
        m_str += psz;
    }
    return *this;
}

CString& CString::operator+=(char ch) {
    m_str += ch;
    return *this;
}

CString operator+(const CString& a, const CString& b) {
    CString result(a);
    result += b;
    return result;
}

CString operator+(const CString& a, const char* b) {
    CString result(a);
    result += b;
    return result;
}

CString operator+(const char* a, const CString& b) {
    CString result(a);
    result += b;
    return result;
}
