#include "tools/kestrow_sign/secret_reader.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>

#if defined(_WIN32)
#include <fcntl.h>
#include <io.h>
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
        const char* pszValue = std::getenv(g_pszSecretKeyVariable);
        if (pszValue == nullptr) {
            return Fail(error, SIGN_EXIT_NO_SECRET,
                        std::string("no secret key: set ") + g_pszSecretKeyVariable +
                            " or use --secret-key-file");
        }
        CString strValue;
        strValue.MarkSecret();
        strValue = pszValue;
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
    std::FILE* pFile = std::fopen(strFile.c_str(), "rb");
    if (pFile == nullptr) {
        return Fail(error, SIGN_EXIT_NO_SECRET,
                    "cannot open secret key file '" + strFile + "': " + std::strerror(errno));
    }
    const bool bRead = ReadSecretKeyStream(pFile, "'" + strFile + "'", strSecret, error);
    std::fclose(pFile);
    return bRead;
}
