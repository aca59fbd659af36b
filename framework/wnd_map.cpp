// The window-handle map (one per process, guarded: helper threads may look windows up)
// and the per-thread state.

#include <mutex>

#include "framework/thread_state.h"

namespace {

struct PermanentMap {
    std::mutex mutex;
    std::unordered_map<HWND, CWnd*> map;
};

PermanentMap& Permanent() {
    static PermanentMap s_map;
    return s_map;
}

} // namespace

AfxThreadState& AfxGetThreadState() {
    thread_local AfxThreadState t_state;
    return t_state;
}

void AfxDeleteTempMaps() {
    AfxThreadState& state = AfxGetThreadState();
    if (state.nWndProcDepth != 0) {
        return;
    }
    state.tempWnds.clear();
    state.tempDCs.clear();
    state.tempFonts.clear();
    state.tempBrushes.clear();
    state.tempGdiObjects.clear();
    state.tempMenus.clear();
}

CWnd* AfxLookupPermanent(HWND hWnd) {
    if (hWnd == nullptr) {
        return nullptr;
    }
    PermanentMap& permanent = Permanent();
    std::lock_guard<std::mutex> lock(permanent.mutex);
    auto it = permanent.map.find(hWnd);
    return it == permanent.map.end() ? nullptr : it->second;
}

bool AfxMapPermanent(HWND hWnd, CWnd* pWnd) {
    PermanentMap& permanent = Permanent();
    std::lock_guard<std::mutex> lock(permanent.mutex);
    return permanent.map.emplace(hWnd, pWnd).second;
}

void AfxUnmapPermanent(HWND hWnd, const CWnd* pWnd) {
    PermanentMap& permanent = Permanent();
    std::lock_guard<std::mutex> lock(permanent.mutex);
    auto it = permanent.map.find(hWnd);
    if (it != permanent.map.end() && it->second == pWnd) {
        permanent.map.erase(it);
    }
}
