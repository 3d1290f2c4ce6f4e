// RelaxStepFast: the relaxation iteration of RelaxStep, computed in close to
// linear time and on several threads, with results equal to RelaxStep's to
// the last bit for every input.
//
// How it stays identical:
//   - every segment length is computed once, with RelaxStep's expression;
//   - a window end is read off prefix sums of those lengths only where an
//     error bound proves that RelaxStep's own sequential sum, started at the
//     point, lands on the same side of the window length; otherwise the
//     window is walked exactly as RelaxStep walks it;
//   - the nearest-candidate search only looks for candidates whose distance
//     lies below the thickness (a farther one never pushes), through a
//     hierarchy of bounding capsules over runs of consecutive points; runs
//     inside the exclusion windows are skipped whole, and a run is dropped
//     only when a bound with a wide safety margin proves that none of its
//     points can come as close as the best one found; the 8 points of a
//     leaf walk the hierarchy together and then search the leaves they
//     collected; among equal squared distances the lowest index wins, as in
//     the index-order scan;
//   - whether a point has a candidate at all follows from the window counts
//     (fwd + bwd <= n), once the extent of the curve shows that no squared
//     distance can overflow;
//   - the recentring sums run in index order on one thread.
// The parts: curve/window_ends.h (window ends), curve/capsule_tree.h (the
// hierarchy), curve/nearest_candidate.h (the search), curve/relax_workspace.h
// (buffers and threads).
// Curves the bounds do not cover (a coordinate that is infinite or not a
// number, a curve so large that squared distances overflow, a thickness or
// window that is not finite) go to RelaxStep itself.
#pragma once

#include "curve/double_array.h"
#include "curve/relax_workspace.h"

// One relaxation iteration, equal bit for bit to RelaxStep with the same
// arguments (see curve/relax_step.h for the rule):
//   x, y, z     in/out: the n curve points in model units; replaced by the
//               new, recentred points, n unchanged (n = 0 allowed).
//   thickness   the tube thickness T; pushes act below it.
//   window      the exclusion window length L along the curve.
//   nx, ny, nz  set to size n; afterwards they hold the new points before
//               recentring, as RelaxStep leaves them.
//   workspace   buffers and threads; the result does not depend on its
//               thread count. Once n is stable, a step allocates nothing.
void RelaxStepFast(CDoubleArray& x, CDoubleArray& y, CDoubleArray& z, double thickness, double window,
                   CDoubleArray& nx, CDoubleArray& ny, CDoubleArray& nz, CRelaxWorkspace& workspace);
