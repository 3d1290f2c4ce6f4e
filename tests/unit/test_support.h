// What many unit tests share: a point type and its passage to and from the
// coordinate arrays, a random curve, a fresh temporary folder, and the
// example curves (the trefoil as it ships, and tight). The knot shapes are
// in knot_curves.h.
#pragma once

#include <filesystem>
#include <ostream>
#include <string>
#include <vector>

#include "curve/double_array.h"
#include "knot_curves.h"

struct Point {
    double x, y, z;
    bool operator==(const Point&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Point& p);

// The arrays emptied and filled with the points, in order.
void SetArrays(CDoubleArray& x, CDoubleArray& y, CDoubleArray& z, const std::vector<Point>& points);
// The points the arrays hold.
std::vector<Point> PointsOf(const CDoubleArray& x, const CDoubleArray& y, const CDoubleArray& z);
std::vector<Point> PointsOf(const knotcurves::Polygon& polygon);

// `count` points drawn uniformly from the cube [-extent, extent]^3, each
// coordinate in turn, by std::mt19937 seeded with `seed`.
std::vector<Point> RandomCurve(unsigned seed, int count, double extent);

// A fresh, empty folder "vek_<name>" in the temporary folder.
std::filesystem::path FreshTempFolder(const std::string& name);

// The path of an example curve of the source tree (examples/).
std::string ExamplePath(const std::string& name);
// Reads an example curve into the arrays; a test failure if it cannot.
void ReadExample(const std::string& name, CDoubleArray& x, CDoubleArray& y, CDoubleArray& z);
// The example trefoil as it ships.
void ReadExampleTrefoil(CDoubleArray& x, CDoubleArray& y, CDoubleArray& z);
// The example trefoil relaxed for 3,000 iterations at thickness 0.03 and
// precision 1: tight, its strands pressed together at the crossings.
void ReadTightTrefoil(CDoubleArray& x, CDoubleArray& y, CDoubleArray& z);
