// PolygonView: a read-only view of the n vertices of a closed polygon, the
// one form in which the geometry, the knot code and the optimiser take a
// curve. The coordinates stay where they are: three arrays of their own (the
// curve's x, y, z) or one array of interleaved points (x0, y0, z0, x1, ...).
// The view holds no storage; what it views must outlive it and not move.
//
// PolygonPoints: an owned polygon, interleaved, for results and copies kept
// aside.
#pragma once

#include <cstddef>
#include <span>
#include <vector>

#include "geom/vec3.h"

namespace vek {

class PolygonView {
public:
    PolygonView() = default;

    // In:  three coordinate arrays.
    // Out: the view of their points; the polygon has as many vertices as
    //      the shortest array (at most INT_MAX).
    PolygonView(std::span<const double> x, std::span<const double> y, std::span<const double> z);

    // In:  interleaved coordinates x0, y0, z0, x1, ...
    // Out: the view of its size / 3 whole points (at most INT_MAX).
    static PolygonView Interleaved(std::span<const double> xyz);

    int Size() const { return m_n; }
    bool Empty() const { return m_n == 0; }

    // Coordinates of vertex i, 0 <= i < Size().
    double X(int i) const { return m_x[Offset(i)]; }
    double Y(int i) const { return m_y[Offset(i)]; }
    double Z(int i) const { return m_z[Offset(i)]; }
    Vec3 Point(int i) const { return {X(i), Y(i), Z(i)}; }

    // The neighbours of vertex i round the closed polygon.
    int Next(int i) const { return i + 1 == m_n ? 0 : i + 1; }
    int Prev(int i) const { return i == 0 ? m_n - 1 : i - 1; }

    // Edge k runs from vertex k to vertex k + 1 (mod n).
    Vec3 Edge(int k) const { return Point(Next(k)) - Point(k); }

    // Whether every coordinate is a finite number.
    bool AllFinite() const;

private:
    std::ptrdiff_t Offset(int i) const { return static_cast<std::ptrdiff_t>(i) * m_stride; }

    const double* m_x = nullptr;
    const double* m_y = nullptr;
    const double* m_z = nullptr;
    int m_n = 0;
    int m_stride = 1;
};

class PolygonPoints {
public:
    PolygonPoints() = default;
    // A copy of the polygon's vertices.
    explicit PolygonPoints(PolygonView polygon);
    // Takes interleaved coordinates x0, y0, z0, x1, ... (size a multiple of 3).
    explicit PolygonPoints(std::vector<double> xyz) : m_xyz(std::move(xyz)) {}

    PolygonView View() const { return PolygonView::Interleaved(m_xyz); }
    int Size() const { return static_cast<int>(m_xyz.size() / 3); }
    bool Empty() const { return m_xyz.empty(); }

    // The interleaved coordinates themselves.
    const std::vector<double>& Coordinates() const { return m_xyz; }
    std::vector<double>& Coordinates() { return m_xyz; }

private:
    std::vector<double> m_xyz;
};

}  // namespace vek
