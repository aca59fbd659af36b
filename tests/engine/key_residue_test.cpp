// What the heap gets back while a key is in use must hold nothing of it: every block freed on
// each path below is scanned for the key, its hashed form (for a key longer than a block) and
// its inner and outer pads. Any 8 bytes of one of them, at a multiple of 8 or at its end, count
// as residue.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <new>
#include <string>

#include "app/sample_request.h"
#include "crypto/sha1.h"
#include "engine/kestrow_engine.h"
#include "engine/kestrow_verifier.h"
#include "framework/byte_array.h"
#include "tests/support/replacement_allocator.h"
#include "tools/kestrow_sign/secret_reader.h"
#include "tools/kestrow_sign/sign_request.h"
#include "tools/kestrow_sign/verify_hints.h"

namespace {

constexpr std::int64_t kT = 1796509566;
constexpr char kKey40[] = "Residue?Probe#40:q7Zx-Wv3k+Lm9p/Hd2Tj@Bf";
constexpr char kKey100[] = "Residue?Probe#100:Nc4v-Gh8s+Qe1w/Ty6u@Pk3m_Zb5r~Xd7f^Js2l=Ow9a;"
                           "Vi0y!Ek4t&Rn8c*Lg1h%Mq6z(Ua3o)Sb7x[Cj";
static_assert(sizeof kKey40 == 41 && sizeof kKey100 == 101, "key lengths");
// Longer than either: replacing a key with it moves the key text to a bigger buffer.
const std::string kLongerKey(160, 'x');

constexpr std::size_t kPiece = 8;
struct SNeedle {
    std::uint8_t ab[kPiece];
    const char* pszWhat;
};
SNeedle g_needles[64];
std::size_t g_nNeedles = 0;
int g_nResidue = 0;
const char* g_pszFirstResidue = "";

void ScanFreedBlock(const std::uint8_t* pbBlock, std::size_t cbBlock) {
    for (std::size_t i = 0; i < g_nNeedles; ++i) {
        if (memmem(pbBlock, cbBlock, g_needles[i].ab, kPiece) != nullptr) {
            g_pszFirstResidue = g_nResidue++ == 0 ? g_needles[i].pszWhat : g_pszFirstResidue;
            return;
        }
    }
}

void AddNeedles(const std::uint8_t* pb, std::size_t cb, const char* pszWhat) {
    for (std::size_t n = 0; n < cb; n += kPiece) {
        std::memcpy(g_needles[g_nNeedles].ab, pb + std::min(n, cb - kPiece), kPiece);
        g_needles[g_nNeedles++].pszWhat = pszWhat;
    }
}

// The chaining value a keyed hash keeps after a pad: as good as the key for forging.
void AddPadState(const std::uint8_t* pbPad, const char* pszWhat) {
    CSHA1 sha;
    sha.AddData(pbPad, CSHA1::BLOCK_SIZE);
    std::uint32_t adwState[CSHA1::STATE_WORDS];
    std::uint64_t qwBlocks = 0;
    ASSERT_TRUE(sha.ReadChainingValue(adwState, qwBlocks));
    AddNeedles(reinterpret_cast<const std::uint8_t*>(adwState), sizeof adwState, pszWhat);
}

// Watches every block freed during its lifetime for pieces of pszKey and its pads.
class CResidueWatch {
public:
    explicit CResidueWatch(const char* pszKey) {
        g_nNeedles = 0;
        g_nResidue = 0;
        const auto* pbKey = reinterpret_cast<const std::uint8_t*>(pszKey);
        std::size_t cbKey = std::strlen(pszKey);
        AddNeedles(pbKey, cbKey, "the key");
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
        std::uint8_t abInner[CSHA1::BLOCK_SIZE];
        std::uint8_t abOuter[CSHA1::BLOCK_SIZE];
        std::memset(abInner, 0x36, sizeof abInner);
        std::memset(abOuter, 0x5c, sizeof abOuter);
        for (std::size_t i = 0; i < cbKey; ++i) {
            abInner[i] = pbKey[i] ^ 0x36;
            abOuter[i] = pbKey[i] ^ 0x5c;
        }
        AddNeedles(abInner, cbKey, "the inner pad");
        AddNeedles(abOuter, cbKey, "the outer pad");
        AddPadState(abInner, "the state after the inner pad");
        AddPadState(abOuter, "the state after the outer pad");
        WatchFreedBlocks(ScanFreedBlock);
    }
    ~CResidueWatch() { WatchFreedBlocks(nullptr); }
    CResidueWatch(const CResidueWatch&) = delete;
    CResidueWatch& operator=(const CResidueWatch&) = delete;
};

void SignComputingCachedAndReplaced(const char* pszKey) {
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
}

void Verify(const char* pszKey) {
    auto pVerifier = std::make_unique<CKestrowVerifier>(pszKey);
    SVerifyResult result;
    pVerifier->Verify("2026-12-05T22:26:06.000Z", "x", kT, result);
}

// As the dialog's Generate: the key in a secret field, one engine per press.
void Generate(const char* pszKey) {
    CString strKey;
    strKey.MarkSecret();
    strKey = pszKey;
    CString strTimestamp;
    CString strSignature;
    CString strUrl;
    ComposeSampleRequestAt(kT, strKey, "KESTROWKEYID", "UrlInfo", strTimestamp, strSignature,
                           strUrl);
}

// As kestrow-sign does: sign from the environment, from a file without URL-encoding, and verify
// with hints from a stream.
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
    std::fputs(pszKey, pFile);
    std::fputs("\r\n", pFile);
    std::fflush(pFile);
    char szPath[64];
    std::snprintf(szPath, sizeof szPath, "/proc/self/fd/%d", fileno(pFile));
    EXPECT_TRUE(ReadSecretKey(true, szPath, strSecret, error));
    EXPECT_TRUE(SignRequest(kT, strSecret, "KESTROWKEYID", "UrlInfo", false, signed_));

    std::rewind(pFile);
    SVerifyRequest request;
    EXPECT_TRUE(ReadSecretKeyStream(pFile, "a stream", request.strSecretKey, error));
    std::fclose(pFile);
    request.strPrefix = "UrlInfo";
    request.strTimestamp = signed_.strTimestamp;
    request.strSignature = "x";
    CKestrowVerifier verifier(request.strSecretKey);
    SVerifyResult result;
    verifier.Verify(request.strTimestamp, request.strSignature, kT, result);
    FindVerifyHints(request, result);
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

struct SPath {
    const char* pszName;
    void (*pfnRun)(const char* pszKey);
};

const SPath kPaths[] = {
    {"signing: computing, cached, key replaced, interval 0", SignComputingCachedAndReplaced},
    {"verification", Verify},
    {"Generate", Generate},
    {"kestrow-sign: environment, file, stream", CommandLine},
    {"marked text and bytes growing", MarkedHoldersGrow},
};

} // namespace

TEST(KeyResidue, NoFreedBlockHoldsTheKeyOrAPad) {
    for (const char* pszKey : {kKey40, kKey100}) {
        for (const SPath& path : kPaths) {
            int nResidue = 0;
            {
                const CResidueWatch watch(pszKey);
                path.pfnRun(pszKey);
                nResidue = g_nResidue;
            }
            EXPECT_EQ(nResidue, 0) << path.pszName << ", " << std::strlen(pszKey)
                                   << "-byte key: the first block held " << g_pszFirstResidue;
        }
    }
}

TEST(KeyResidue, AMarkedHolderThatCannotGrowKeepsWhatItHeld) {
    CString str;
    str.MarkSecret();
    str = kKey40;
    CByteArray ba;
    ba.MarkSecret();
    ba.SetSize(40);
    const CString strLonger(std::string(100, 'y'));
    struct {
        const char* pszName;
        void (*pfnGrow)(CString& str, CByteArray& ba, const CString& strLonger);
    } const kGrowths[] = {
        {"+=", [](CString& s, CByteArray&, const CString& l) { s += l; }},
        {"= text", [](CString& s, CByteArray&, const CString& l) { s = l.GetString(); }},
        {"= string", [](CString& s, CByteArray&, const CString& l) { s = l; }},
        {"GetBuffer", [](CString& s, CByteArray&, const CString&) { s.GetBuffer(100); }},
        {"SetSize", [](CString&, CByteArray& b, const CString&) { b.SetSize(100); }},
    };
    for (const auto& growth : kGrowths) {
        FailAllocationAfter(0);
        EXPECT_THROW(growth.pfnGrow(str, ba, strLonger), std::bad_alloc) << growth.pszName;
        FailAllocationAfter(-1);
        EXPECT_EQ(str, kKey40) << growth.pszName;
        EXPECT_EQ(ba.GetSize(), 40) << growth.pszName;
    }
}
