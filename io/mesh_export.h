// The tube mesh as an exchange file: Wavefront OBJ (with normals), binary
// STL or PLY, chosen by the file name's extension.
#pragma once

#include <string>

#include "render/tube_mesh.h"

enum class MeshFormat { Unknown, Obj, Stl, Ply };

// The format named by the extension of `path`: ".obj", ".stl" or ".ply" in
// any case; Unknown for anything else.
MeshFormat MeshFormatFromPath(const std::string& path);

// Wavefront OBJ text: a comment line, then "v x y z" per vertex, "vn x y z"
// per vertex normal, "f a//a b//b c//c" per triangle (1-based indices, each
// vertex with its own normal). Numbers with 9 significant digits.
std::string FormatMeshObj(const TubeMesh& mesh);

// Binary STL: an 80-byte header (never starting with "solid", which would
// mark the text form), the triangle count as a 32-bit little-endian
// integer, then 50 bytes per triangle: the facet's unit normal and its three
// corners as little-endian 32-bit floats, and a 16-bit attribute of 0.
// 84 + 50 * triangles bytes in all. A triangle without area gets the zero
// normal.
std::string FormatMeshStl(const TubeMesh& mesh);

// PLY in its ASCII form: the header declares "element vertex" with float
// x, y, z, nx, ny, nz and "element face" with "property list uchar int
// vertex_indices"; one line per vertex and per triangle ("3 a b c",
// 0-based). Numbers with 9 significant digits.
std::string FormatMeshPly(const TubeMesh& mesh);

// Writes `mesh` to `path` in `format` (not Unknown), every write and the
// close checked. Returns false with a readable `error` on failure.
bool WriteMeshFile(const std::string& path, MeshFormat format, const TubeMesh& mesh, std::string& error);
