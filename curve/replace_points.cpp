#include "curve/replace_points.h"

#include <stdexcept>

void ReplacePoints(const std::vector<double>& xyz, CDoubleArray& x, CDoubleArray& y, CDoubleArray& z)
{
    const size_t count = xyz.size() / 3;
    if (count > static_cast<size_t>(CDoubleArray::kMaxSize))
        throw std::length_error("too many points");
    const int n = static_cast<int>(count);
    // Growing may fail and comes first; a grown array has kept its elements,
    // so cutting it back restores it. Shrinking cannot fail and comes last.
    CDoubleArray* arrays[3] = {&x, &y, &z};
    const int before[3] = {x.GetSize(), y.GetSize(), z.GetSize()};
    try {
        for (int k = 0; k < 3; ++k)
            if (n > before[k])
                arrays[k]->SetSize(n);
    } catch (...) {
        for (int k = 0; k < 3; ++k)
            if (arrays[k]->GetSize() > before[k])
                arrays[k]->SetSize(before[k]);
        throw;
    }
    for (CDoubleArray* a : arrays)
        if (a->GetSize() > n)
            a->SetSize(n);
    for (int i = 0; i < n; ++i) {
        x[i] = xyz[3 * static_cast<size_t>(i)];
        y[i] = xyz[3 * static_cast<size_t>(i) + 1];
        z[i] = xyz[3 * static_cast<size_t>(i) + 2];
    }
}
