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
// As read, the rules of a C scan with "%16le %16le %16le\n", more lenient
// than the writer:
// - Any run of white space (space, tab, CR, LF, vertical tab, form feed)
//   separates numbers; lines do not matter and numbers are taken three at a
//   time as x, y, z.
// - A number is an optional sign, digits with at most one decimal point (at
//   least one digit), and an optional exponent: "e" or "E", an optional sign
//   and digits. At most 16 characters are taken per number after the white
//   space before it; a longer run is cut there and its rest is the next
//   number ("12345678901234567890" reads as 1234567890123456 and 7890).
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

#include "curve/double_array.h"

// The file text for the n points x, y, z (model units): n lines of 50
// characters plus CR LF; "" for n = 0. A coordinate that is not finite is
// never produced by the program; should one appear, it is written so that
// the file stays readable: +-infinity as +-1.797693e+308 (the largest
// magnitude the format holds) and NaN as 0.000000e+000.
std::string FormatPointsText(const CDoubleArray& x, const CDoubleArray& y, const CDoubleArray& z);

// Reads points from `text` by the rules above and appends them to x, y, z
// (which keep their earlier points).
void ParsePointsText(std::string_view text, CDoubleArray& x, CDoubleArray& y, CDoubleArray& z);

// Reads the whole file at `path` as bytes and gives its points as x y z
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

// Writes the points to `path` (created, or emptied if it exists) in binary
// mode, so the CR LF line ends are written as they are. Every write, the
// flush and the close are checked: returns false with a readable `error` on
// any failure (the file may then be incomplete), true only when all of the
// text has reached the file.
bool WritePointsFile(const std::string& path, const CDoubleArray& x, const CDoubleArray& y, const CDoubleArray& z,
                     std::string& error);
