#include "controls/launch_command.h"

#include <cstring>

namespace {

// Offset of the first occurrence of pszFind in psz that starts on a character
// boundary, or -1 when there is none.
std::ptrdiff_t FindAtBoundary(const char* psz, const char* pszFind,
                              LeadBytePredicate pfnIsLeadByte) {
    const std::size_t cchFind = std::strlen(pszFind);
    const char* p = psz;
    while (*p != '\0') {
        if (std::strncmp(p, pszFind, cchFind) == 0) {
            return p - psz;
        }
        // A lead byte swallows the byte after it, unless the text ends there.
        const bool bLead =
            pfnIsLeadByte != nullptr && pfnIsLeadByte(static_cast<unsigned char>(*p));
        p += (bLead && p[1] != '\0') ? 2 : 1;
    }
    return -1;
}

} // namespace

bool MakeLaunchCommandLine(const char* pszRegisteredCommand, const char* pszUrl, char* pszOut,
                           std::size_t cbOut, LeadBytePredicate pfnIsLeadByte) {
    if (pszOut == nullptr) {
        return false;
    }
    if (pszRegisteredCommand == nullptr || pszUrl == nullptr) {
        if (cbOut > 0) {
            pszOut[0] = '\0';
        }
        return false;
    }

    std::size_t cchCommand = std::strlen(pszRegisteredCommand);
    std::ptrdiff_t nCut = FindAtBoundary(pszRegisteredCommand, "\"%1\"", pfnIsLeadByte);
    if (nCut < 0) {
        nCut = FindAtBoundary(pszRegisteredCommand, "%1", pfnIsLeadByte);
    }
    if (nCut >= 0) {
        cchCommand = static_cast<std::size_t>(nCut);
    }

    const std::size_t cchUrl = std::strlen(pszUrl);
    // Written as subtractions so that no length sum can wrap around.
    if (cbOut < 2 || cchCommand > cbOut - 2 || cchUrl > cbOut - 2 - cchCommand) {
        if (cbOut > 0) {
            pszOut[0] = '\0';
        }
        return false;
    }

    std::memmove(pszOut, pszRegisteredCommand, cchCommand);
    pszOut[cchCommand] = ' ';
    std::memcpy(pszOut + cchCommand + 1, pszUrl, cchUrl + 1);
    return true;
}
