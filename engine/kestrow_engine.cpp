#include "engine/kestrow_engine.h"

#include <chrono>
#include <cstring>
#include <limits>
#include <memory>
#include <stdexcept>

#include "crypto/hmac_sha1.h"

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
    // The new pair is built in working storage, so that a failure part-way leaves the outputs
    // and the cache as they were.
    if (m_pHMAC == nullptr ||
        !SignTimestampAt(*m_pHMAC, m_strPrefix, tNow, m_bUrlEncode != 0, m_step)) {
        return false;
    }
    // Room in the cache and the outputs before anything changes, so a failed allocation cannot
    // pair a new signature with an old timestamp; the copies cannot fail then.
    MakeRoom(m_strTimestamp, g_cchTimestamp);
    MakeRoom(m_strSignature, m_step.cchSignature);
    MakeRoom(strTimestamp, g_cchTimestamp);
    MakeRoom(strSignature, m_step.cchSignature);
    m_strTimestamp = m_step.szTimestamp;
    m_strSignature = m_step.szSignature;
    m_tLastSigned = tNow;
    m_bHavePair = true;
    strTimestamp = m_step.szTimestamp;
    strSignature = m_step.szSignature;
    return true;
}
