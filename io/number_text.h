// The numbers of the text file formats (position data file, VECT): one
// writer for both, in the C locale whatever the process's locale is.
#pragma once

#include <string>
#include <string_view>

#include "curve/double_array.h"

// In:  value; digits: -1 for the shortest text that reads back as the same
//      double, else the digits after the point in scientific form ("%.*e").
// Out: the text; NaN is written as 0 and an infinity as the largest double
//      of its sign, so that every written file reads back.
std::string NumberText(double value, int digits);

// In:  a number token of the text files (sign, digits with at most one
//      point, an optional exponent with digits) that from_chars found out
//      of a double's range.
// Out: true when it is too small for a double (it reads as 0 with its
//      sign), false when too large. Any count of digits is taken.
bool IsBelowDoubleRange(std::string_view token);

// In:  the points x, y, z; number(out, value) appends one coordinate;
//      first ... last - 1, the points to write (last < 0: to the end).
// Out: one line per point appended to out: x, y and z separated by one
//      space, then lineEnd.
template <class Number>
void AppendPointLines(std::string& out, const CDoubleArray& x, const CDoubleArray& y, const CDoubleArray& z,
                      const Number& number, std::string_view lineEnd, int first = 0, int last = -1)
{
    if (last < 0)
        last = x.GetSize();
    for (int k = first; k < last; ++k) {
        number(out, x[k]);
        out += ' ';
        number(out, y[k]);
        out += ' ';
        number(out, z[k]);
        out += lineEnd;
    }
}
