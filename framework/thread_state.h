#pragma once
// Framework-internal: the per-thread state of the window layer and the map from window
// handles to their permanent objects.

#include <memory>
#include <unordered_map>

#include "framework/gdi.h"
#include "framework/menu.h"
#include "framework/wnd.h"

struct AfxThreadState {
    MSG msgCur{};            // the message being handled (CWnd::Default)
    int nWndProcDepth = 0;   // window procedure calls on this thread's stack
    bool bReporting = false; // an exception report is on screen
    // Temporary wrappers from FromHandle; deleted when the message loop is idle.
    std::unordered_map<HWND, std::unique_ptr<CWnd>> tempWnds;
    std::unordered_map<HDC, std::unique_ptr<CDC>> tempDCs;
    std::unordered_map<HGDIOBJ, std::unique_ptr<CFont>> tempFonts;
    std::unordered_map<HGDIOBJ, std::unique_ptr<CBrush>> tempBrushes;
    std::unordered_map<HGDIOBJ, std::unique_ptr<CGdiObject>> tempGdiObjects;
    std::unordered_map<HMENU, std::unique_ptr<CMenu>> tempMenus;
};

AfxThreadState& AfxGetThreadState();

// Deletes the temporary wrappers, unless a window procedure is running on this thread
// (its handler may still hold one). Message loops call it when their queue is empty.
void AfxDeleteTempMaps();

// Permanent objects: bound by Attach/SubclassWindow/CreateEx until the window goes.
CWnd* AfxLookupPermanent(HWND hWnd);
// FALSE when hWnd already has an object.
bool AfxMapPermanent(HWND hWnd, CWnd* pWnd);
void AfxUnmapPermanent(HWND hWnd, const CWnd* pWnd);
