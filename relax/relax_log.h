// The convergence log of vek-relax (--log FILE.csv): a CSV table with one
// row for the curve as read and one after every block of iterations.
#pragma once

#include <cstdio>
#include <string>

#include "curve/double_array.h"

namespace vek {

// The measures of one row of the log.
struct RelaxLogRow {
    long long iteration = 0;  // iterations done before the curve was measured
    int points = 0;
    double length = 0.0;  // model units
    // Certified thickness of the polygon (a radius, model units); 0 when
    // there is none (a degenerate polygon).
    double certifiedThickness = 0.0;
    // Smallest non-local distance (model units); +infinity for none.
    double nearest = 0.0;
    long long contacts = 0;
};

// The header line (with its newline):
// iteration,points,length,nominal,ropelength,min_nonlocal_distance_over_thickness,contacts
std::string RelaxLogHeader();

// In:  x, y, z, the curve (model units); thickness, the nominal thickness
//      (a diameter); iteration, the iterations done so far.
// Out: its row: length, certified thickness, smallest non-local distance
//      (exclusion window of `thickness`) and the contacts closer than
//      kContactFactor * thickness, as the run summary measures them.
//      Time about n log n.
RelaxLogRow MeasureRelaxLogRow(const CDoubleArray& x, const CDoubleArray& y, const CDoubleArray& z, double thickness,
                               long long iteration);

// The CSV line of `row` (with its newline): iteration, points, length,
// nominal = length / thickness, ropelength = length / (2 * certified
// thickness), smallest non-local distance / thickness, contacts. Numbers in
// the shortest form that reads back exactly, with a decimal point whatever
// the locale; a figure that does not exist (no certified thickness, no
// non-local pair, a length that is not finite) is an empty field.
std::string FormatRelaxLogRow(const RelaxLogRow& row, double thickness);

// The log file of one run. Each row is flushed as it is written, so that a
// long run can be watched and a stopped one keeps its rows.
class RelaxLog {
public:
    RelaxLog() = default;
    ~RelaxLog();
    RelaxLog(const RelaxLog&) = delete;
    RelaxLog& operator=(const RelaxLog&) = delete;

    // Creates `path` (or empties it) and writes the header. False with a
    // one-line `error` when it cannot be opened or written.
    bool Open(const std::string& path, std::string& error);
    // Appends the row of the curve after `iteration` iterations. False with
    // `error` when the write fails; every later call then writes nothing
    // and returns false at once.
    bool Write(const CDoubleArray& x, const CDoubleArray& y, const CDoubleArray& z, double thickness,
               long long iteration, std::string& error);
    // Closes the file; false with `error` when the close (the last flush)
    // fails or an earlier write failed.
    bool Close(std::string& error);
    bool IsOpen() const { return m_file != nullptr; }

private:
    bool Put(const std::string& text, std::string& error);

    std::FILE* m_file = nullptr;
    std::string m_path;
    bool m_failed = false;
};

}  // namespace vek
