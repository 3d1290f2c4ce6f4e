// BuildTubeMesh: the tube of the desktop view as one closed triangle mesh
// with shared vertices, for export (printing, other modelling programs).
// It joins the rings exactly as the view draws them: ring i to ring i + 1
// position by position, and the last ring to the first one turned by the
// seam offset, so the surface closes on itself like the drawn tube.
#pragma once

#include <vector>

#include "curve/double_array.h"

struct TubeMesh {
    // 3 doubles (x, y, z) per vertex; vertex j of ring i is vertex i * n + j
    // (the layout of BuildTube); model units unless scaled afterwards.
    std::vector<double> vertices;
    // One unit normal (3 doubles) per vertex: from the ring's centre to the
    // vertex, pointing out of the tube.
    std::vector<double> normals;
    // 3 vertex indices per triangle, counter-clockwise seen from outside.
    std::vector<int> triangles;

    int VertexCount() const { return static_cast<int>(vertices.size() / 3); }
    int TriangleCount() const { return static_cast<int>(triangles.size() / 3); }
};

// In:  x, y, z: the N curve points (ring centres, model units), closed;
//      tubeX, tubeY, tubeZ: the tube of BuildTube for that curve (N * n
//      vertices); ringSegments: n.
// Out: out replaced: N * n vertices and normals, 2 * N * n triangles. Every
//      quad that the view draws ((a, j - 1), (a, j), (b, j + k), (b, j - 1 + k),
//      k = SeamOffset for the closing pair, 0 otherwise) becomes two
//      triangles, split along its shorter diagonal. The triangles are turned
//      so that the enclosed volume (MeshSignedVolume) is positive: all of
//      them face outwards together.
//      The mesh is a closed surface (every edge in exactly two triangles)
//      only for N >= 3 and n >= 3: fewer rings or positions fold it flat.
//      out is left empty, returning false, when N < 3, n < 3, the arrays
//      differ in size, the tube does not hold N * n vertices, or a vertex
//      is not finite; true otherwise.
bool BuildTubeMesh(const CDoubleArray& x, const CDoubleArray& y, const CDoubleArray& z, const CDoubleArray& tubeX,
                   const CDoubleArray& tubeY, const CDoubleArray& tubeZ, int ringSegments, TubeMesh& out);

// Multiplies every vertex of `mesh` by `factor` (> 0; normals unchanged), as
// when the model is turned into millimetres for printing.
void ScaleTubeMesh(TubeMesh& mesh, double factor);
