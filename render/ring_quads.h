// ForEachRingQuad: the quads that join one ring of the tube to the next,
// the one ring topology that the drawn tube and the exported mesh share.
#pragma once

// In:  a, b: the index of vertex 0 of ring a and of ring b (vertex j of a
//      ring at its first index + j); n: vertices per ring (>= 1); seam: how
//      far ring b is turned against ring a (0 ... n - 1; 0 for rings joined
//      position to position, SeamOffset for the closing pair).
// Out: emit(c0, c1, c2, c3) for j = 1 ... n in this order, the quad
//      c0 = a + (j - 1), c1 = a + j mod n, c2 = b + (j + seam) mod n,
//      c3 = b + (j - 1 + seam) mod n: the corners in the view's drawing
//      order, the last quad closing the ring. How a quad is cut into
//      triangles is the caller's.
template <class Index, class Emit>
void ForEachRingQuad(Index a, Index b, int n, int seam, Emit&& emit)
{
    // j + seam reaches 2n - 1, far below the range of the index.
    for (int j = 1; j <= n; ++j) {
        emit(static_cast<Index>(a + (j - 1)), static_cast<Index>(a + j % n), static_cast<Index>(b + (j + seam) % n),
             static_cast<Index>(b + (j - 1 + seam) % n));
    }
}
