#pragma once
// The framework's growable byte array: a thin value type over std::vector.

#include <cstddef>
#include <cstdint>
#include <vector>

class CByteArray {
public:
    CByteArray() = default;
    CByteArray(const CByteArray& src) : m_data(src.m_data), m_bSecret(src.m_bSecret) {}
    CByteArray(CByteArray&& src) noexcept;
    CByteArray& operator=(const CByteArray& src);
    CByteArray& operator=(CByteArray&& src) noexcept;
    ~CByteArray();

    // For an array that holds a secret: from now on every buffer it lets go of (when it grows,
    // is assigned to, emptied or destroyed) is wiped first, and copies made from it are marked
    // too.
    void MarkSecret() { m_bSecret = true; }
    bool IsSecret() const { return m_bSecret; }

    std::ptrdiff_t GetSize() const { return static_cast<std::ptrdiff_t>(m_data.size()); }
    // Grows with zero bytes or shrinks to nNewSize; a negative size is refused.
    void SetSize(std::ptrdiff_t nNewSize);
    void RemoveAll();

    std::uint8_t* GetData() { return m_data.empty() ? nullptr : m_data.data(); }
    const std::uint8_t* GetData() const { return m_data.empty() ? nullptr : m_data.data(); }

    std::uint8_t GetAt(std::ptrdiff_t nIndex) const;
    void SetAt(std::ptrdiff_t nIndex, std::uint8_t byValue);
    std::uint8_t& operator[](std::ptrdiff_t nIndex);
    std::uint8_t operator[](std::ptrdiff_t nIndex) const { return GetAt(nIndex); }

    // Becomes a copy of src: same size, same bytes.
    void Copy(const CByteArray& src) { *this = src; }

private:
    std::size_t CheckedIndex(std::ptrdiff_t nIndex) const;
    // Takes newData's buffer; newData gets the old one, wiped first when this array is secret.
    void Adopt(std::vector<std::uint8_t>& newData) noexcept;

    std::vector<std::uint8_t> m_data;
    bool m_bSecret = false;
};
