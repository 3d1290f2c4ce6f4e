// vek-relax --knot NAME --ideal (or --pd CODE --ideal): the ideal search
// from more than one start. The search from one tight curve often ends in
// a local optimum a percent or more above the best known shape; the
// layouts of the diagram with other large faces outside are other curves
// of the same knot, and their searches end elsewhere. The shortest
// certified result is kept.
#pragma once

#include <string>

#include "curve/double_array.h"
#include "relax/ideal_run.h"

namespace vek {

// Starts taken: the layouts of ranks 0 ... kIdealLayoutStarts - 1 (fewer
// where the diagram has fewer).
inline constexpr int kIdealLayoutStarts = 2;

// In:  knot or pd as for MakeKnotCurve; x, y, z: the curve of rank 0, as
//      made; options as for RunIdeal (its time limit for all starts
//      together).
// Out: the run of the start whose certified ropelength is the smallest
//      (the earlier of equals), with start and starts set, seconds for all
//      starts, and stopped by the time limit when any start was; x, y, z
//      hold its polygon (as RunIdeal leaves them when no start is ok).
IdealRun RunIdealFromLayouts(const std::string& knot, const std::string& pd, CDoubleArray& x, CDoubleArray& y,
                             CDoubleArray& z, const IdealRunOptions& options);

}  // namespace vek
