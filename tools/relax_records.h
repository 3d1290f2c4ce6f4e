// What vek-relax records of a run beside its result: the convergence log
// (--log) of the curve as read and after every block of iterations.
#pragma once

#include <string>

#include "curve/double_array.h"
#include "tools/relax_log.h"
#include "tools/relax_options.h"

namespace vek {

class RelaxRecords {
public:
    // x, y, z: the curve of the run (it must outlive the records).
    RelaxRecords(const CDoubleArray& x, const CDoubleArray& y, const CDoubleArray& z, double thickness);

    // Before the run: opens what `options` asks for and records the curve
    // as read (iteration 0). False with a one-line `error` when a record
    // cannot be made (a log name that is the input file, a file that cannot
    // be written); the run must not start then.
    bool Start(const RelaxOptions& options, std::string& error);

    // After a block: records the curve after `iteration` iterations in all.
    // A record that fails is told once on standard error and written no
    // more; the run goes on.
    void AfterBlock(long long iteration);

    // After the run: closes the records. False when any of them failed
    // (told on standard error already, or now).
    bool Finish();

private:
    void Fail(const std::string& error);

    const CDoubleArray& m_x;
    const CDoubleArray& m_y;
    const CDoubleArray& m_z;
    double m_thickness;
    RelaxLog m_log;
    bool m_failed = false;
};

}  // namespace vek
