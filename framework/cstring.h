#pragma once
// The framework's 8-bit text string: a thin value type over std::string.
// Texts are UTF-8 (the platform's wide calls take them through wide_text.h); nothing here
// interprets them.

#include <cstddef>
#include <string>
#include <utility>

class CString {
public:
    CString() = default;
    CString(const char* psz); // NOLINT: implicit, as the framework's string converts
    CString(const char* pch, int nLength);
    CString(const std::string& str) : m_str(str) {} // NOLINT
    CString(const CString& str) : m_str(str.m_str), m_bSecret(str.m_bSecret) {}
    CString(CString&& str) noexcept : m_str(std::move(str.m_str)), m_bSecret(str.m_bSecret) {
        // A short text is copied out of the source's own storage and stays there.
        if (str.m_bSecret) {
            str.Wipe();
        }
    }
    CString& operator=(const CString& str) {
        if (m_bSecret) {
            Assign(str.m_str.data(), str.m_str.size());
        } else {
            m_str = str.m_str;
            m_bSecret = str.m_bSecret;
        }
        return *this;
    }
    CString& operator=(CString&& str) noexcept;
    ~CString() {
        if (m_bSecret) {
            Wipe();
        }
    }

    // For a string that holds a secret: from now on every buffer it lets go of (when it grows,
    // is assigned to, emptied or destroyed) is wiped first, and copies made from it are marked
    // too. Each string owns its buffer, so a wipe never reaches another string's text.
    void MarkSecret() { m_bSecret = true; }
    bool IsSecret() const { return m_bSecret; }

    int GetLength() const { return static_cast<int>(m_str.size()); }
    bool IsEmpty() const { return m_str.empty(); }
    void Empty() {
        if (m_bSecret) {
            Wipe();
        } else {
            m_str.clear();
        }
    }

    // The zero-terminated character data, as platform calls take it.
    operator const char*() const { return m_str.c_str(); } // NOLINT
    const char* GetString() const { return m_str.c_str(); }
    const std::string& str() const { return m_str; }

    char GetAt(int nIndex) const;

    // A writable buffer of at least nMinBufLength characters plus a terminator.
    // The current text is kept; ReleaseBuffer settles the length afterwards.
    char* GetBuffer(int nMinBufLength);
    // nNewLength -1: the text ends at the first NUL in the buffer.
    void ReleaseBuffer(int nNewLength = -1);

    // Replaces every non-overlapping occurrence, left to right; the inserted text
    // is not scanned again. Returns the number of replacements.
    int Replace(const char* pszOld, const char* pszNew);

    int Compare(const char* psz) const;

    // printf-style formatting into this string.
    void Format(const char* pszFormat, ...)
#if defined(__GNUC__)
        __attribute__((format(printf, 2, 3)))
#endif
        ;

    // The string resource nID of the program's module; FALSE (and the empty text)
    // when there is none. Available in the Windows build only.
    int LoadString(unsigned int nID);

    CString& operator=(const char* psz);
    CString& operator+=(const CString& str);
    CString& operator+=(const char* psz);
    CString& operator+=(char ch);

    friend bool operator==(const CString& a, const CString& b) {
        return a.m_str == b.m_str;
    }
    friend bool operator!=(const CString& a, const CString& b) {
        return a.m_str != b.m_str;
    }
    friend bool operator<(const CString& a, const CString& b) {
        return a.m_str < b.m_str;
    }
    friend bool operator==(const CString& a, const char* b) {
        return a.Compare(b) == 0;
    }
    friend bool operator==(const char* a, const CString& b) {
        return b.Compare(a) == 0;
    }
    friend bool operator!=(const CString& a, const char* b) {
        return a.Compare(b) != 0;
    }
    friend bool operator!=(const char* a, const CString& b) {
        return b.Compare(a) != 0;
    }

    friend CString operator+(const CString& a, const CString& b);
    friend CString operator+(const CString& a, const char* b);
    friend CString operator+(const char* a, const CString& b);

private:
    // Every character the buffer has room for, then empty.
    void Wipe() noexcept;
    void Assign(const char* pch, std::size_t nLength);
    void Append(const char* pch, std::size_t nLength);
    // Takes strNew's buffer; strNew gets the old one, wiped first when this string is secret.
    void Adopt(std::string& strNew) noexcept;

    std::string m_str;
    bool m_bSecret = false;
};
