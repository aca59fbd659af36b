#pragma once
// Makes the recording helper the shell's handler for one URL scheme, for the life
// of the object, and reads back the command line the shell started it with.
//
// Wine does not merge the per-user classes into HKEY_CLASSES_ROOT, so the handler is
// written there, in the test's private prefix; the previous command is put back
// (or the keys removed) when the object goes. Tests using it take the ctest
// resource lock wine_hkcr.

#include <windows.h>

#include <string>

class CScopedUrlHandler {
public:
    explicit CScopedUrlHandler(const std::string& strScheme);
    ~CScopedUrlHandler();
    CScopedUrlHandler(const CScopedUrlHandler&) = delete;
    CScopedUrlHandler& operator=(const CScopedUrlHandler&) = delete;

    bool Installed() const { return m_bInstalled; }
    const std::string& Error() const { return m_strError; }

    // Waits for the helper's record; false when no handler ran in time.
    bool WaitForLaunch(std::string& strCommandLine) const;

    // The argument after the program in a command line of the form "prog" "arg".
    static std::string ArgumentOf(const std::string& strCommandLine);

private:
    std::string m_strScheme;
    std::string m_strRecordFile;
    bool m_bInstalled = false;
    bool m_bSchemeExisted = false;
    bool m_bHadCommand = false;
    std::string m_strOldCommand;
    std::string m_strError;
};
