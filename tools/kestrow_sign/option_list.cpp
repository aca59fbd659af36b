#include "tools/kestrow_sign/option_list.h"

#include <cstring>
#include <set>

bool ParseOptionList(int argc, const char* const* argv, int nFirst, const SOptionSpec* pSpecs,
                     std::size_t nSpecs, const FApplyOption& apply, SSignError& error) {
    std::set<std::string> seen;
    const std::string strTry = " (try --help)";
    for (int i = nFirst; i < argc; ++i) {
        const std::string strArg = argv[i];
        if (strArg.compare(0, 2, "--") != 0 || strArg.size() == 2) {
            return Fail(error, SIGN_EXIT_USAGE, "unexpected argument '" + strArg + "'" + strTry);
        }
        const std::size_t nEquals = strArg.find('=');
        const std::string strName = strArg.substr(0, nEquals);
        const SOptionSpec* pSpec = nullptr;
        for (std::size_t n = 0; n < nSpecs && pSpec == nullptr; ++n) {
            pSpec = strName == pSpecs[n].pszName ? &pSpecs[n] : nullptr;
        }
        if (pSpec == nullptr) {
            return Fail(error, SIGN_EXIT_USAGE, "unknown option '" + strName + "'" + strTry);
        }
        if (!seen.insert(strName).second) {
            return Fail(error, SIGN_EXIT_USAGE, strName + " is given more than once");
        }
        std::string strValue;
        if (pSpec->nKind == OPTION_FLAG) {
            if (nEquals != std::string::npos) {
                return Fail(error, SIGN_EXIT_USAGE, strName + " takes no value");
            }
        } else if (nEquals != std::string::npos) {
            strValue = strArg.substr(nEquals + 1);
        } else if (i + 1 < argc && std::strncmp(argv[i + 1], "--", 2) != 0) {
            strValue = argv[++i];
        } else {
            return Fail(error, SIGN_EXIT_USAGE, strName + " needs a value" + strTry);
        }
        if (!apply(strName, strValue, error)) {
            return false;
        }
    }
    return true;
}
