#pragma once
// The command line of kestrow-sign and of its verify command.

#include <string>
#include <vector>

#include "tools/kestrow_sign/sign_error.h"
#include "tools/kestrow_sign/sign_options.h"
#include "tools/kestrow_sign/verify_options.h"

enum ECommand { COMMAND_SIGN, COMMAND_VERIFY, COMMAND_SHOW };

struct SCommandLine {
    ECommand nCommand = COMMAND_SIGN;
    SSignOptions sign;
    SVerifyOptions verify;
    std::string strShow; // for COMMAND_SHOW: the help or version text, ending in a line break
};

// args[0] is the program, args[1] "verify" for verifying. An option takes its value as the
// next argument or after '=' (--prefix=TEXT; --prefix= is the empty text). A next argument
// that starts with "--" is taken as a missing value, so that a forgotten value does not
// swallow the following option; such a value is written --prefix=--TEXT. Each option at
// most once, flags without a value; "--" ends the options. On failure error holds
// SIGN_EXIT_USAGE and one line, which for an unknown name suggests the nearest known one.
bool ParseCommandLine(std::vector<std::string> args, const std::string& strVersion,
                      SCommandLine& command, SSignError& error);
