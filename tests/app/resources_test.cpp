// Reads the resources back from the built KestrowDemo.exe, loaded as a data file, and
// checks them field by field: what windres wrote is what the program runs on.

#include <windows.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "app/resource.h"
#include "controls/home_page.h"
#include "tests/app/demo_exe_path.h"

namespace {

const WORD kEnglishUs = MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US);

// A text or ordinal field of a dialog template, an ordinal as "#n"; with bClass the
// predefined classes by ordinal are named.
std::string ReadSzOrOrd(const BYTE*& p, bool bClass = false) {
    const WORD* pw = reinterpret_cast<const WORD*>(p);
    if (*pw == 0x0000) {
        p += 2;
        return "";
    }
    if (*pw == 0xFFFF) {
        const WORD nOrdinal = pw[1];
        p += 4;
        switch (bClass ? nOrdinal : 0) {
        case 0x0080:
            return "BUTTON";
        case 0x0081:
            return "EDIT";
        case 0x0082:
            return "STATIC";
        default:
            return "#" + std::to_string(nOrdinal);
        }
    }
    std::string str;
    while (*pw != 0) {
        EXPECT_LT(*pw, 0x80) << "non-ASCII character in a template text";
        str += static_cast<char>(*pw++);
    }
    p = reinterpret_cast<const BYTE*>(pw + 1);
    return str;
}

void AlignToDword(const BYTE*& p, const BYTE* pBase) {
    while ((p - pBase) % 4 != 0) {
        ++p;
    }
}

template <typename T> T Read(const BYTE*& p) {
    T value;
    std::memcpy(&value, p, sizeof value);
    p += sizeof value;
    return value;
}

struct SControl {
    int nId;
    std::string strClass;
    std::string strText;
    DWORD dwStyle;
    DWORD dwExStyle;
    short x, y, cx, cy;
};

bool operator==(const SControl& a, const SControl& b) {
    return a.nId == b.nId && a.strClass == b.strClass && a.strText == b.strText &&
           a.dwStyle == b.dwStyle && a.dwExStyle == b.dwExStyle && a.x == b.x && a.y == b.y &&
           a.cx == b.cx && a.cy == b.cy;
}

std::ostream& operator<<(std::ostream& os, const SControl& c) {
    return os << "{id " << c.nId << ", " << c.strClass << ", \"" << c.strText << "\", style 0x"
              << std::hex << c.dwStyle << ", ex 0x" << c.dwExStyle << std::dec << ", " << c.x << ","
              << c.y << " " << c.cx << "x" << c.cy << "}";
}

struct SDialogHeader {
    bool bExtended;
    DWORD dwStyle;
    DWORD dwExStyle;
    short x, y, cx, cy;
    std::string strMenu, strClass, strCaption, strFont;
    WORD nPointSize;
    WORD nWeight;  // extended templates only
    BYTE bItalic;  // extended templates only
    BYTE nCharSet; // extended templates only
};

bool operator==(const SDialogHeader& a, const SDialogHeader& b) {
    return a.bExtended == b.bExtended && a.dwStyle == b.dwStyle && a.dwExStyle == b.dwExStyle &&
           a.x == b.x && a.y == b.y && a.cx == b.cx && a.cy == b.cy && a.strMenu == b.strMenu &&
           a.strClass == b.strClass && a.strCaption == b.strCaption && a.strFont == b.strFont &&
           a.nPointSize == b.nPointSize && a.nWeight == b.nWeight && a.bItalic == b.bItalic &&
           a.nCharSet == b.nCharSet;
}

std::ostream& operator<<(std::ostream& os, const SDialogHeader& h) {
    return os << "{" << (h.bExtended ? "extended" : "classic") << ", style 0x" << std::hex
              << h.dwStyle << ", ex 0x" << h.dwExStyle << std::dec << ", " << h.x << "," << h.y
              << " " << h.cx << "x" << h.cy << ", menu \"" << h.strMenu << "\", class \""
              << h.strClass << "\", caption \"" << h.strCaption << "\", font " << h.nPointSize
              << " \"" << h.strFont << "\" weight " << h.nWeight << " italic " << int(h.bItalic)
              << " charset " << int(h.nCharSet) << "}";
}

struct SDialog {
    SDialogHeader header{};
    std::vector<SControl> controls;
};

SDialog ParseDialog(const BYTE* pBase) {
    SDialog d;
    SDialogHeader& h = d.header;
    const BYTE* p = pBase;
    WORD nItems = 0;
    h.bExtended = reinterpret_cast<const WORD*>(p)[1] == 0xFFFF;
    if (h.bExtended) {
        EXPECT_EQ(Read<WORD>(p), 1) << "template version";
        Read<WORD>(p);
        EXPECT_EQ(Read<DWORD>(p), 0u) << "help id";
        h.dwExStyle = Read<DWORD>(p);
        h.dwStyle = Read<DWORD>(p);
    } else {
        h.dwStyle = Read<DWORD>(p);
        h.dwExStyle = Read<DWORD>(p);
    }
    nItems = Read<WORD>(p);
    h.x = Read<short>(p);
    h.y = Read<short>(p);
    h.cx = Read<short>(p);
    h.cy = Read<short>(p);
    h.strMenu = ReadSzOrOrd(p);
    h.strClass = ReadSzOrOrd(p);
    h.strCaption = ReadSzOrOrd(p);
    if (h.dwStyle & DS_SETFONT) {
        h.nPointSize = Read<WORD>(p);
        if (h.bExtended) {
            h.nWeight = Read<WORD>(p);
            h.bItalic = Read<BYTE>(p);
            h.nCharSet = Read<BYTE>(p);
        }
        h.strFont = ReadSzOrOrd(p);
    }
    for (WORD i = 0; i < nItems; ++i) {
        AlignToDword(p, pBase);
        SControl c{};
        if (h.bExtended) {
            EXPECT_EQ(Read<DWORD>(p), 0u) << "help id of control " << i;
            c.dwExStyle = Read<DWORD>(p);
            c.dwStyle = Read<DWORD>(p);
        } else {
            c.dwStyle = Read<DWORD>(p);
            c.dwExStyle = Read<DWORD>(p);
        }
        c.x = Read<short>(p);
        c.y = Read<short>(p);
        c.cx = Read<short>(p);
        c.cy = Read<short>(p);
        c.nId = h.bExtended ? static_cast<int>(Read<DWORD>(p))
                            : static_cast<int>(static_cast<short>(Read<WORD>(p)));
        c.strClass = ReadSzOrOrd(p, true);
        c.strText = ReadSzOrOrd(p);
        EXPECT_EQ(Read<WORD>(p), 0) << "creation data of control " << i;
        d.controls.push_back(c);
    }
    return d;
}

class ProgramResources : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        s_hModule = LoadLibraryExA(DemoExePath().c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    }
    static void TearDownTestSuite() {
        if (s_hModule != nullptr) {
            FreeLibrary(s_hModule);
        }
    }
    void SetUp() override { ASSERT_NE(s_hModule, nullptr) << "cannot load " << DemoExePath(); }

    // The bytes of one resource, which must exist in US English.
    static std::pair<const BYTE*, DWORD> Resource(LPCSTR pszType, LPCSTR pszName) {
        const HRSRC hInfo = FindResourceExA(s_hModule, pszType, pszName, kEnglishUs);
        if (hInfo == nullptr) {
            ADD_FAILURE() << "resource missing in language 1033";
            return {nullptr, 0};
        }
        const HGLOBAL hData = LoadResource(s_hModule, hInfo);
        return {static_cast<const BYTE*>(LockResource(hData)), SizeofResource(s_hModule, hInfo)};
    }

    // The template of dialog nId, header first, then control by control in template order.
    static void ExpectDialog(int nId, const SDialogHeader& header,
                             const std::vector<SControl>& controls) {
        const auto [pData, cb] = Resource(RT_DIALOG, MAKEINTRESOURCEA(nId));
        ASSERT_NE(pData, nullptr);
        const SDialog d = ParseDialog(pData);
        EXPECT_EQ(d.header, header);
        ASSERT_EQ(d.controls.size(), controls.size());
        for (size_t i = 0; i < controls.size(); ++i) {
            EXPECT_EQ(d.controls[i], controls[i]) << "control #" << i + 1;
        }
    }

    static HMODULE s_hModule;
};

HMODULE ProgramResources::s_hModule = nullptr;

TEST_F(ProgramResources, MainDialogTemplateIsExtendedWithEveryControlAsDesigned) {
    ExpectDialog(
        IDD_KESTROWDEMO_DIALOG,
        {true, 0x90C800C0, 0x00040000, 0, 0, 320, 203, "", "", "Ombry Kestrow Demo",
         "MS Sans Serif", 8, 0, 0, 1},
        {
            {-1, "STATIC",
             "This demo is based on the same engine as the Ombry Kestrow ActiveX component.\n"
             "Feel free to try it to see what you can expect from the ActiveX.",
             0x50020000, 0, 7, 7, 297, 21},
            {-1, "STATIC", "Your Secret Access Key:", 0x50020000, 0, 37, 42, 80, 8},
            {1000, "EDIT", "", 0x50810080, 0, 125, 40, 120, 14},
            {-1, "STATIC", "Access Key ID (optional):", 0x50020000, 0, 36, 60, 80, 8},
            {1008, "EDIT", "", 0x50810080, 0, 125, 58, 120, 14},
            {-1, "STATIC", "Service/Operation Prefix:", 0x50020000, 0, 37, 78, 80, 8},
            {1001, "EDIT", "", 0x50810080, 0, 125, 76, 120, 14},
            {1002, "BUTTON", "&Generate", 0x50010001, 0, 263, 76, 50, 14},
            {-1, "STATIC", "Timestamp:", 0x50020000, 0, 80, 104, 37, 8},
            {1003, "EDIT", "", 0x50810880, 0, 125, 102, 120, 14},
            {-1, "STATIC", "Signature:", 0x50020000, 0, 84, 124, 33, 8},
            {1004, "EDIT", "", 0x50810880, 0, 125, 122, 120, 14},
            {-1, "STATIC", "AWS Sample URL", 0x50020002, 0, 47, 144, 68, 9},
            {1005, "EDIT", "", 0x50810884, 0, 125, 142, 120, 14},
            {1007, "BUTTON", "&Test URL", 0x58010000, 0, 263, 142, 50, 14},
            {1006, "STATIC", KESTROW_HOME_PAGE_URL, 0x50020000, 0, 7, 188, 200, 8},
            {2, "BUTTON", "E&xit", 0x50010000, 0, 263, 182, 50, 14},
        });
}

TEST_F(ProgramResources, AboutTemplateIsClassicWithIconTextButtonAndLink) {
    ExpectDialog(IDD_ABOUTBOX,
                 {false, 0x80C800C0, 0, 0, 0, 235, 55, "", "", "About KestrowDemo", "MS Sans Serif",
                  8, 0, 0, 0},
                 {
                     {-1, "STATIC", "#128", 0x50000003, 0, 11, 17, 20, 20},
                     {-1, "STATIC", "KestrowDemo Version 1.0", 0x50020080, 0, 40, 10, 119, 8},
                     {1, "BUTTON", "OK", 0x50030001, 0, 178, 7, 50, 14},
                     {1006, "STATIC", KESTROW_HOME_PAGE_URL, 0x50020000, 0, 40, 40, 188, 8},
                 });
}

TEST_F(ProgramResources, AboutItemTextIsInTheStringTable) {
    char szText[128] = {};
    const int cch = LoadStringA(s_hModule, IDS_ABOUTBOX, szText, sizeof szText);
    EXPECT_EQ(cch, 21);
    EXPECT_STREQ(szText, "&About KestrowDemo...");
}

TEST_F(ProgramResources, IconGroupHoldsFourSizesInEightAndThirtyTwoBitDepth) {
    const auto [pDir, cbDir] = Resource(RT_GROUP_ICON, MAKEINTRESOURCEA(IDR_MAINFRAME));
    ASSERT_NE(pDir, nullptr);
    ASSERT_GE(cbDir, 6u);
    const BYTE* p = pDir;
    EXPECT_EQ(Read<WORD>(p), 0);
    EXPECT_EQ(Read<WORD>(p), 1) << "resource type: icon";
    const WORD nCount = Read<WORD>(p);
    ASSERT_EQ(cbDir, 6u + 14u * nCount);

    std::set<std::pair<int, int>> found;
    for (WORD i = 0; i < nCount; ++i) {
        const int nWidth = Read<BYTE>(p);
        const int nHeight = Read<BYTE>(p);
        Read<BYTE>(p); // colour count
        Read<BYTE>(p);
        EXPECT_EQ(Read<WORD>(p), 1) << "planes";
        const int nBits = Read<WORD>(p);
        const DWORD cbImage = Read<DWORD>(p);
        const WORD nImageId = Read<WORD>(p);
        EXPECT_EQ(nWidth, nHeight);
        found.insert({nWidth, nBits});

        // The image itself must agree with its directory entry and be loadable.
        const auto [pImage, cb] = Resource(RT_ICON, MAKEINTRESOURCEA(nImageId));
        ASSERT_NE(pImage, nullptr);
        ASSERT_EQ(cb, cbImage);
        BITMAPINFOHEADER bih;
        std::memcpy(&bih, pImage, sizeof bih);
        EXPECT_EQ(bih.biWidth, nWidth);
        EXPECT_EQ(bih.biHeight, 2 * nHeight) << "image and mask";
        EXPECT_EQ(bih.biBitCount, nBits);
        const HICON hIcon = CreateIconFromResourceEx(const_cast<BYTE*>(pImage), cb, TRUE,
                                                     0x00030000, nWidth, nHeight, 0);
        EXPECT_NE(hIcon, nullptr) << nWidth << " px, " << nBits << " bit";
        if (hIcon != nullptr) {
            DestroyIcon(hIcon);
        }
    }
    const std::set<std::pair<int, int>> wanted = {{16, 8}, {16, 32}, {24, 8}, {24, 32},
                                                  {32, 8}, {32, 32}, {48, 8}, {48, 32}};
    EXPECT_EQ(found, wanted);
}

TEST_F(ProgramResources, ManifestNamesTheProgramForItsArchitectureAndOnlyCommonControls) {
    const auto [pData, cb] = Resource(MAKEINTRESOURCEA(24), MAKEINTRESOURCEA(1));
    ASSERT_NE(pData, nullptr);
    const std::string strManifest(reinterpret_cast<const char*>(pData), cb);
#ifdef _WIN64
    const std::string strArch = "amd64";
#else
    const std::string strArch = "X86";
#endif
    const auto Contains = [&](const std::string& strPart) {
        return strManifest.find(strPart) != std::string::npos;
    };
    EXPECT_TRUE(Contains("<assemblyIdentity type=\"win32\" name=\"Ombry.Kestrow.KestrowDemo\" "
                         "version=\"1.0.0.0\" processorArchitecture=\"" +
                         strArch + "\"/>"))
        << strManifest;
    EXPECT_TRUE(Contains("<description>Test</description>"));
    EXPECT_TRUE(Contains("<assemblyIdentity type=\"win32\" "
                         "name=\"Microsoft.Windows.Common-Controls\" version=\"6.0.0.0\" "
                         "processorArchitecture=\"" +
                         strArch + "\" publicKeyToken=\"6595b64144ccf1df\" language=\"*\"/>"))
        << strManifest;

    size_t nDependencies = 0;
    for (size_t n = strManifest.find("<dependency>"); n != std::string::npos;
         n = strManifest.find("<dependency>", n + 1)) {
        ++nDependencies;
    }
    EXPECT_EQ(nDependencies, 1u);
    EXPECT_FALSE(Contains("VC80"));
    EXPECT_FALSE(Contains("MFC"));
    EXPECT_FALSE(Contains("8.0.50727"));
}

std::string VersionString(const std::vector<BYTE>& block, const char* pszName) {
    const std::string strPath = std::string("\\StringFileInfo\\040904b0\\") + pszName;
    char* pszValue = nullptr;
    UINT cch = 0;
    if (!VerQueryValueA(block.data(), strPath.c_str(), reinterpret_cast<void**>(&pszValue), &cch) ||
        pszValue == nullptr) {
        return "<missing>";
    }
    return pszValue;
}

TEST_F(ProgramResources, VersionBlockGivesVersionNamesAndTranslation) {
    const std::string strPath = DemoExePath();
    DWORD dwHandle = 0;
    const DWORD cb = GetFileVersionInfoSizeA(strPath.c_str(), &dwHandle);
    ASSERT_GT(cb, 0u);
    std::vector<BYTE> block(cb);
    ASSERT_TRUE(GetFileVersionInfoA(strPath.c_str(), 0, cb, block.data()));

    VS_FIXEDFILEINFO* pFixed = nullptr;
    UINT cbFixed = 0;
    ASSERT_TRUE(VerQueryValueA(block.data(), "\\", reinterpret_cast<void**>(&pFixed), &cbFixed));
    ASSERT_EQ(cbFixed, sizeof(VS_FIXEDFILEINFO));
    EXPECT_EQ(pFixed->dwSignature, 0xFEEF04BDu);
    EXPECT_EQ(pFixed->dwFileVersionMS, 0x00010000u);
    EXPECT_EQ(pFixed->dwFileVersionLS, 0u);
    EXPECT_EQ(pFixed->dwProductVersionMS, 0x00010000u);
    EXPECT_EQ(pFixed->dwProductVersionLS, 0u);
    EXPECT_EQ(pFixed->dwFileFlagsMask, 0x3Fu);
    EXPECT_EQ(pFixed->dwFileFlags, 0u);
    EXPECT_EQ(pFixed->dwFileOS, 4u);
    EXPECT_EQ(pFixed->dwFileType, 1u);
    EXPECT_EQ(pFixed->dwFileSubtype, 0u);

    EXPECT_EQ(VersionString(block, "FileDescription"), "Ombry Kestrow Demo");
    EXPECT_EQ(VersionString(block, "FileVersion"), "1, 0, 0, 0");
    EXPECT_EQ(VersionString(block, "InternalName"), "Ombry Kestrow Demo");
    EXPECT_EQ(VersionString(block, "OriginalFilename"), "KestrowDemo.EXE");
    EXPECT_EQ(VersionString(block, "ProductName"), "KestrowDemo Application");
    EXPECT_EQ(VersionString(block, "ProductVersion"), "1, 0, 0, 0");
    EXPECT_EQ(VersionString(block, "CompanyName"), "Ombry");
    EXPECT_EQ(VersionString(block, "LegalCopyright"), "Copyright (C) 2026 Ombry");

    WORD* pTranslation = nullptr;
    UINT cbTranslation = 0;
    ASSERT_TRUE(VerQueryValueA(block.data(), "\\VarFileInfo\\Translation",
                               reinterpret_cast<void**>(&pTranslation), &cbTranslation));
    ASSERT_EQ(cbTranslation, 4u);
    EXPECT_EQ(pTranslation[0], 0x0409);
    EXPECT_EQ(pTranslation[1], 1200);
}

// Every resource of the program is in US English, and only in it.
BOOL CALLBACK CollectLanguage(HMODULE, LPCSTR, LPCSTR, WORD wLanguage, LONG_PTR lParam) {
    reinterpret_cast<std::set<WORD>*>(lParam)->insert(wLanguage);
    return TRUE;
}

BOOL CALLBACK CollectName(HMODULE hModule, LPCSTR pszType, LPSTR pszName, LONG_PTR lParam) {
    EnumResourceLanguagesA(hModule, pszType, pszName, CollectLanguage, lParam);
    return TRUE;
}

BOOL CALLBACK CollectType(HMODULE hModule, LPSTR pszType, LONG_PTR lParam) {
    EnumResourceNamesA(hModule, pszType, CollectName, lParam);
    return TRUE;
}

TEST_F(ProgramResources, EveryResourceIsInUsEnglish) {
    std::set<WORD> languages;
    EnumResourceTypesA(s_hModule, CollectType, reinterpret_cast<LONG_PTR>(&languages));
    EXPECT_EQ(languages, std::set<WORD>{kEnglishUs});
}

} // namespace
