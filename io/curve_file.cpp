#include "io/curve_file.h"

#include "io/points_file.h"
#include "io/vect_file.h"

bool ReadCurveFile(const std::string& path, CDoubleArray& x, CDoubleArray& y, CDoubleArray& z, std::string& error)
{
    return IsVectPath(path) ? ReadVectFile(path, x, y, z, error) : ReadPointsFile(path, x, y, z, error);
}

bool WriteCurveFile(const std::string& path, const CDoubleArray& x, const CDoubleArray& y, const CDoubleArray& z,
                    std::string& error)
{
    return IsVectPath(path) ? WriteVectFile(path, x, y, z, error) : WritePointsFile(path, x, y, z, error);
}

void RoundLikeCurveFile(const std::string& path, CDoubleArray& x, CDoubleArray& y, CDoubleArray& z)
{
    if (!path.empty() && IsVectPath(path))
        return;
    const std::string text = FormatPointsText(x, y, z);
    CDoubleArray rx, ry, rz;
    ParsePointsText(text, rx, ry, rz);
    // Every written line reads back as one point, so the counts agree.
    for (int k = 0; k < x.GetSize() && k < rx.GetSize(); ++k) {
        x[k] = rx[k];
        y[k] = ry[k];
        z[k] = rz[k];
    }
}
