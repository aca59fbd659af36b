#pragma once
// Test scaffolding for the hyperlink under Wine: a framework window that hosts one
// static control the way a dialog does (so it reflects WM_CTLCOLORSTATIC and
// STN_CLICKED back to it), fonts, pixels, and the registry class of web pages.

#include "framework/afx.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <type_traits>
#include <vector>

constexpr int kLinkId = 1006;
// Style of the dialogs' control 1006: WS_CHILD | WS_VISIBLE | WS_GROUP.
constexpr DWORD kLinkStyle = 0x50020000;

class CLinkHost {
public:
    // The borderless top-level window's client area starts at (kLeft, kTop). It is
    // shared by every host of the process and stays: Wine without a window manager
    // takes seconds to take a shown window down.
    static constexpr int kLeft = 100;
    static constexpr int kTop = 80;

    CLinkHost() = default;
    // Destroys the controls this host added.
    ~CLinkHost();
    CLinkHost(const CLinkHost&) = delete;
    CLinkHost& operator=(const CLinkHost&) = delete;

    // A static control kLinkId at rc (parent client coordinates) with kLinkStyle plus
    // dwExtraStyle, drawing with hFont (nullptr: the system's font).
    HWND AddStatic(const char* pszText, DWORD dwExtraStyle, const RECT& rc, HFONT hFont);

    HWND Parent() const;

private:
    std::vector<HWND> m_controls;
};

struct FontDeleter {
    void operator()(HFONT hFont) const { ::DeleteObject(hFont); }
};
using FontPtr = std::unique_ptr<std::remove_pointer_t<HFONT>, FontDeleter>;

// A plain font nPixelHeight pixels high (character height).
FontPtr MakeFont(int nPixelHeight, const char* pszFace = "Tahoma");
LOGFONTA FontDescription(HGDIOBJ hFont);
// Size of one line of text as the window's device context measures it in hFont
// (nullptr: the device context's own font).
SIZE MeasureText(HWND hWnd, const std::string& str, HFONT hFont);
// The window rectangle in its parent's client coordinates.
RECT RectInParent(HWND hWnd);
// Pixels of exactly clr in the window's client area as it is drawn now.
int CountPixels(HWND hWnd, COLORREF clr);
// After the pending repaint: whether the text shows in clrText (a good many pixels of
// it) and nowhere in clrAbsent.
::testing::AssertionResult IsDrawnIn(HWND hWnd, COLORREF clrText, COLORREF clrAbsent);
// Whether a WM_TIMER with id nTimerId becomes due for hWnd within dwMs (not removed).
bool TimerTicks(HWND hWnd, UINT_PTR nTimerId, DWORD dwMs = 400);

// The registry of web pages under HKEY_CLASSES_ROOT, changed for the life of the
// object: ".htm" and the class KestrowTest.WebPage, plus any keys made with SetDefaultValue.
// Everything made is removed and ".htm" gets back what it had, also when a test fails.
class CWebPageRegistry {
public:
    static constexpr const char* kClassName = "KestrowTest.WebPage";

    CWebPageRegistry();
    ~CWebPageRegistry();
    CWebPageRegistry(const CWebPageRegistry&) = delete;
    CWebPageRegistry& operator=(const CWebPageRegistry&) = delete;

    // ".htm" names the test class, whose open command is strCommand.
    bool SetOpenCommand(const std::string& strCommand);
    // ".htm" names the test class, which has no open command.
    bool SetClassWithoutCommand();
    // No ".htm" at all.
    bool RemoveWebPageClass();
    // The default value of HKEY_CLASSES_ROOT\strKey (created; removed afterwards):
    // cbData bytes of pData of type dwType, or no default value when pData is nullptr.
    bool SetDefaultValue(const std::string& strKey, DWORD dwType, const void* pData, DWORD cbData);

private:
    bool m_bHadHtm = false;
    bool m_bHtmHadDefault = false;
    std::string m_strOldHtmDefault;
    std::vector<std::string> m_madeKeys;
};
