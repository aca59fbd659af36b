// Message-map lookup, shared by every CCmdTarget class.

#include "framework/object.h"

namespace {
const AFX_MSGMAP_ENTRY s_noEntries[] = {{0, 0, 0, 0, nullptr}};
const AFX_MSGMAP s_rootMap = {nullptr, &s_noEntries[0]};
} // namespace

const AFX_MSGMAP* CCmdTarget::GetThisMessageMap() {
    return &s_rootMap;
}

const AFX_MSGMAP* CCmdTarget::GetMessageMap() const {
    return GetThisMessageMap();
}

const AFX_MSGMAP_ENTRY* CCmdTarget::FindMessageEntry(UINT nMessage, UINT nCode, UINT nID) const {
    for (const AFX_MSGMAP* pMap = GetMessageMap(); pMap != nullptr;
         pMap = pMap->pfnGetBaseMap != nullptr ? pMap->pfnGetBaseMap() : nullptr) {
        for (const AFX_MSGMAP_ENTRY* pEntry = pMap->lpEntries; pEntry->nMessage != 0; ++pEntry) {
            if (pEntry->nMessage != nMessage) {
                continue;
            }
            if (nMessage == WM_COMMAND &&
                (pEntry->nCode != nCode || nID < pEntry->nID || nID > pEntry->nLastID)) {
                continue;
            }
            if (nMessage == WM_REFLECT_BASE + WM_COMMAND && pEntry->nCode != nCode) {
                continue;
            }
            return pEntry;
        }
    }
    return nullptr;
}

BOOL CCmdTarget::OnCmdMsg(UINT nID, int nCode) {
    const AFX_MSGMAP_ENTRY* pEntry = FindMessageEntry(WM_COMMAND, static_cast<UINT>(nCode), nID);
    if (pEntry == nullptr) {
        return FALSE;
    }
    LRESULT lResult = 0;
    return pEntry->pfnThunk(this, MAKEWPARAM(nID, nCode), 0, &lResult);
}
