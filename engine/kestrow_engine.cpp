#include "engine/kestrow_engine.h"

#include <chrono>
#include <cstring>
#include <limits>
#include <memory>
#include <stdexcept>

#include "crypto/hmac_sha1.h"
#include "engine/encoding.h"
#include "engine/utc_timestamp.h"
#include "framework/byte_array.h"

namespace {

// tNow < tLast + nInterval without forming a sum that could overflow: a sum beyond the
// 64-bit range lies in the far future (always before it), one below in the far past.
bool IsBeforeExpiry(std::int64_t tNow, std::int64_t tLast, std::int32_t nInterval) {
    constexpr std::int64_t tMax = std::numeric_limits<std::int64_t>::max();
    constexpr std::int64_t tMin = std::numeric_limits<std::int64_t>::min();
    if (nInterval > 0 && tLast > tMax - nInterval) {
        return true;
    }
    if (nInterval < 0 && tLast < tMin - nInterval) {
        return false;
    }
    return tNow < tLast + nInterval;
}

// Room for nLength characters with the text unchanged (or an exception and nothing changed), so
// that assigning a text of at most that length reuses the buffer: it neither allocates nor
// fails.
void MakeRoom(CString& str, int nLength) {
    const int nOldLength = str.GetLength();
    str.GetBuffer(nLength);
    str.ReleaseBuffer(nOldLength);
}

// The Base64 text of a digest: 4 characters for each 3 bytes begun.
constexpr int kBase64DigestLength = (CSHA1::DIGEST_SIZE + 2) / 3 * 4;

std::int64_t CurrentTime() {
    const auto tSinceEpoch = std::chrono::system_clock::now().time_since_epoch();
    return std::chrono::floor<std::chrono::seconds>(tSinceEpoch).count();
}

} // namespace

CKestrowEngine::CKestrowEngine()
    : m_bUrlEncode(1), m_nRefreshInterval(300), m_pHMAC(nullptr), m_tLastSigned(0),
      m_bHavePair(false) {
    // The key text is wiped when it is replaced and when the engine ends.
    m_strKey.MarkSecret();
}

CKestrowEngine::~CKestrowEngine() {
    delete m_pHMAC;
}

bool CKestrowEngine::SetSecretKey(const char* pszKey) {
    if (pszKey == nullptr) {
        return false;
    }
    const std::size_t nKeyLength = std::strlen(pszKey);
    if (nKeyLength > static_cast<std::size_t>(std::numeric_limits<std::int32_t>::max())) {
        throw std::length_error("CKestrowEngine::SetSecretKey: key too long");
    }
    if (m_pHMAC != nullptr && m_strKey.str().size() == nKeyLength &&
        std::memcmp(m_strKey.str().data(), pszKey, nKeyLength) == 0) {
        return false;
    }
    delete m_pHMAC;
    m_pHMAC = nullptr;
    m_tLastSigned = 0;
    m_strKey.Empty();
    auto pHMAC = std::make_unique<CHMAC_SHA1>(reinterpret_cast<const std::uint8_t*>(pszKey),
                                              static_cast<std::int32_t>(nKeyLength));
    m_strKey = pszKey;
    m_pHMAC = pHMAC.release();
    return true;
}

bool CKestrowEngine::Sign(CString& strTimestamp, CString& strSignature) {
    return SignAt(CurrentTime(), strTimestamp, strSignature);
}

bool CKestrowEngine::SignAt(std::int64_t tNow, CString& strTimestamp, CString& strSignature) {
    if (m_bHavePair && m_tLastSigned != 0 &&
        IsBeforeExpiry(tNow, m_tLastSigned, m_nRefreshInterval)) {
        // Room first: a failed allocation must not leave the outputs half written.
        MakeRoom(strTimestamp, m_strTimestamp.GetLength());
        MakeRoom(strSignature, m_strSignature.GetLength());
        strTimestamp = m_strTimestamp;
        strSignature = m_strSignature;
        return true;
    }
    if (m_pHMAC == nullptr) {
        return false;
    }
    // The new pair is built on the stack and in working storage, so that a failure part-way
    // leaves the outputs and the cache as they were.
    char szTimestamp[g_cchTimestamp + 1];
    const int cchTimestamp = FormatUtcTimestampBuffer(tNow, szTimestamp);
    m_strToSign = m_strPrefix;
    m_strToSign += szTimestamp;
    m_pHMAC->ComputeMac(reinterpret_cast<const std::uint8_t*>(m_strToSign.GetString()),
                        static_cast<std::uint32_t>(m_strToSign.GetLength()), m_baDigest);
    char szBase64[kBase64DigestLength + 1];
    Base64EncodeBuffer(m_baDigest.GetData(), CSHA1::DIGEST_SIZE, szBase64);
    char szUrlEncoded[3 * kBase64DigestLength + 1];
    const char* const pszSignature = m_bUrlEncode != 0 ? szUrlEncoded : szBase64;
    const int cchSignature =
        m_bUrlEncode != 0 ? UrlEncodeBuffer(szBase64, szUrlEncoded) : kBase64DigestLength;
    // Room in the cache and the outputs before anything changes, so a failed allocation cannot
    // pair a new signature with an old timestamp; the copies cannot fail then.
    MakeRoom(m_strTimestamp, cchTimestamp);
    MakeRoom(m_strSignature, cchSignature);
    MakeRoom(strTimestamp, cchTimestamp);
    MakeRoom(strSignature, cchSignature);
    m_strTimestamp = szTimestamp;
    m_strSignature = pszSignature;
    m_tLastSigned = tNow;
    m_bHavePair = true;
    strTimestamp = szTimestamp;
    strSignature = pszSignature;
    return true;
}
