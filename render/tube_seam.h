// SeamOffset: how far the first ring must be turned to meet the last ring,
// whose frame has in general come round the closed curve at another angle.
#pragma once

#include "curve/double_array.h"

// In:  tubeX, tubeY, tubeZ: tube vertices as BuildTube writes them (vertex j
//      of ring i at element i * n + j); ringCount: N rings; ringSegments: n.
// Out: k in 0 ... n - 1, the position of the first ring's vertex nearest to
//      vertex 0 of the last ring (Euclidean distance, model units). Only a
//      strictly nearer vertex replaces an earlier one, so among equally near
//      vertices the lowest position wins; if no distance is below the
//      largest finite double (all NaN or infinite), k = 0.
//      k = 0 also when N < 1, n < 1 or the arrays hold fewer than N * n
//      vertices: no element beyond the arrays is read.
int SeamOffset(const CDoubleArray& tubeX, const CDoubleArray& tubeY, const CDoubleArray& tubeZ, int ringCount,
               int ringSegments);
