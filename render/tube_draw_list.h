// BuildTubeDrawList: the tube as it is drawn, so that the OpenGL code only
// has to send it. Every tube vertex is stored once, with its normal; the
// quads refer to them by index, and the tube is cut into pieces of at most
// kDrawPieceRings ring pairs, so that no single draw call hands the renderer
// more than a few megabytes however long the curve is.
//
// A quad with corners c0, c1, c2, c3 is sent as the triangles (c0, c1, c2)
// and (c0, c2, c3): the split that Mesa makes of a quad drawn on its own, so
// the picture is that of the quads pixel for pixel (indexed quads are split
// otherwise there, which moved the odd pixel by one level).
#pragma once

#include <cstdint>
#include <vector>

#include "curve/double_array.h"
#include "geom/vec3.h"

// Rings are drawn at least this share of the ring radius apart. The
// relaxation leaves a polygon that is smooth to far below a pixel but whose
// central differences tilt neighbouring rings by some 0.01 radian at a fine
// spacing; rings closer together than the radius times that tilt cross each
// other, their quads fold, and the folded ones, seen from behind and lit
// with the reversed normal, speckle the tube (a third of the quads at
// precision 10,000). A curve with denser points is drawn from evenly chosen
// points of its own, with rings built afresh around them (a hundredth of
// the radius is under a pixel however far the view zooms); one as coarse as
// precision 50 or coarser is drawn ring for ring.
inline constexpr double kDrawnRingSpacingShare = 1.0 / 100.0;

// Ring pairs per draw piece: 1024 pairs of 30-vertex rings are some 31,000
// vertices and 184,000 indices a call.
inline constexpr int kDrawPieceRings = 1024;

struct TubeDrawList {
    // 3 floats (x, y, z) per tube vertex, vertex j of ring i at i * n + j;
    // model units. The renderer works in single precision, so these are
    // exactly the values it would take from doubles.
    std::vector<float> vertices;
    // One unit normal (3 floats) per tube vertex.
    std::vector<float> normals;
    // Triangle corners (6 per quad) of kDrawPieceRings ring pairs joined
    // position to position, relative to the first ring of a piece: for pair
    // p and j = 1 ... n the quad p * n + (j - 1), p * n + j mod n,
    // (p + 1) * n + j mod n, (p + 1) * n + (j - 1). A shorter piece uses the
    // first part.
    std::vector<std::uint32_t> pairIndices;
    // The closing pair, last ring to first ring turned by the seam offset,
    // on a copy of those two rings (last ring at 0 ... n - 1, first ring at
    // n ... 2n - 1), with its own corners.
    std::vector<float> closingVertices;
    std::vector<float> closingNormals;
    std::vector<std::uint32_t> closingIndices;
    int ringCount = 0;
    int ringSegments = 0;

    bool Empty() const { return ringCount == 0; }
};

// One draw call: `indexCount` triangle corners (6 per quad) from `indices`
// into the vertex and normal arrays starting at `vertices` and `normals`
// (3 floats each).
struct TubeDrawPiece {
    const float* vertices;
    const float* normals;
    const std::uint32_t* indices;
    int indexCount;
};

// In:  x, y, z: the N curve points (ring centres); tubeX, tubeY, tubeZ: the
//      tube of BuildTube (vertex j of ring i at element i * n + j);
//      ringSegments: n; thickness, tubeScale: those the tube was built with.
// Out: out replaced. When the curve's mean point spacing (its length / N)
//      is at least kDrawnRingSpacingShare of the ring radius |r| =
//      |tubeScale * thickness / 2|, the list is the given tube: ring a = i
//      is joined to ring b = (i + 1) mod N for i = 0 ... N - 1; for
//      j = 1 ... n the quad is (a, j - 1), (a, j mod n), (b, (j + k) mod n),
//      (b, (j - 1 + k) mod n), with k = 0 except for the closing pair
//      i = N - 1, where k = SeamOffset. A denser curve is drawn thinned:
//      the K = max(3, floor(length / (share * |r|))) points floor(m * N / K),
//      m = 0 ... K - 1, get rings of BuildTube of their own, joined as above.
//      Normal of a vertex: the vertex minus its ring's centre, divided by its
//      length when that length is not zero (a zero length sends the
//      difference unchanged). A length that is not finite gives the unit
//      direction when the difference is finite (its squares overflowed) and
//      the zero normal otherwise.
//      The list is empty when N = 0, n < 1, the curve arrays differ in
//      size, or any tube array does not hold exactly N * n vertices (a tube
//      built for another curve, as after Stop while sketching): a stale tube
//      is not drawn, and no element beyond the arrays is read.
//      Storage is reused while the tube needs at least half of it and no
//      more than all of it, and is otherwise given back before new storage
//      is taken. Throws std::bad_alloc when storage cannot be had.
void BuildTubeDrawList(const CDoubleArray& x, const CDoubleArray& y, const CDoubleArray& z, const CDoubleArray& tubeX,
                       const CDoubleArray& tubeY, const CDoubleArray& tubeZ, int ringSegments, double thickness,
                       double tubeScale, TubeDrawList& out);

// The normal that the list stores for `vertex` on the ring about `centre`
// (rule above), in double precision.
Vec3 TubeVertexNormal(Vec3 vertex, Vec3 centre);

// Empties the list and gives its storage back.
void ReleaseTubeDrawList(TubeDrawList& list);

// The draw calls of `list` in drawing order: the ring pairs 0 ... N - 2 in
// pieces of at most kDrawPieceRings pairs, then the closing pair. Together
// they draw every quad of BuildTubeDrawList in its order. None for an empty
// list.
std::vector<TubeDrawPiece> TubeDrawPieces(const TubeDrawList& list);
