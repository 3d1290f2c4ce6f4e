// The benchmarks' curve: the example trefoil relaxed for 3000 iterations at
// precision 1 (65 points at the construction spacing), made once per process.
#pragma once

#include <cstdio>
#include <string>

#include "curve/constants.h"
#include "io/points_file.h"
#include "relax/relax_cli.h"

struct TightTrefoil {
    CDoubleArray x, y, z;
    bool ok = false;
};

inline const TightTrefoil& Trefoil()
{
    static const TightTrefoil* trefoil = [] {
        auto* t = new TightTrefoil;
        std::string error;
        if (!ReadPointsFile(std::string(VEK_SOURCE_DIR) + "/examples/trefoil.txt", t->x, t->y, t->z, error)) {
            std::fprintf(stderr, "benchmark: %s\n", error.c_str());
            return t;
        }
        t->ok = vek::RelaxCurve(t->x, t->y, t->z, 3000, vek::kThickness, 1.0) == 3000;
        return t;
    }();
    return *trefoil;
}

// A fresh copy of the tight trefoil's points.
inline void CopyTrefoil(CDoubleArray& x, CDoubleArray& y, CDoubleArray& z)
{
    const TightTrefoil& t = Trefoil();
    const int n = t.x.GetSize();
    x.SetSize(n);
    y.SetSize(n);
    z.SetSize(n);
    for (int k = 0; k < n; ++k) {
        x[k] = t.x[k];
        y[k] = t.y[k];
        z[k] = t.z[k];
    }
}
