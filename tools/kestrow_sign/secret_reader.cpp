#include "tools/kestrow_sign/secret_reader.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>

#if defined(_WIN32)
#include <fcntl.h>
#include <io.h>
#include <windows.h>

#include "framework/utf16_text.h"
#include "tools/kestrow_sign/wide_text.h"
#endif

namespace {

bool CheckSecret(const CString& strSecret, const std::string& strName, SSignError& error) {
    const std::string& str = strSecret.str();
    if (str.empty()) {
        return Fail(error, SIGN_EXIT_NO_SECRET, "the secret key from " + strName + " is empty");
    }
    if (str.size() > g_nSecretKeyMaxBytes) {
        return Fail(error, SIGN_EXIT_BAD_SECRET,
                    "the secret key from " + strName + " is longer than " +
                        std::to_string(g_nSecretKeyMaxBytes) + " bytes");
    }
    const std::size_t nNul = str.find('\0');
    if (nNul != std::string::npos) {
        return Fail(error, SIGN_EXIT_BAD_SECRET,
                    "the secret key from " + strName + " holds a NUL byte at offset " +
                        std::to_string(nNul) + "; it must be text");
    }
    return true;
}

std::size_t WithoutOneLineBreak(const char* pch, std::size_t nLength) {
    if (nLength >= 2 && pch[nLength - 2] == '\r' && pch[nLength - 1] == '\n') {
        return nLength - 2;
    }
    return nLength >= 1 && pch[nLength - 1] == '\n' ? nLength - 1 : nLength;
}

// The variable's value as it is (false: there is none). On Windows it is read through the
// wide call, whatever the code page, and a value that is not Unicode fails with error.
bool ReadSecretVariable(CString& strValue, SSignError& error, bool& bFound) {
#if defined(_WIN32)
    const std::wstring wstrName(g_pszSecretKeyVariable,
                                g_pszSecretKeyVariable + std::strlen(g_pszSecretKeyVariable));
    // Read straight into a buffer that is wiped, and into the secret sized once.
    DWORD dwRead = 0;
    DWORD dwError = ERROR_SUCCESS;
    const bool bUnicode = AfxReadUtf16<wchar_t>(
        GetEnvironmentVariableW(wstrName.c_str(), nullptr, 0),
        [&](wchar_t* pBuffer, std::size_t nRoom) -> std::size_t {
            SetLastError(ERROR_SUCCESS);
            dwRead = GetEnvironmentVariableW(wstrName.c_str(), pBuffer, static_cast<DWORD>(nRoom));
            dwError = GetLastError();
            return dwRead < nRoom ? dwRead : 0;
        },
        strValue);
    bFound = dwRead != 0 || dwError != ERROR_ENVVAR_NOT_FOUND;
    return bUnicode || Fail(error, SIGN_EXIT_BAD_SECRET,
                            std::string("the secret key from ") + g_pszSecretKeyVariable +
                                " is not Unicode text (it holds an unpaired surrogate)");
#else
    const char* pszValue = std::getenv(g_pszSecretKeyVariable);
    bFound = pszValue != nullptr;
    strValue = bFound ? pszValue : "";
    (void)error;
    return true;
#endif
}

std::FILE* OpenSecretFile(const std::string& strFile) {
#if defined(_WIN32)
    std::wstring wstrFile;
    return Utf8ToWide(strFile, wstrFile) ? _wfopen(wstrFile.c_str(), L"rb") : nullptr;
#else
    return std::fopen(strFile.c_str(), "rb");
#endif
}

} // namespace

bool ReadSecretKeyStream(std::FILE* pFile, const std::string& strName, CString& strSecret,
                         SSignError& error) {
    // Unbuffered, the stream reads straight into our wiped buffer and keeps no copy of its own.
    std::setvbuf(pFile, nullptr, _IONBF, 0);
    CString strRead;
    strRead.MarkSecret();
    // Reading stops just past the limit plus a line break: enough to tell "too long".
    const std::size_t nReadLimit = g_nSecretKeyMaxBytes + 3;
    char* pchRead = strRead.GetBuffer(static_cast<int>(nReadLimit));
    const std::size_t nRead = std::fread(pchRead, 1, nReadLimit, pFile);
    strRead.ReleaseBuffer(static_cast<int>(WithoutOneLineBreak(pchRead, nRead)));
    if (std::ferror(pFile)) {
        return Fail(error, SIGN_EXIT_NO_SECRET,
                    "cannot read the secret key from " + strName + ": " + std::strerror(errno));
    }
    if (!CheckSecret(strRead, strName, error)) {
        return false;
    }
    strSecret.MarkSecret();
    strSecret = strRead;
    return true;
}

bool ReadSecretKey(bool bHaveFile, const std::string& strFile, CString& strSecret,
                   SSignError& error) {
    if (!bHaveFile) {
        CString strValue;
        strValue.MarkSecret();
        bool bFound = false;
        if (!ReadSecretVariable(strValue, error, bFound)) {
            return false;
        }
        if (!bFound) {
            return Fail(error, SIGN_EXIT_NO_SECRET,
                        std::string("no secret key: set ") + g_pszSecretKeyVariable +
                            " or use --secret-key-file");
        }
        if (!CheckSecret(strValue, g_pszSecretKeyVariable, error)) {
            return false;
        }
        strSecret.MarkSecret();
        strSecret = strValue;
        return true;
    }
    if (strFile == "-") {
#if defined(_WIN32)
        // Text mode would turn "\r\n" into "\n" and stop at a Ctrl-Z byte.
        _setmode(_fileno(stdin), _O_BINARY);
#endif
        return ReadSecretKeyStream(stdin, "standard input", strSecret, error);
    }
    std::FILE* pFile = OpenSecretFile(strFile);
    if (pFile == nullptr) {
        return Fail(error, SIGN_EXIT_NO_SECRET,
                    "cannot open secret key file '" + strFile + "': " + std::strerror(errno));
    }
    const bool bRead = ReadSecretKeyStream(pFile, "'" + strFile + "'", strSecret, error);
    std::fclose(pFile);
    return bRead;
}
