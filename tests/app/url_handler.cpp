#include "tests/app/url_handler.h"

#include <vector>

namespace {

std::string FullPath(const std::string& strPath) {
    char szFull[MAX_PATH];
    const DWORD cch = GetFullPathNameA(strPath.c_str(), MAX_PATH, szFull, nullptr);
    return cch > 0 && cch < MAX_PATH ? std::string(szFull, cch) : strPath;
}

std::string SelfFolder() {
    char szSelf[MAX_PATH];
    const DWORD cch = GetModuleFileNameA(nullptr, szSelf, MAX_PATH);
    std::string str(szSelf, cch < MAX_PATH ? cch : 0);
    return str.substr(0, str.find_last_of("\\/") + 1);
}

bool ReadDefaultValue(HKEY hRoot, const std::string& strKey, std::string& strValue) {
    char szValue[1024];
    DWORD cb = sizeof szValue;
    if (RegGetValueA(hRoot, strKey.c_str(), nullptr, RRF_RT_REG_SZ, nullptr, szValue, &cb) !=
        ERROR_SUCCESS) {
        return false;
    }
    strValue = szValue;
    return true;
}

bool WriteDefaultValue(HKEY hRoot, const std::string& strKey, const std::string& strValue) {
    HKEY hKey = nullptr;
    if (RegCreateKeyExA(hRoot, strKey.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, &hKey,
                        nullptr) != ERROR_SUCCESS) {
        return false;
    }
    const LONG nResult =
        RegSetValueExA(hKey, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(strValue.c_str()),
                       static_cast<DWORD>(strValue.size() + 1));
    RegCloseKey(hKey);
    return nResult == ERROR_SUCCESS;
}

} // namespace

CScopedUrlHandler::CScopedUrlHandler(const std::string& strScheme) : m_strScheme(strScheme) {
    const std::string strHelper = FullPath(SelfFolder() + KESTROW_RECORD_HELPER_RELATIVE);
    if (GetFileAttributesA(strHelper.c_str()) == INVALID_FILE_ATTRIBUTES) {
        m_strError = "no recording helper at " + strHelper;
        return;
    }
    char szTemp[MAX_PATH];
    GetTempPathA(MAX_PATH, szTemp);
    m_strRecordFile = std::string(szTemp) + "kestrow-url-handler-" +
                      std::to_string(GetCurrentProcessId()) + ".txt";
    DeleteFileA(m_strRecordFile.c_str());
    SetEnvironmentVariableA("KESTROW_RECORD_FILE", m_strRecordFile.c_str());

    HKEY hScheme = nullptr;
    m_bSchemeExisted =
        RegOpenKeyExA(HKEY_CLASSES_ROOT, strScheme.c_str(), 0, KEY_READ, &hScheme) == ERROR_SUCCESS;
    if (hScheme != nullptr) {
        RegCloseKey(hScheme);
    }
    const std::string strCommandKey = strScheme + "\\shell\\open\\command";
    m_bHadCommand = ReadDefaultValue(HKEY_CLASSES_ROOT, strCommandKey, m_strOldCommand);
    if (!WriteDefaultValue(HKEY_CLASSES_ROOT, strCommandKey, "\"" + strHelper + "\" \"%1\"")) {
        m_strError = "cannot write HKEY_CLASSES_ROOT\\" + strCommandKey;
        return;
    }
    if (!m_bSchemeExisted) {
        HKEY hKey = nullptr;
        if (RegOpenKeyExA(HKEY_CLASSES_ROOT, strScheme.c_str(), 0, KEY_SET_VALUE, &hKey) ==
            ERROR_SUCCESS) {
            RegSetValueExA(hKey, "URL Protocol", 0, REG_SZ, reinterpret_cast<const BYTE*>(""), 1);
            RegCloseKey(hKey);
        }
    }
    m_bInstalled = true;
}

CScopedUrlHandler::~CScopedUrlHandler() {
    const std::string strCommandKey = m_strScheme + "\\shell\\open\\command";
    if (!m_bSchemeExisted) {
        RegDeleteTreeA(HKEY_CLASSES_ROOT, m_strScheme.c_str());
    } else if (m_bHadCommand) {
        WriteDefaultValue(HKEY_CLASSES_ROOT, strCommandKey, m_strOldCommand);
    } else {
        RegDeleteTreeA(HKEY_CLASSES_ROOT, (m_strScheme + "\\shell\\open").c_str());
    }
    if (!m_strRecordFile.empty()) {
        DeleteFileA(m_strRecordFile.c_str());
    }
    SetEnvironmentVariableA("KESTROW_RECORD_FILE", nullptr);
}

bool CScopedUrlHandler::WaitForLaunch(std::string& strCommandLine) const {
    const DWORD dwStart = GetTickCount();
    while (GetTickCount() - dwStart < 30000) {
        const HANDLE hFile = CreateFileA(m_strRecordFile.c_str(), GENERIC_READ, FILE_SHARE_READ,
                                         nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (hFile != INVALID_HANDLE_VALUE) {
            std::vector<char> buffer(64 * 1024);
            DWORD cbRead = 0;
            const BOOL bRead =
                ReadFile(hFile, buffer.data(), static_cast<DWORD>(buffer.size()), &cbRead, nullptr);
            CloseHandle(hFile);
            if (bRead) {
                strCommandLine.assign(buffer.data(), cbRead);
                return true;
            }
        }
        Sleep(10);
    }
    return false;
}

std::string CScopedUrlHandler::ArgumentOf(const std::string& strCommandLine) {
    size_t nPos = 0;
    if (!strCommandLine.empty() && strCommandLine[0] == '"') {
        nPos = strCommandLine.find('"', 1);
        nPos = nPos == std::string::npos ? strCommandLine.size() : nPos + 1;
    } else {
        nPos = strCommandLine.find(' ');
        nPos = nPos == std::string::npos ? strCommandLine.size() : nPos;
    }
    while (nPos < strCommandLine.size() && strCommandLine[nPos] == ' ') {
        ++nPos;
    }
    std::string strArgument = strCommandLine.substr(nPos);
    if (strArgument.size() >= 2 && strArgument.front() == '"' && strArgument.back() == '"') {
        strArgument = strArgument.substr(1, strArgument.size() - 2);
    }
    return strArgument;
}
