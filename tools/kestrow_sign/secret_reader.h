#pragma once
// The Secret Access Key, from a file, standard input or the environment.

#include <cstddef>
#include <cstdio>
#include <string>

#include "framework/cstring.h"
#include "tools/kestrow_sign/sign_error.h"

constexpr const char* g_pszSecretKeyVariable = "KESTROW_SECRET_KEY";
// Far beyond any real key; stops a wrong file (a device, a log) from being read whole.
constexpr std::size_t g_nSecretKeyMaxBytes = 64 * 1024;

// From strFile when bHaveFile ("-" is standard input, read in binary mode), else from
// the environment variable. A file loses exactly one trailing "\n" or "\r\n"; the
// variable is taken as it is. The secret must be non-empty, free of NUL bytes (the
// engine takes a NUL-terminated key) and at most g_nSecretKeyMaxBytes long. strSecret comes
// back marked secret, and every buffer that held the secret on the way is wiped.
bool ReadSecretKey(bool bHaveFile, const std::string& strFile, CString& strSecret,
                   SSignError& error);

// The same checks and line-break rule for a stream not read from yet (it is made unbuffered);
// strName names it in messages.
bool ReadSecretKeyStream(std::FILE* pFile, const std::string& strName, CString& strSecret,
                         SSignError& error);
