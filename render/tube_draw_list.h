// BuildTubeDrawList: the tube exactly as it is drawn, quad by quad, so that
// the OpenGL code only has to send it (vertex and normal arrays with
// GL_QUADS draw the same picture as one begin/end group per quad).
#pragma once

#include <vector>

#include "curve/double_array.h"

struct TubeDrawList {
    // 3 doubles (x, y, z) per vertex, 4 vertices per quad, quads in drawing
    // order; model units.
    std::vector<double> vertices;
    // One normal (3 doubles) per entry of vertices.
    std::vector<double> normals;

    int VertexCount() const { return static_cast<int>(vertices.size() / 3); }
};

// In:  x, y, z: the N curve points (ring centres); tubeX, tubeY, tubeZ: the
//      tube of BuildTube (vertex j of ring i at element i * n + j);
//      ringSegments: n.
// Out: out.vertices and out.normals replaced (their capacity is reused),
//      N * n * 4 vertices. Ring a = i is joined to ring b = (i + 1) mod N for
//      i = 0 ... N - 1; for j = 1 ... n the quad is (a, j - 1), (a, j mod n),
//      (b, (j + k) mod n), (b, (j - 1 + k) mod n), with k = 0 except for the
//      closing pair i = N - 1, where k = SeamOffset.
//      Normal of a vertex: the vertex minus its ring's centre, divided by its
//      length when that length is not zero (a zero length sends the
//      difference unchanged). A length that is not finite gives the unit
//      direction when the difference is finite (its squares overflowed) and
//      the zero normal otherwise.
//      Both lists are empty when N = 0, n < 1, the curve arrays differ in
//      size, or any tube array does not hold exactly N * n vertices (a tube
//      built for another curve, as after Stop while sketching): a stale tube
//      is not drawn, and no element beyond the arrays is read.
void BuildTubeDrawList(const CDoubleArray& x, const CDoubleArray& y, const CDoubleArray& z, const CDoubleArray& tubeX,
                       const CDoubleArray& tubeY, const CDoubleArray& tubeZ, int ringSegments, TubeDrawList& out);
