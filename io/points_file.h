// The position data file: a plain-text list of the curve points, one point
// per line, which the user saves and loads.
//
// As written: ASCII, no header and no count; one line per point in curve
// order (the closing point is not repeated); each line is x, y, z as three
// fields of 16 characters separated by one space, each field the number in
// scientific notation with six digits after the point and a three-digit
// exponent, right-aligned ("   1.000000e+000   -2.500000e-001    1.000000e-001"),
// and every line ends with CR LF. A save rounds every coordinate to seven
// significant digits. No points give an empty text.
//
// As read, the rules of a C scan with "%le %le %le\n", more lenient than
// the writer:
// - A UTF-8 byte-order mark at the start is skipped.
// - Any run of white space (space, tab, CR, LF, vertical tab, form feed)
//   separates numbers; lines do not matter and numbers are taken three at a
//   time as x, y, z.
// - A number is an optional sign, digits with at most one decimal point (at
//   least one digit), and an optional exponent: "e" or "E", an optional sign
//   and digits. A number is read whole however long it is, so files of
//   full-precision numbers ("%.18e", 24 characters) read right.
// - An "e", "e+" or "e-" without exponent digits is taken along and ignored,
//   as the C scan does: "1e" and "1e+" read as 1.
// - Three holders x, y, z start at 0.0 once. A scan that reads one or two
//   numbers still adds a point; its coordinates not read repeat the previous
//   point's (0.0 for the first point).
// - Reading ends at the end of the text or at the first thing that is not a
//   number where a number is expected; the points read until then, a partial
//   last one included, stay. That includes a sign or point with no digit
//   ("-", ".", "-."); a C library would swallow those characters and might
//   scan on after them, but content that is not a number ends the reading.
// - The reader never yields a coordinate that is not finite: there is no
//   syntax for infinity or NaN ("inf", "nan" end the reading), hexadecimal
//   is not a number form ("0x1p3" reads as 0, then "x" ends the reading),
//   and a number too large for a double ("1e999") ends the reading like a
//   character that cannot start a number. A number too small for a double
//   ("1e-999") reads as 0 with its sign, as the C scan does.
// - The decimal point is "." whatever the process locale.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "curve/constants.h"
#include "curve/double_array.h"

// What a reading of a position data text found: its points and what it
// passed over. Callers tell "no points" from a curve by `points`, and say
// `noPoints` or the `notes` to the user.
struct PointsReading {
    // x y z triples of the first points (at most the reading's limit).
    std::vector<double> xyz;
    // The points the text holds, counted on beyond the limit.
    long long points = 0;
    // When points is 0, what the text holds instead, for a message after
    // the file's name: "an empty file", "no points: only white space",
    // "no points: binary data, not text", "a UTF-16 text file; ...",
    // "no points: line 1 starts with \"nan\", which is not a number".
    std::string noPoints;
    // When there are points, what the reading passed over, one sentence
    // each: where it stopped before the end of the text ("reading stopped at
    // line 12 at \"nan\" (not a number); the 11 points before it are kept
    // ...") and a last point with fewer than 3 coordinates.
    std::vector<std::string> notes;
};

// The file text for the n points x, y, z (model units): n lines of 50
// characters plus CR LF; "" for n = 0. A coordinate that is not finite is
// never produced by the program; should one appear, it is written so that
// the file stays readable: +-infinity as +-1.797693e+308 (the largest
// magnitude the format holds) and NaN as 0.000000e+000.
std::string FormatPointsText(const CDoubleArray& x, const CDoubleArray& y, const CDoubleArray& z);

// Reads points from `text` by the rules above and appends them to x, y, z
// (which keep their earlier points).
void ParsePointsText(std::string_view text, CDoubleArray& x, CDoubleArray& y, CDoubleArray& z);

// Reads `text` by the rules above into `reading` (replaced), storing at
// most maxPoints points and counting the rest.
void ScanPointsText(std::string_view text, PointsReading& reading, long long maxPoints = vek::kMaxCurvePoints);

// Reads the whole file at `path` (at most kMaxCurveFileBytes) into
// `reading` as ScanPointsText does. Returns false with a readable `error`
// when the file cannot be opened or read, or is too large; a file without
// points is read (true) with reading.points = 0 and reading.noPoints set.
// Should storage run out, std::bad_alloc propagates.
bool GatherPointsFile(const std::string& path, PointsReading& reading, std::string& error,
                      long long maxPoints = vek::kMaxCurvePoints);

// Reads the whole file at `path` as bytes and gives all its points as x y z
// triples in `xyz` (replaced). Returns false with a readable `error` when the
// file cannot be opened or read. Should storage run out, std::bad_alloc
// propagates. The time taken grows in proportion to the file's size.
bool GatherPointsFile(const std::string& path, std::vector<double>& xyz, std::string& error);

// Reads the whole file at `path` as bytes and replaces x, y, z with its
// points. Returns false with a readable `error` when the file cannot be
// opened or read; x, y, z are then left as they were. Should storage run
// out, std::bad_alloc (or std::length_error beyond the arrays' largest
// size) propagates and x, y, z are also left as they were. The time taken
// grows in proportion to the file's size.
bool ReadPointsFile(const std::string& path, CDoubleArray& x, CDoubleArray& y, CDoubleArray& z, std::string& error);

// Writes the points to `path` in binary mode, so the CR LF line ends are
// written as they are, and atomically (WriteFileBytes): returns false with
// a readable `error` on any failure, the file at `path` then as it was;
// true only when all of the text has reached the file.
bool WritePointsFile(const std::string& path, const CDoubleArray& x, const CDoubleArray& y, const CDoubleArray& z,
                     std::string& error);
