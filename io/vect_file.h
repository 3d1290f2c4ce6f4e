// VECT polyline files: the plain-text polyline format of the published
// tables of ideal knots and of other knot tools, read and written by
// vek-relax beside the position data file.
//
// As read (one closed curve):
//   VECT
//   NPOLYLINES NVERTICES NCOLORS
//   Nv[0] ... Nv[NPOLYLINES-1]     vertices per polyline, negative = closed
//   Nc[0] ... Nc[NPOLYLINES-1]     colours per polyline: 0, 1 or |Nv|
//   NVERTICES lines of x y z
//   NCOLORS lines of r g b a
// - Numbers are separated by any white space; "#" starts a comment that runs
//   to the end of the line. The numbers are read in the C locale's form
//   (decimal point "."), must be finite, and counts must be whole numbers.
// - The counts must agree with each other (sum of |Nv| = NVERTICES, sum of
//   Nc = NCOLORS) and with the file: a file too short for its counts is
//   refused before any storage is taken for them.
// - The file must hold exactly one polyline, since Vek relaxes one closed
//   curve: several polylines (a link, or a knot drawn in pieces) are refused
//   rather than some of them silently dropped. No polyline at all is read
//   as an empty curve (which the tools then refuse: ReadCurveFile).
// - The curve is closed whatever the sign of Nv. A last vertex that repeats
//   the first exactly (the usual way to close an open polyline) is dropped,
//   so the closing segment is not counted twice.
// - The homogeneous (4VECT) and binary forms are refused with a message.
//
// As written: "VECT", "1 n 0", "-n", "0", then n lines "x y z" with the
// shortest decimal form of each coordinate that reads back to the same
// double, so a write and a read give back the curve bit for bit (but for a
// last point that repeats the first, which the read drops). An empty
// curve is written as "0 0 0" with no polyline.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "curve/double_array.h"

// Whether `path` names a VECT file: its name ends in ".vect" (any case).
bool IsVectPath(const std::string& path);

// The VECT text of the closed curve x, y, z (n points, model units). A
// coordinate that is not finite, never produced by the program, is written
// as +-1.7976931348623157e308 (infinity) or 0 (NaN) so the file reads back.
std::string FormatVectText(const CDoubleArray& x, const CDoubleArray& y, const CDoubleArray& z);

// Reads the curve of the VECT `text` by the rules above into x, y, z
// (replacing their points). Returns false with a one-line `error` for a text
// that breaks them; x, y, z are then left as they were. Should storage run
// out, std::bad_alloc propagates and x, y, z are also left as they were:
// the points are gathered apart and put into x, y, z only at the end.
bool ParseVectText(std::string_view text, CDoubleArray& x, CDoubleArray& y, CDoubleArray& z, std::string& error);

// The points of the VECT `text` as x y z triples in `xyz` (replaced; empty
// for a file without polylines); false with a one-line `error` as
// ParseVectText.
bool ParseVectCoordinates(std::string_view text, std::vector<double>& xyz, std::string& error);

// ParseVectCoordinates on the file at `path` (at most kMaxCurveFileBytes);
// the error names the file.
bool GatherVectFile(const std::string& path, std::vector<double>& xyz, std::string& error);

// ParseVectText on the file at `path`; the error names the file.
bool ReadVectFile(const std::string& path, CDoubleArray& x, CDoubleArray& y, CDoubleArray& z, std::string& error);

// Writes FormatVectText to `path` atomically (WriteFileBytes), every write
// and the close checked.
bool WriteVectFile(const std::string& path, const CDoubleArray& x, const CDoubleArray& y, const CDoubleArray& z,
                   std::string& error);
