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
