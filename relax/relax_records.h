// What vek-relax records of a run beside its result: the convergence log
// (--log) and the frames of a movie (--frames), of the curve as read and
// after every block of iterations.
#pragma once

#include <string>

#include "curve/double_array.h"
#include "relax/relax_frames.h"
#include "relax/relax_log.h"
#include "relax/relax_options.h"

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
    // A log row that fails is told once on standard error and the log is
    // written no more; the run goes on. A frame that fails is told, and
    // the run must stop: false, and Stopped() from then on.
    bool AfterBlock(long long iteration);

    // After a --keep-knot stop, which set the curve back to the one after
    // `iteration` iterations: a last frame of that curve, the one written,
    // when the last frame shows another (a block after it whose knot could
    // not be identified). False when that frame fails (told).
    bool AfterKeep(long long iteration);

    // A frame failed: the run was (or is to be) stopped.
    bool Stopped() const { return m_framesFailed; }

    // After the run: closes the records. False when any of them failed
    // (told on standard error already, or now).
    bool Finish();

private:
    void Fail(const std::string& error);
    bool Frame(long long iteration);

    const CDoubleArray& m_x;
    const CDoubleArray& m_y;
    const CDoubleArray& m_z;
    double m_thickness;
    RelaxLog m_log;
    bool m_failed = false;
    RelaxFrames m_frames;
    long long m_framedIteration = 0;  // of the last frame written
    bool m_framesFailed = false;
};

}  // namespace vek
