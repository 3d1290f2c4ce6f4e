#include "curve/double_array.h"

#include <algorithm>
#include <new>
#include <stdexcept>

namespace {

std::unique_ptr<double[]> AllocateZeroed(int count)
{
    // new double[n]() zero-fills; every new element reads 0.0.
    return std::unique_ptr<double[]>(new double[static_cast<size_t>(count)]());
}

}  // namespace

void CDoubleArray::SetSize(int newSize, int growBy)
{
    if (newSize < 0 || newSize > kMaxSize)
        throw std::length_error("CDoubleArray size out of range");
    if (growBy != -1)
        m_nGrowBy = growBy;

    if (newSize == 0) {
        m_pData.reset();
        m_nSize = 0;
        m_nCapacity = 0;
        return;
    }
    if (!m_pData) {
        m_pData = AllocateZeroed(newSize);
        m_nSize = newSize;
        m_nCapacity = newSize;
        return;
    }
    if (newSize <= m_nCapacity) {
        if (newSize > m_nSize)
            std::fill(m_pData.get() + m_nSize, m_pData.get() + newSize, 0.0);
        m_nSize = newSize;
        return;
    }

    int step = m_nGrowBy;
    if (step == 0)
        step = std::clamp(m_nSize / 8, 4, 1024);
    // Compare in 64 bits: capacity + step may pass the 32-bit range for a
    // caller-chosen grow-by.
    const long long stepped = static_cast<long long>(m_nCapacity) + step;
    const int newCapacity = newSize < stepped ? static_cast<int>(std::min<long long>(stepped, kMaxSize)) : newSize;

    std::unique_ptr<double[]> grown = AllocateZeroed(newCapacity);
    std::copy(m_pData.get(), m_pData.get() + m_nSize, grown.get());
    m_pData = std::move(grown);
    m_nCapacity = newCapacity;
    m_nSize = newSize;
}

void CDoubleArray::SetSizeForOverwrite(int newSize)
{
    if (newSize < 0 || newSize > kMaxSize)
        throw std::length_error("CDoubleArray size out of range");
    if (newSize > m_nCapacity || m_nCapacity / 2 > newSize) {
        const int growBy = m_nGrowBy;
        SetSize(0);
        SetSize(newSize, growBy);
        return;
    }
    std::fill(m_pData.get(), m_pData.get() + newSize, 0.0);
    m_nSize = newSize;
}

void CDoubleArray::SetAtGrow(int index, double value)
{
    if (index < 0)
        throw std::out_of_range("CDoubleArray index below 0");
    if (index >= m_nSize) {
        if (index >= kMaxSize)
            throw std::length_error("CDoubleArray size out of range");
        SetSize(index + 1, -1);
    }
    m_pData[index] = value;
}
