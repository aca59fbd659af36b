// What the heap gets back while a key is in use must hold nothing of it: every block freed on
// each path below is scanned for the key, its hashed form (for a key longer than a block), its
// inner and outer pads and the hash states after them. Any 8 bytes of one of them, at a multiple
// of 8 or at its end, count as residue. And where an allocation fails, nothing held is lost.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <memory>
#include <new>
#include <string>
#include <utility>
#include <vector>

#include "app/check_report.h"
#include "app/sample_request.h"
#include "crypto/hmac_sha1.h"
#include "crypto/sha1.h"
#include "engine/kestrow_engine.h"
#include "engine/kestrow_verifier.h"
#include "engine/request_check.h"
#include "framework/byte_array.h"
#include "framework/utf16_text.h"
#include "tests/support/replacement_allocator.h"
#include "tools/kestrow_sign/secret_reader.h"
#include "tools/kestrow_sign/sign_request.h"

namespace {

constexpr std::int64_t kT = 1796509566;
constexpr char kKey40[] = "Residue?Probe#40:q7Zx-Wv3k+Lm9p/Hd2Tj@Bf";
constexpr char kKey100[] = "Residue?Probe#100:Nc4v-Gh8s+Qe1w/Ty6u@Pk3m_Zb5r~Xd7f^Js2l=Ow9a;"
                           "Vi0y!Ek4t&Rn8c*Lg1h%Mq6z(Ua3o)Sb7x[Cj";
static_assert(sizeof kKey40 == 41 && sizeof kKey100 == 101, "key lengths");
// Longer than either: replacing a key with it moves the key text to a bigger buffer.
const std::string kLongerKey(160, 'x');

// Pieces of key material, found in a freed block by ScanFreedBlock (which must not allocate).
std::vector<std::pair<std::string, const char*>> g_needles;
int g_nResidue = 0;
const char* g_pszFirstResidue = "";

void ScanFreedBlock(const std::uint8_t* pbBlock, std::size_t cbBlock) {
    for (const auto& [strPiece, pszWhat] : g_needles) {
        if (memmem(pbBlock, cbBlock, strPiece.data(), strPiece.size()) != nullptr) {
            g_pszFirstResidue = g_nResidue++ == 0 ? pszWhat : g_pszFirstResidue;
            return;
        }
    }
}

void AddNeedles(const void* p, std::size_t cb, const char* pszWhat) {
    for (std::size_t n = 0; n < cb; n += 8) {
        g_needles.emplace_back(std::string(static_cast<const char*>(p) + std::min(n, cb - 8), 8),
                               pszWhat);
    }
}

// The pad's key part; into pdwState the chaining value a keyed hash keeps after the pad.
void AddPad(const std::uint8_t* pbKey, std::size_t cbKey, std::uint8_t byPad, const char* pszWhat,
            std::uint32_t* pdwState) {
    std::uint8_t abPad[CSHA1::BLOCK_SIZE];
    for (std::size_t i = 0; i < sizeof abPad; ++i) {
        abPad[i] = (i < cbKey ? pbKey[i] : 0) ^ byPad;
    }
    AddNeedles(abPad, cbKey, pszWhat);
    CSHA1 sha;
    sha.AddData(abPad, CSHA1::BLOCK_SIZE);
    std::uint64_t qwBlocks = 0;
    ASSERT_TRUE(sha.ReadChainingValue(pdwState, qwBlocks));
}

// Watches every block freed from now on for pieces of pszKey and its pads.
void WatchForResidue(const char* pszKey) {
    g_needles.clear();
    g_needles.reserve(96); // once: a freed copy of the needles could end up in a product block
    g_nResidue = 0;
    g_pszFirstResidue = "nothing";
    const auto* pbKey = reinterpret_cast<const std::uint8_t*>(pszKey);
    std::size_t cbKey = std::strlen(pszKey);
    AddNeedles(pbKey, cbKey, "the key");
    const CUtf16Text<char16_t> strWide(pszKey); // wiped as it goes, once the watch has begun
    AddNeedles(strWide.GetString(), strWide.GetLength() * sizeof(char16_t), "the key in UTF-16");
    std::uint8_t abDigest[CSHA1::DIGEST_SIZE];
    if (cbKey > CSHA1::BLOCK_SIZE) {
        CSHA1 sha;
        sha.AddData(pbKey, static_cast<std::uint32_t>(cbKey));
        sha.Finish();
        sha.CopyDigest(abDigest);
        pbKey = abDigest;
        cbKey = sizeof abDigest;
        AddNeedles(pbKey, cbKey, "the hashed key");
    }
    std::uint32_t adwStates[2][CSHA1::STATE_WORDS];
    AddPad(pbKey, cbKey, 0x36, "the inner pad", adwStates[0]);
    AddPad(pbKey, cbKey, 0x5c, "the outer pad", adwStates[1]);
    // The states, as good as the key for forging, last: a block with a pad counts as the pad.
    AddNeedles(adwStates[0], sizeof adwStates[0], "a state after a pad");
    AddNeedles(adwStates[1], sizeof adwStates[1], "a state after a pad");
    WatchFreedBlocks(ScanFreedBlock);
}

void SignAndVerify(const char* pszKey) {
    auto pEngine = std::make_unique<CKestrowEngine>();
    pEngine->m_strPrefix = "UrlInfo";
    CString strTimestamp;
    CString strSignature;
    pEngine->SetSecretKey("k");
    pEngine->SetSecretKey(pszKey);
    pEngine->SignAt(kT, strTimestamp, strSignature);
    pEngine->SignAt(kT + 1, strTimestamp, strSignature);
    pEngine->SetSecretKey(kLongerKey.c_str());
    pEngine->SetSecretKey(pszKey);
    pEngine->m_nRefreshInterval = 0;
    pEngine->SignAt(kT + 2, strTimestamp, strSignature);
    pEngine->SignAt(kT + 2, strTimestamp, strSignature);
    SVerifyResult result;
    std::make_unique<CKestrowVerifier>(pszKey)->Verify(strTimestamp, strSignature, kT, result);
}

// As the dialog's Generate: the key read from its field through UTF-16 into a secret member,
// written back to the field as UTF-16, one engine per press; then the URL checked as the check
// dialog checks it, an hour later under another prefix, so that every hint is tried. The field's
// own text is the system's, out of reach, so never freed here.
void GenerateAndCheck(const char* pszKey) {
    static std::u16string s_strField(200, u'\0');
    const std::size_t nUnits = Utf16LengthOfUtf8(pszKey, std::strlen(pszKey));
    Utf8ToUtf16(pszKey, std::strlen(pszKey), s_strField.data());
    const auto Fill = [&](char16_t* pBuffer, std::size_t) {
        return std::copy_n(s_strField.data(), nUnits, pBuffer) - pBuffer;
    };
    CString strKey;
    strKey.MarkSecret();
    EXPECT_TRUE(AfxReadUtf16<char16_t>(nUnits, Fill, strKey) && strKey == pszKey &&
                CUtf16Text<char16_t>(strKey).GetLength() == nUnits);
    CString strTimestamp;
    CString strSignature;
    SCheckFields fields{"", "", "", "SiteLookup", "900"};
    ComposeSampleRequestAt(kT, strKey, "", "UrlInfo", strTimestamp, strSignature, fields.strUrl);
    EXPECT_NE(DescribeCheckAt(kT + 3600, strKey, fields).str().find("Hint: signed with prefix"),
              std::string::npos);
}

// As kestrow-sign does: sign from the environment, from a file without URL-encoding, and verify
// with hints from a stream. (The verifiers stay on the stack: blocks carved from the freed stdio
// buffer still hold the key, which is the C library's and out of reach.)
void CommandLine(const char* pszKey) {
    CString strSecret;
    SSignError error;
    SSignResult signed_;
    setenv(g_pszSecretKeyVariable, pszKey, 1);
    EXPECT_TRUE(ReadSecretKey(false, "", strSecret, error));
    unsetenv(g_pszSecretKeyVariable);
    EXPECT_TRUE(SignRequest(kT, strSecret, "KESTROWKEYID", "UrlInfo", true, signed_));
    std::FILE* pFile = std::tmpfile();
    ASSERT_NE(pFile, nullptr);
    std::fprintf(pFile, "%s\r\n", pszKey);
    std::fflush(pFile);
    const std::string strPath = "/proc/self/fd/" + std::to_string(fileno(pFile));
    EXPECT_TRUE(ReadSecretKey(true, strPath, strSecret, error));
    EXPECT_TRUE(SignRequest(kT, strSecret, "KESTROWKEYID", "UrlInfo", false, signed_));
    std::rewind(pFile);
    SVerifyRequest request;
    EXPECT_TRUE(ReadSecretKeyStream(pFile, "a stream", request.strSecretKey, error));
    std::fclose(pFile);
    request.strPrefix = "UrlInfo";
    request.strTimestamp = signed_.strTimestamp;
    request.strSignature = "x";
    CheckRequest(request);
}

// A marked string and byte array taking the key piece by piece, growing and being reassigned.
void MarkedHoldersGrow(const char* pszKey) {
    CString str;
    str.MarkSecret();
    for (const char* pch = pszKey; *pch != '\0'; ++pch) {
        str += *pch;
    }
    str += str;
    str.GetBuffer(1000);
    str.ReleaseBuffer();
    str.Format("%s%s", pszKey, pszKey);
    str = kLongerKey.c_str();
    CByteArray ba;
    ba.MarkSecret();
    ba.SetSize(static_cast<std::ptrdiff_t>(std::strlen(pszKey)));
    std::memcpy(ba.GetData(), pszKey, std::strlen(pszKey));
    CByteArray baCopy;
    baCopy.Copy(ba);
    ba.SetSize(1000);
    baCopy = std::move(ba);
}

// A Sign at t with allocation nFail failing: "timestamp|signature", after "thrown " or "false "
// when it did not succeed; both outputs hold "old" before.
std::string SignAt(CKestrowEngine& engine, std::int64_t t, int nFail = -1) {
    CString strTimestamp("old");
    CString strSignature("old");
    const char* pszHow = "false ";
    FailAllocationAfter(nFail);
    try {
        pszHow = engine.SignAt(t, strTimestamp, strSignature) ? "" : pszHow;
    } catch (const std::bad_alloc&) {
        pszHow = "thrown ";
    }
    FailAllocationAfter(-1);
    return pszHow + strTimestamp.str() + "|" + strSignature.str();
}

// Signs at tNow with the n-th allocation failing, for n = 0, 1, ... until it succeeds. After each
// failure the outputs are untouched and a Sign at tCheck answers strBefore; after the success
// the outputs hold strAfter and so does the cache.
void ExpectNothingLostOnFailure(CKestrowEngine& engine, std::int64_t tNow, std::int64_t tCheck,
                                const std::string& strBefore, const std::string& strAfter) {
    for (int n = 0; n < 100; ++n) {
        const std::string str = SignAt(engine, tNow, n);
        if (str.rfind("thrown ", 0) != 0) {
            EXPECT_EQ(str, strAfter) << "success after " << n << " allocations";
            EXPECT_EQ(SignAt(engine, tCheck), strAfter);
            return;
        }
        EXPECT_EQ(str, "thrown old|old") << "failure at allocation " << n;
        EXPECT_EQ(SignAt(engine, tCheck), strBefore) << "failure at allocation " << n;
    }
    ADD_FAILURE() << "no success after 100 allocations";
}

} // namespace

TEST(KeyResidue, NoFreedBlockHoldsTheKeyOrAPad) {
    const struct {
        const char* pszName;
        void (*pfnRun)(const char* pszKey);
    } kPaths[] = {
        {"signing: computing, cached, key replaced, interval 0; verifying", SignAndVerify},
        {"Generate, and the check of its URL", GenerateAndCheck},
        {"kestrow-sign: environment, file, stream", CommandLine},
        {"marked text and bytes growing", MarkedHoldersGrow},
    };
    for (const char* pszKey : {kKey40, kKey100}) {
        for (const auto& path : kPaths) {
            WatchForResidue(pszKey);
            path.pfnRun(pszKey);
            WatchFreedBlocks(nullptr);
            EXPECT_EQ(g_nResidue, 0) << path.pszName << ", " << std::strlen(pszKey)
                                     << "-byte key: the first block held " << g_pszFirstResidue;
        }
    }
}

// Once keyed, the keyed-hash object holds the two states and nothing else of the key: keying
// allocates nothing, and the object's own bytes hold neither the key nor a pad.
TEST(KeyResidue, AKeyedHashKeepsOnlyTheStatesAfterThePads) {
    for (const char* pszKey : {kKey40, kKey100}) {
        WatchForResidue(pszKey);
        WatchFreedBlocks(nullptr);
        const std::uint64_t nAllocations = AllocationCount();
        const CHMAC_SHA1 hmac(reinterpret_cast<const std::uint8_t*>(pszKey),
                              static_cast<std::int32_t>(std::strlen(pszKey)));
        EXPECT_EQ(AllocationCount(), nAllocations);
        ScanFreedBlock(reinterpret_cast<const std::uint8_t*>(&hmac), sizeof hmac);
        EXPECT_STREQ(g_pszFirstResidue, "a state after a pad");
    }
}

TEST(AllocationFailure, AMarkedHolderThatCannotGrowKeepsWhatItHeld) {
    CString str;
    str.MarkSecret();
    str = kKey40;
    CByteArray ba;
    ba.MarkSecret();
    ba.SetSize(40);
    const CString strLonger(std::string(100, 'y'));
    const std::function<void()> growths[] = {
        [&] { str += strLonger; }, [&] { str = strLonger.GetString(); },
        [&] { str = strLonger; },  [&] { str.GetBuffer(100); },
        [&] { ba.SetSize(100); },
    };
    for (const auto& grow : growths) {
        FailAllocationAfter(0);
        EXPECT_THROW(grow(), std::bad_alloc) << &grow - growths;
        FailAllocationAfter(-1);
        EXPECT_EQ(str, kKey40) << &grow - growths;
        EXPECT_EQ(ba.GetSize(), 40) << &grow - growths;
    }
}

TEST(AllocationFailure, ComputingOrCachedSignKeepsTheOldPairWhole) {
    // The old pair is not URL-encoded, so the cache needs more room for the new signature (two
    // escapes and the pad's: 4 characters more); cached until kT + 300, so a Sign at kT + 299
    // shows the cache.
    CKestrowEngine fresh, engine;
    for (CKestrowEngine* pEngine : {&fresh, &engine}) {
        pEngine->m_strPrefix = "UrlInfo";
        pEngine->SetSecretKey("secret");
    }
    engine.m_bUrlEncode = 0;
    const std::string strOld = SignAt(engine, kT);
    engine.m_bUrlEncode = 1;
    ExpectNothingLostOnFailure(engine, kT + 300, kT + 299, strOld, SignAt(fresh, kT + 300));
    // From the cache, both outputs are written or neither.
    const std::string strPair = SignAt(fresh, kT);
    ExpectNothingLostOnFailure(fresh, kT + 1, kT + 2, strPair, strPair);
}
