// CDoubleArray: a growable array of 64-bit floats with an explicit growth
// rule, in which every coordinate of the curve and the tube is kept.
//
// Sizes and indices are 32-bit signed integers. New elements read 0.0 until
// written. SetSize(0) releases the storage; shrinking keeps it. Growing past
// the capacity without an explicit grow-by adds size / 8 elements, clamped
// to 4 ... 1024, or exactly what is asked for if that is more.
//
// Allocation failure throws std::bad_alloc and leaves the array unchanged;
// a size beyond kMaxSize throws std::length_error, also leaving it unchanged.
#pragma once

#include <cstdint>
#include <memory>

class CDoubleArray {
public:
    // The largest number of elements an array may hold: the growth rule
    // adds up to 1024 to the capacity, which must stay a 32-bit int.
    static constexpr int kMaxSize = INT32_MAX - 1024;

    CDoubleArray() = default;
    CDoubleArray(const CDoubleArray&) = delete;
    CDoubleArray& operator=(const CDoubleArray&) = delete;

    int GetSize() const { return m_nSize; }
    int GetCapacity() const { return m_nCapacity; }
    int GetGrowBy() const { return m_nGrowBy; }

    // Sets the number of elements. growBy other than -1 replaces the
    // growth step (0 = automatic).
    void SetSize(int newSize, int growBy = -1);
    // Sets the number of elements for a caller that then writes every one
    // of them: the old values are not kept (all elements read 0.0). Storage
    // that is too small, or more than twice the new size, is released
    // before new storage is taken, so the old and the new block never exist
    // together and a much smaller array does not hold on to the memory of
    // a large one. Otherwise the storage is kept. The growth step is
    // unchanged. On failure the array is left empty.
    void SetSizeForOverwrite(int newSize);

    // Stores value at index, first growing the array to index + 1 elements
    // when index >= size.
    void SetAtGrow(int index, double value);

    // Appends value at the end (SetAtGrow at the current size).
    void Add(double value) { SetAtGrow(m_nSize, value); }

    // Callers keep 0 <= index < GetSize().
    double& operator[](int index) { return m_pData[index]; }
    double operator[](int index) const { return m_pData[index]; }

    double* GetData() { return m_pData.get(); }
    const double* GetData() const { return m_pData.get(); }

private:
    std::unique_ptr<double[]> m_pData;
    int m_nSize = 0;
    int m_nCapacity = 0;
    int m_nGrowBy = 0;
};
