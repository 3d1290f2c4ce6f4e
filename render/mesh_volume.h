// MeshSignedVolume: the volume a closed triangle mesh encloses, by the
// divergence theorem, so that its sign tells which way the triangles face.
#pragma once

#include <vector>

// In:  vertices: 3 doubles per vertex; triangles: 3 indices per triangle
//      (all within the vertex list).
// Out: the sum over the triangles (a, b, c) of a . (b x c) / 6, the signed
//      volumes of the tetrahedra they span with the origin: positive when
//      the triangles of a closed surface are counter-clockwise seen from
//      outside, negative when they all face inwards (cubic model units).
//      For a surface that is not closed the value depends on the origin.
double MeshSignedVolume(const std::vector<double>& vertices, const std::vector<int>& triangles);
