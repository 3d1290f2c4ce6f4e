// The curve files of the tools: a VECT polyline when the name ends in
// .vect, a position data file otherwise. The one place where that choice
// is made.
#pragma once

#include <string>
#include <vector>

#include "curve/double_array.h"

// In:  path (UTF-8).
// Out: true with x, y, z replaced by the file's points; false with a
//      readable `error` and x, y, z unchanged (see ReadVectFile and
//      ReadPointsFile for what each format accepts). A file that yields
//      fewer than kMinCurveFilePoints points is refused with what it holds
//      ("\"a.txt\": an empty file", "\"a.txt\": a UTF-16 text file; ...",
//      "\"a.txt\": 3 points; a closed curve needs at least 4"), and so is
//      one of more than kMaxCurvePoints points or kMaxCurveFileBytes bytes.
//      `notes` (when given) is replaced by what the reading passed over, one
//      sentence each with the file's name, for standard error: where a
//      position data file's reading stopped before its end, a last point
//      with missing coordinates.
bool ReadCurveFile(const std::string& path, CDoubleArray& x, CDoubleArray& y, CDoubleArray& z, std::string& error,
                   std::vector<std::string>* notes = nullptr);

// In:  path (UTF-8) and the points x, y, z.
// Out: true once the whole file is written in the format of its name
//      (atomically, see WriteFileBytes); false with a readable `error` when
//      it could not be, the file at `path` then as it was.
bool WriteCurveFile(const std::string& path, const CDoubleArray& x, const CDoubleArray& y, const CDoubleArray& z,
                    std::string& error);

// In:  path (UTF-8; empty for the position text the tools write to standard
//      output) and the points x, y, z.
// Out: x, y, z replaced by what a file of that name would read back as: a
//      position data file rounds every coordinate to seven significant
//      digits, a VECT file keeps them exactly. A certificate of a curve is
//      only true of the file when it is computed on these values.
void RoundLikeCurveFile(const std::string& path, CDoubleArray& x, CDoubleArray& y, CDoubleArray& z);
