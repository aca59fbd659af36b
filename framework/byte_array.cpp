#include "framework/byte_array.h"

#include <stdexcept>
#include <utility>

#include "framework/secure_wipe.h"

CByteArray::CByteArray(CByteArray&& src) noexcept
    : m_data(std::move(src.m_data)), m_bSecret(src.m_bSecret) {
}

CByteArray& CByteArray::operator=(const CByteArray& src) {
    if (this != &src) {
        if (m_bSecret && src.m_data.size() > m_data.capacity()) {
            std::vector<std::uint8_t> newData(src.m_data);
            Adopt(newData);
        } else {
            m_data.assign(src.m_data.begin(), src.m_data.end());
        }
        m_bSecret = m_bSecret || src.m_bSecret;
    }
    return *this;
}

CByteArray& CByteArray::operator=(CByteArray&& src) noexcept {
    if (this != &src) {
        if (m_bSecret) {
            SecureWipeContainer(m_data);
        }
        m_data = std::move(src.m_data);
        m_bSecret = m_bSecret || src.m_bSecret;
    }
    return *this;
}

CByteArray::~CByteArray() {
    if (m_bSecret) {
        SecureWipeContainer(m_data);
    }
}

void CByteArray::SetSize(std::ptrdiff_t nNewSize) {
    if (nNewSize < 0) {
        throw std::invalid_argument("CByteArray::SetSize: negative size");
    }
    const auto nSize = static_cast<std::size_t>(nNewSize);
    if (m_bSecret && nSize > m_data.capacity()) {
        std::vector<std::uint8_t> newData;
        newData.reserve(nSize);
        newData.assign(m_data.begin(), m_data.end());
        Adopt(newData);
    }
    m_data.resize(nSize);
}

void CByteArray::RemoveAll() {
    if (m_bSecret) {
        SecureWipeContainer(m_data);
    } else {
        m_data.clear();
    }
}

void CByteArray::Adopt(std::vector<std::uint8_t>& newData) noexcept {
    if (m_bSecret) {
        SecureWipeContainer(m_data);
    }
    m_data.swap(newData);
}

std::size_t CByteArray::CheckedIndex(std::ptrdiff_t nIndex) const {
    if (nIndex < 0 || nIndex >= GetSize()) {
        throw std::out_of_range("CByteArray: index out of range");
    }
    return static_cast<std::size_t>(nIndex);
}

std::uint8_t CByteArray::GetAt(std::ptrdiff_t nIndex) const {
    return m_data[CheckedIndex(nIndex)];
}

void CByteArray::SetAt(std::ptrdiff_t nIndex, std::uint8_t byValue) {
    m_data[CheckedIndex(nIndex)] = byValue;
}

std::uint8_t& CByteArray::operator[](std::ptrdiff_t nIndex) {
    return m_data[CheckedIndex(nIndex)];
}
