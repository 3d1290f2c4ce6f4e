// The runs of vek-relax: a fixed number of iterations, and --until-tight,
// both on the engine's run schedule (RunRelaxation).
#pragma once

#include <functional>
#include <memory>

#include "curve/double_array.h"
#include "curve/relax_step_fast.h"

namespace vek {

// --until-tight compares the mean length of the last kTightSpan iterations
// (ten run periods, one length per period) with the mean of the kTightSpan
// before. A tight knot's length does not settle to a point: the resampling
// every period and the pushes at contact keep it trembling by about 0.1 %
// from one period to the next, far above kTightTolerance, so two single
// lengths agree within it only by chance. The run is therefore tight when
// the two means differ by less than kTightTolerance of the length, or by no
// more than kTightNoiseFactor standard errors of their difference: no trend
// is left that the trembling does not hide.
inline constexpr double kTightTolerance = 1e-5;
inline constexpr long long kTightSpan = 300;
inline constexpr double kTightNoiseFactor = 2.0;

// Relaxes the curve x, y, z (model units) for `iterations` iterations with
// the given tube thickness and resampling precision; the exclusion window
// is computed once. Returns the number of iterations done: less than
// `iterations` when a resampling refused because the curve would have more
// than vek::kMaxCurvePoints points (the curve is then left as it was after
// the last completed iteration).
long long RelaxCurve(CDoubleArray& x, CDoubleArray& y, CDoubleArray& z, long long iterations, double thickness,
                     double precision);

// The same with a given workspace (buffers and threads), so that a run of
// several calls keeps one.
long long RelaxCurve(CDoubleArray& x, CDoubleArray& y, CDoubleArray& z, long long iterations, double thickness,
                     double precision, const std::shared_ptr<CRelaxWorkspace>& workspace);

// Runs a block of `count` iterations and returns the iterations it did.
using BlockRunner = std::function<long long(long long)>;

struct TightRun {
    long long iterations = 0;
    // The length settled before the iteration limit.
    bool converged = false;
    // A block stopped short (a refused resampling).
    bool refused = false;
};

// The stopping rule of --until-tight, on any run: calls runBlock(count) for
// blocks of kRunPeriod iterations (the last one shorter if maxIterations is
// not a multiple), which returns the iterations it did, and length() after
// every block b = 1, 2, ... With k = kTightSpan / kRunPeriod (10), once
// b >= 2k: A = mean of L(b - 2k + 1 ... b - k), C = mean of L(b - k + 1 ... b),
// se = sqrt(var / k + var' / k) with the sample variances of both groups;
// stops (converged) when |C - A| < kTightTolerance * C, |C - A| <=
// kTightNoiseFactor * se, or C = A. Also stops when maxIterations are done,
// or when a block did fewer iterations than asked (refused set).
TightRun RunUntilSteady(long long maxIterations, const std::function<long long(long long)>& runBlock,
                        const std::function<double()>& length);

// Relaxes the curve as RelaxCurve does, block after block, with one
// workspace for the whole run, until its length
// settles by RunUntilSteady's rule or maxIterations are done. The curve is
// the one a RelaxCurve run of the returned iteration count gives: every
// block starts with the resampling that RelaxCurve does before iterations
// 1, 31, 61, ...
TightRun RelaxUntilTight(CDoubleArray& x, CDoubleArray& y, CDoubleArray& z, long long maxIterations, double thickness,
                         double precision);

// The same rule on blocks that runBlock relaxes (RelaxCurve blocks with
// more around them: a knot check, records), measuring the length of x, y, z
// after each.
TightRun RelaxUntilTight(const CDoubleArray& x, const CDoubleArray& y, const CDoubleArray& z, long long maxIterations,
                         const BlockRunner& runBlock);

}  // namespace vek
