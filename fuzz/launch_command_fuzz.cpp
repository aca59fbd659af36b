// MakeLaunchCommandLine against a plain model of its rules, writing into a heap buffer of
// exactly the given size so that AddressSanitizer sees any byte past its end.

#include <fuzzer/FuzzedDataProvider.h>

#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "controls/launch_command.h"

namespace {

// A double-byte code page of the usual shape: 0x81 to 0xFE start a two-byte character.
bool IsDoubleByteLead(unsigned char ch) {
    return ch >= 0x81 && ch <= 0xFE;
}

// The offsets at which a character starts.
std::vector<std::size_t> CharacterStarts(const std::string& str, LeadBytePredicate pfnIsLead) {
    std::vector<std::size_t> nStarts;
    for (std::size_t i = 0; i < str.size();) {
        nStarts.push_back(i);
        const bool bLead = pfnIsLead != nullptr && pfnIsLead(static_cast<unsigned char>(str[i]));
        i += bLead ? 2 : 1;
    }
    return nStarts;
}

std::size_t FindAtCharacterStart(const std::string& str, const std::string& strWhat,
                                 LeadBytePredicate pfnIsLead) {
    for (const std::size_t i : CharacterStarts(str, pfnIsLead)) {
        if (str.compare(i, strWhat.size(), strWhat) == 0) {
            return i;
        }
    }
    return std::string::npos;
}

std::string ExpectedCommandLine(std::string strCommand, const std::string& strUrl,
                                LeadBytePredicate pfnIsLead) {
    std::size_t nCut = FindAtCharacterStart(strCommand, "\"%1\"", pfnIsLead);
    if (nCut == std::string::npos) {
        nCut = FindAtCharacterStart(strCommand, "%1", pfnIsLead);
    }
    if (nCut != std::string::npos) {
        strCommand.resize(nCut);
    }
    return strCommand + " " + strUrl;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* pbData, std::size_t cbData) {
    FuzzedDataProvider provider(pbData, cbData);
    const LeadBytePredicate pfnIsLead = provider.ConsumeBool() ? IsDoubleByteLead : nullptr;
    const bool bInPlace = provider.ConsumeBool();
    const auto cbOut = provider.ConsumeIntegralInRange<std::size_t>(0, 1100);
    // Now and then a missing text (0: command, 1: URL), which must be refused.
    const int nMissing = provider.ConsumeIntegralInRange<int>(0, 15);
    // Texts end at their first NUL, as the registry and the control hand them over.
    const std::string strCommand = provider.ConsumeRandomLengthString(700).c_str();
    const std::string strUrl = provider.ConsumeRemainingBytesAsString().c_str();

    const std::string strExpected = ExpectedCommandLine(strCommand, strUrl, pfnIsLead);
    const bool bFits = strExpected.size() + 1 <= cbOut;

    // The in-place use cuts the command inside the output buffer; that needs room for it.
    const bool bUseInPlace = bInPlace && strCommand.size() + 1 <= cbOut;
    const std::unique_ptr<char[]> pszOut(new char[cbOut]);
    std::memset(pszOut.get(), 0x5A, cbOut);
    const char* pszCommand = strCommand.c_str();
    if (bUseInPlace) {
        std::memcpy(pszOut.get(), strCommand.c_str(), strCommand.size() + 1);
        pszCommand = pszOut.get();
    }

    const char* pszUrl = nMissing == 1 ? nullptr : strUrl.c_str();
    if (nMissing == 0) {
        pszCommand = nullptr;
    }
    const bool bMade = MakeLaunchCommandLine(pszCommand, pszUrl, pszOut.get(), cbOut, pfnIsLead);
    if (bMade != (bFits && nMissing > 1)) {
        std::abort();
    }
    if (bMade && std::strcmp(pszOut.get(), strExpected.c_str()) != 0) {
        std::abort();
    }
    if (!bMade && cbOut > 0 && pszOut[0] != '\0') {
        std::abort();
    }
    return 0;
}
