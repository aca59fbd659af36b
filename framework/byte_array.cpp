#include "framework/byte_array.h"

#include <stdexcept>

void CByteArray::SetSize(std::ptrdiff_t nNewSize) {
    if (nNewSize < 0) {
        throw std::invalid_argument("CByteArray::SetSize: negative size");
    }
    m_data.resize(static_cast<std::size_t>(nNewSize));
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
