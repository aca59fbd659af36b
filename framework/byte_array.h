#pragma once
// The framework's growable byte array: a thin value type over std::vector.

#include <cstddef>
#include <cstdint>
#include <vector>

class CByteArray {
public:
    CByteArray() = default;

    std::ptrdiff_t GetSize() const { return static_cast<std::ptrdiff_t>(m_data.size()); }
    // Grows with zero bytes or shrinks to nNewSize; a negative size is refused.
    void SetSize(std::ptrdiff_t nNewSize);
    void RemoveAll() { m_data.clear(); }

    std::uint8_t* GetData() { return m_data.empty() ? nullptr : m_data.data(); }
    const std::uint8_t* GetData() const { return m_data.empty() ? nullptr : m_data.data(); }

    std::uint8_t GetAt(std::ptrdiff_t nIndex) const;
    void SetAt(std::ptrdiff_t nIndex, std::uint8_t byValue);
    std::uint8_t& operator[](std::ptrdiff_t nIndex);
    std::uint8_t operator[](std::ptrdiff_t nIndex) const { return GetAt(nIndex); }

    // Becomes a copy of src: same size, same bytes.
    void Copy(const CByteArray& src) { m_data = src.m_data; }

private:
    std::size_t CheckedIndex(std::ptrdiff_t nIndex) const;

    std::vector<std::uint8_t> m_data;
};
