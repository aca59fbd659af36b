#include "framework/cstring.h"

#include <algorithm>
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <stdexcept>
#include <utility>

#include "framework/secure_wipe.h"

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

CString& CString::operator=(CString&& str) noexcept {
    if (this != &str) {
        if (m_bSecret) {
            Wipe();
        }
        m_str = std::move(str.m_str);
        m_bSecret = m_bSecret || str.m_bSecret;
        if (str.m_bSecret) {
            str.Wipe();
        }
    }
    return *this;
}

void CString::Wipe() noexcept {
    SecureWipeContainer(m_str);
}

void CString::Assign(const char* pch, std::size_t nLength) {
    if (m_bSecret && nLength > m_str.capacity()) {
        std::string strNew(pch, nLength);
        Adopt(strNew);
    } else {
        m_str.assign(pch, nLength);
    }
}

void CString::Append(const char* pch, std::size_t nLength) {
    const std::size_t nNewLength = m_str.size() + nLength;
    if (m_bSecret && nNewLength > m_str.capacity()) {
        std::string strNew;
        // Doubling, as the string itself grows, keeps a run of appends linear.
        strNew.reserve(std::max(nNewLength, 2 * m_str.capacity()));
        strNew.append(m_str).append(pch, nLength);
        Adopt(strNew);
    } else {
        m_str.append(pch, nLength);
    }
}

void CString::Adopt(std::string& strNew) noexcept {
    if (m_bSecret) {
        Wipe();
    }
    m_str.swap(strNew);
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
    const auto nLength = static_cast<std::size_t>(nMinBufLength);
    if (m_bSecret && nLength > m_str.capacity()) {
        std::string strNew;
        strNew.reserve(nLength);
        strNew.assign(m_str);
        Adopt(strNew);
    }
    if (nLength > m_str.size()) {
        m_str.resize(nLength);
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
    // A part-built copy of a secret grows the wiping way too.
    CString strResult;
    strResult.m_bSecret = m_bSecret;
    int nCount = 0;
    std::size_t nFrom = 0;
    for (std::size_t nAt = m_str.find(strOld); nAt != std::string::npos;
         nAt = m_str.find(strOld, nFrom)) {
        strResult.Append(m_str.data() + nFrom, nAt - nFrom);
        strResult.Append(strNew.data(), strNew.size());
        nFrom = nAt + strOld.size();
        ++nCount;
    }
    if (nCount > 0) {
        strResult.Append(m_str.data() + nFrom, m_str.size() - nFrom);
        Adopt(strResult.m_str);
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
    Adopt(strResult);
}

CString& CString::operator=(const char* psz) {
    if (psz == nullptr) {
        psz = "";
    }
    Assign(psz, std::strlen(psz));
    return *this;
}

CString& CString::operator+=(const CString& str) {
    Append(str.m_str.data(), str.m_str.size());
    m_bSecret = m_bSecret || str.m_bSecret;
    return *this;
}

CString& CString::operator+=(const char* psz) {
    if (psz != nullptr) {
        Append(psz, std::strlen(psz));
    }
    return *this;
}

CString& CString::operator+=(char ch) {
    Append(&ch, 1);
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
