#pragma once
// The one place where the program's UTF-8 text and the UTF-16 of the platform's wide calls
// meet. Either may hold a secret (the Secret Access Key field), so every UTF-16 buffer made
// here is wiped before it is freed, and a UTF-8 text read in is sized once and written in
// place: no copy of it is left behind in a freed buffer.

#include <cstddef>
#include <limits>
#include <stdexcept>
#include <vector>

#include "framework/cstring.h"
#include "framework/secure_wipe.h"
#include "framework/unicode.h"

// The UTF-16 form of a text, zero-terminated, for one call. Char16 is char16_t, or wchar_t
// on Windows (CWideText).
template <class Char16> class CUtf16Text {
public:
    // Throws std::invalid_argument for text that is not UTF-8: nothing in the program holds
    // such text, and a replaced character would show or sign another text.
    explicit CUtf16Text(const CString& str) { Convert(str.GetString(), str.str().size()); }
    // A null pointer stays null, as the platform's optional texts are.
    explicit CUtf16Text(const char* psz) {
        if (psz != nullptr) {
            Convert(psz, std::char_traits<char>::length(psz));
        }
    }
    ~CUtf16Text() { SecureWipeContainer(m_buffer); }
    CUtf16Text(const CUtf16Text&) = delete;
    CUtf16Text& operator=(const CUtf16Text&) = delete;

    const Char16* GetString() const { return m_buffer.empty() ? nullptr : m_buffer.data(); }
    operator const Char16*() const { return GetString(); } // NOLINT: handed to wide calls
    // Units before the terminator.
    std::size_t GetLength() const { return m_buffer.empty() ? 0 : m_buffer.size() - 1; }

private:
    void Convert(const char* pch, std::size_t nLength) {
        const std::size_t nUnits = Utf16LengthOfUtf8(pch, nLength);
        if (nUnits == kNotUnicode) {
            throw std::invalid_argument("A text is not UTF-8.");
        }
        m_buffer.resize(nUnits + 1);
        Utf8ToUtf16(pch, nLength, m_buffer.data());
    }

    std::vector<Char16> m_buffer;
};

// Reads a text that pfnFill writes in UTF-16 into rString as UTF-8. pfnFill(pBuffer, nRoom)
// writes at most nRoom units, a terminator included, and answers how many it wrote before
// the terminator; nUnits + 1 is the room it gets. False, with rString as it was, when the
// text is not Unicode (an unpaired surrogate); a secret rString gets the text in its own
// buffer, grown at most once.
template <class Char16, class Fill>
bool AfxReadUtf16(std::size_t nUnits, Fill pfnFill, CString& rString) {
    struct Wiped {
        std::vector<Char16> v;
        ~Wiped() { SecureWipeContainer(v); }
    } buffer{std::vector<Char16>(nUnits + 1)};
    std::size_t nRead = pfnFill(buffer.v.data(), buffer.v.size());
    nRead = nRead < nUnits ? nRead : nUnits;
    const std::size_t nBytes = Utf8LengthOfUtf16(buffer.v.data(), nRead);
    if (nBytes == kNotUnicode) {
        return false;
    }
    if (nBytes > static_cast<std::size_t>(std::numeric_limits<int>::max())) {
        throw std::length_error("A text is too long.");
    }
    const int nLength = static_cast<int>(nBytes);
    rString.Empty();
    Utf16ToUtf8(buffer.v.data(), nRead, rString.GetBuffer(nLength));
    rString.ReleaseBuffer(nLength);
    return true;
}
