// The curve files of the tools: a VECT polyline when the name ends in
// .vect, a position data file otherwise. The one place where that choice
// is made.
#pragma once

#include <string>

#include "curve/double_array.h"

// In:  path (UTF-8).
// Out: true with x, y, z replaced by the file's points; false with a
//      readable `error` and x, y, z unchanged (see ReadVectFile and
//      ReadPointsFile for what each format accepts).
bool ReadCurveFile(const std::string& path, CDoubleArray& x, CDoubleArray& y, CDoubleArray& z, std::string& error);

// In:  path (UTF-8) and the points x, y, z.
// Out: true once the whole file is written in the format of its name; false
//      with a readable `error` when it could not be.
bool WriteCurveFile(const std::string& path, const CDoubleArray& x, const CDoubleArray& y, const CDoubleArray& z,
                    std::string& error);

// In:  path (UTF-8; empty for the position text the tools write to standard
//      output) and the points x, y, z.
// Out: x, y, z replaced by what a file of that name would read back as: a
//      position data file rounds every coordinate to seven significant
//      digits, a VECT file keeps them exactly. A certificate of a curve is
//      only true of the file when it is computed on these values.
void RoundLikeCurveFile(const std::string& path, CDoubleArray& x, CDoubleArray& y, CDoubleArray& z);
