// The ideal-knot optimiser: from a tight closed polygon, the shortest
// closed polygon of the same knot type for its certified thickness that the
// constrained solver finds, certified afterwards by the thickness code.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "geom/polygon.h"
#include "knot/knot_type.h"
#include "knot/polygon_thickness.h"

namespace vek {

// Vertices per unit of length / certified thickness (the radius
// convention) when no count is asked for.
inline constexpr double kIdealEdgesPerRadiusRopelength = 8.0;
// The descent starts at half or a quarter of the count, never below this.
inline constexpr int kCoarsestIdealVertices = 48;
// Bounds of the vertex count, default or asked for.
inline constexpr int kMinIdealVertices = 16;
inline constexpr int kMaxIdealVertices = 5000;
// The default count never goes below this: an n-gon's best ropelength is
// n tan(pi / n), within 0.1 % of the round circle's pi only from 58 on.
inline constexpr int kMinDefaultIdealVertices = 64;

struct IdealProgress {
    int level = 0;            // level of the descent, from 1 (coarsest)
    long long iteration = 0;  // steps of all levels so far
    double ropelength = 0.0;  // certified ropelength of the current polygon
    double violation = 0.0;   // largest violation the last correction removed (relative to the radius)
};

struct IdealOptions {
    // 0: the default count for the start's length (DefaultIdealVertices).
    int vertices = 0;
    // The result is scaled so that a tube of this diameter is certified
    // embedded: 2 * thickness >= tubeThickness.
    double tubeThickness = 0.03;
    // Most descent steps per level.
    long long maxIterations = 20000;
    // The descent stops after this long (all levels together).
    double maxSeconds = 55.0;
    // Told after every solver iteration; may be empty.
    std::function<void(const IdealProgress&)> progress;
       // Asked between solver iterations; true stops the descent, which
       // returns the best certified polygon found so far.
       std::function<bool()> cancelled;
    // Replaces the polygon's coordinates by the values the output will
    // hold (a text file rounds them); empty: kept exactly. The certificate
    // is computed on what it leaves.
    std::function<void(PolygonPoints&)> asWritten;
};

struct IdealResult {
    // False only when even the start could not be certified as the
    // expected knot type; `error` says why and nothing else is set.
    bool ok = false;
    std::string error;
    // The polygon (model units), n vertices.
    PolygonPoints polygon;
    double length = 0.0;
    // Certified by ComputePolygonThickness on exactly these vertices.
    PolygonThickness thickness;
    double ropelength = 0.0;  // length / (2 * thickness.thickness)
    // The knot type of the result (equal to the expected one when ok).
    KnotType knot;
    // Strut pairs at most kIdealActiveTolerance above 2 thickness apart, and
    // vertices whose MinRad is at most that much above the thickness.
    int activeStruts = 0;
    int activeCurvature = 0;
    long long iterations = 0;
    int levels = 0;  // vertex counts of the coarse-to-fine descent that ran
    // The solver's polygon was of another type or less thick than its
    // start: the certified start (resampled, scaled) is returned instead.
    bool fellBack = false;
};

// Relative tolerance for counting a constraint as active.
inline constexpr double kIdealActiveTolerance = 1e-4;

// In:  length and nominal (or certified) thickness of a tight start.
// Out: round(kIdealEdgesPerRadiusRopelength * length / (thickness / 2)),
//      clamped to kMinDefaultIdealVertices ... kMaxIdealVertices.
int DefaultIdealVertices(double length, double thickness);

// In:  start: the start polygon (model units), tight or nearly so (its
//      strands at most a little closer than where the optimum puts them);
//      expected: the knot type it must keep; options.
// Out: see IdealResult. Never returns a polygon whose certified thickness
//      is below the one it reports, nor one whose knot type differs from
//      `expected`.
IdealResult OptimiseIdeal(PolygonView start, const KnotType& expected, const IdealOptions& options);

}  // namespace vek
