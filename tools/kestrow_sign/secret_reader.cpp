#include "tools/kestrow_sign/secret_reader.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>

#if defined(_WIN32)
#include <fcntl.h>
#include <io.h>
#endif

namespace {

bool CheckSecret(const std::string& strSecret, const std::string& strName, SSignError& error) {
    if (strSecret.empty()) {
        return Fail(error, SIGN_EXIT_NO_SECRET, "the secret key from " + strName + " is empty");
    }
    if (strSecret.size() > g_nSecretKeyMaxBytes) {
        return Fail(error, SIGN_EXIT_BAD_SECRET,
                    "the secret key from " + strName + " is longer than " +
                        std::to_string(g_nSecretKeyMaxBytes) + " bytes");
    }
    const std::size_t nNul = strSecret.find('\0');
    if (nNul != std::string::npos) {
        return Fail(error, SIGN_EXIT_BAD_SECRET,
                    "the secret key from " + strName + " holds a NUL byte at offset " +
                        std::to_string(nNul) + "; it must be text");
    }
    return true;
}

void DropOneLineBreak(std::string& strSecret) {
    if (strSecret.size() >= 2 && strSecret.compare(strSecret.size() - 2, 2, "\r\n") == 0) {
        strSecret.resize(strSecret.size() - 2);
    } else if (!strSecret.empty() && strSecret.back() == '\n') {
        strSecret.pop_back();
    }
}

} // namespace

bool ReadSecretKeyStream(std::FILE* pFile, const std::string& strName, std::string& strSecret,
                         SSignError& error) {
    std::string strRead;
    char szChunk[4096];
    // Reading stops just past the limit plus a line break: enough to tell "too long".
    const std::size_t nReadLimit = g_nSecretKeyMaxBytes + 3;
    while (strRead.size() < nReadLimit) {
        const std::size_t nGot = std::fread(szChunk, 1, sizeof szChunk, pFile);
        strRead.append(szChunk, nGot);
        if (nGot < sizeof szChunk) {
            break;
        }
    }
    if (std::ferror(pFile)) {
        return Fail(error, SIGN_EXIT_NO_SECRET,
                    "cannot read the secret key from " + strName + ": " + std::strerror(errno));
    }
    DropOneLineBreak(strRead);
    if (!CheckSecret(strRead, strName, error)) {
        return false;
    }
    strSecret = strRead;
    return true;
}

bool ReadSecretKey(bool bHaveFile, const std::string& strFile, std::string& strSecret,
                   SSignError& error) {
    if (!bHaveFile) {
        const char* pszValue = std::getenv(g_pszSecretKeyVariable);
        if (pszValue == nullptr) {
            return Fail(error, SIGN_EXIT_NO_SECRET,
                        std::string("no secret key: set ") + g_pszSecretKeyVariable +
                            " or use --secret-key-file");
        }
        const std::string strValue = pszValue;
        if (!CheckSecret(strValue, g_pszSecretKeyVariable, error)) {
            return false;
        }
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
