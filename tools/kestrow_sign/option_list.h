#pragma once
// The command-line grammar shared by kestrow-sign and its subcommands.

#include <cstddef>
#include <functional>
#include <string>

#include "tools/kestrow_sign/sign_error.h"

enum EOptionKind { OPTION_FLAG, OPTION_VALUE };

struct SOptionSpec {
    const char* pszName;
    EOptionKind nKind;
};

// Takes one recognised option with its value ("" for a flag); false, with error filled,
// when the value is refused.
using FApplyOption =
    std::function<bool(const std::string& strName, const std::string& strValue, SSignError&)>;

// Reads argv[nFirst] onwards. Options take their value as the next argument or after '='
// (--prefix=TEXT). A next argument that starts with "--" is taken as a missing value, so
// that a forgotten value does not swallow the following option; such a value is written
// --prefix=--TEXT. Each option may appear once. On failure error holds SIGN_EXIT_USAGE (or
// what apply gave) and a message.
bool ParseOptionList(int argc, const char* const* argv, int nFirst, const SOptionSpec* pSpecs,
                     std::size_t nSpecs, const FApplyOption& apply, SSignError& error);
