#include "knot/signature.h"

#include <array>
#include <cmath>
#include <vector>

namespace vek {

namespace {

// The most regions the matrix is built for.
constexpr int kMaxRegions = 200;

// Eigenvalues of a symmetric matrix by cyclic Jacobi rotations.
std::vector<double> Eigenvalues(std::vector<std::vector<double>> a)
{
    const int m = static_cast<int>(a.size());
    for (int sweep = 0; sweep < 100; ++sweep) {
        double off = 0.0;
        for (int p = 0; p < m; ++p)
            for (int q = p + 1; q < m; ++q)
                off += a[p][q] * a[p][q];
        if (off < 1e-22)
            break;
        for (int p = 0; p < m; ++p)
            for (int q = p + 1; q < m; ++q) {
                if (std::fabs(a[p][q]) < 1e-300)
                    continue;
                const double theta = (a[q][q] - a[p][p]) / (2.0 * a[p][q]);
                const double t = (theta >= 0 ? 1.0 : -1.0) / (std::fabs(theta) + std::sqrt(theta * theta + 1.0));
                const double c = 1.0 / std::sqrt(t * t + 1.0), s = t * c;
                for (int k = 0; k < m; ++k) {
                    const double akp = a[k][p], akq = a[k][q];
                    a[k][p] = c * akp - s * akq;
                    a[k][q] = s * akp + c * akq;
                }
                for (int k = 0; k < m; ++k) {
                    const double apk = a[p][k], aqk = a[q][k];
                    a[p][k] = c * apk - s * aqk;
                    a[q][k] = s * apk + c * aqk;
                }
            }
    }
    std::vector<double> out(m);
    for (int k = 0; k < m; ++k)
        out[k] = a[k][k];
    return out;
}

}  // namespace

PdCode DiagramToPd(const LinkDiagram& diagram)
{
    PdCode code;
    if (diagram.components.empty())
        return code;
    const auto& list = diagram.components[0];
    const int m = static_cast<int>(list.size());
    // Arc k + 1 ends at passage k (0-based) and arc k + 2 leaves it.
    auto arc = [m](int k) { return (k % m + m) % m + 1; };
    std::vector<int> under(diagram.sign.size(), -1), over(diagram.sign.size(), -1);
    for (int k = 0; k < m; ++k)
        (list[k].over ? over : under)[list[k].crossing] = k;
    for (size_t c = 0; c < diagram.sign.size(); ++c) {
        const int k = under[c], j = over[c];
        if (k < 0 || j < 0)
            continue;
        // A positive crossing's upper strand runs from d to b.
        if (diagram.sign[c] > 0)
            code.crossings.push_back({arc(k), arc(j + 1), arc(k + 1), arc(j)});
        else
            code.crossings.push_back({arc(k), arc(j), arc(k + 1), arc(j + 1)});
    }
    return code;
}

bool KnotSignature(const PdCode& code, int& signature)
{
    const int n = static_cast<int>(code.crossings.size());
    signature = 0;
    if (n == 0)
        return true;
    const int arcs = 2 * n;
    std::vector<std::array<int, 2>> darts(arcs + 1, {-1, -1});
    for (int i = 0; i < n; ++i)
        for (int s = 0; s < 4; ++s) {
            auto& d = darts[code.crossings[i][s]];
            d[d[0] < 0 ? 0 : 1] = 4 * i + s;
        }
    // Faces: the orbit of dart (j, t) holds the corner of crossing j between
    // slots t - 1 and t.
    std::vector<int> faceOf(4 * n, -1);
    int faces = 0;
    for (int start = 0; start < 4 * n; ++start) {
        if (faceOf[start] >= 0)
            continue;
        int d = start;
        while (faceOf[d] < 0) {
            faceOf[d] = faces;
            const auto& pair = darts[code.crossings[d / 4][d % 4]];
            const int other = pair[0] == d ? pair[1] : pair[0];
            d = (other / 4) * 4 + (other % 4 + 1) % 4;
        }
        ++faces;
    }
    // Corner q of crossing i lies between slots q and q + 1.
    auto corner = [&](int i, int q) { return faceOf[4 * i + (q + 1) % 4]; };
    // Checkerboard: the faces on the two sides of every slot differ.
    std::vector<std::vector<int>> other(faces);
    for (int i = 0; i < n; ++i)
        for (int q = 0; q < 4; ++q) {
            other[corner(i, q)].push_back(corner(i, (q + 1) % 4));
            other[corner(i, (q + 1) % 4)].push_back(corner(i, q));
        }
    std::vector<int> colour(faces, -1);
    for (int f0 = 0; f0 < faces; ++f0) {
        if (colour[f0] >= 0)
            continue;
        colour[f0] = 0;
        std::vector<int> stack = {f0};
        while (!stack.empty()) {
            const int f = stack.back();
            stack.pop_back();
            for (int g : other[f]) {
                if (colour[g] < 0) {
                    colour[g] = 1 - colour[f];
                    stack.push_back(g);
                } else if (colour[g] == colour[f]) {
                    return false;  // not a planar diagram
                }
            }
        }
    }
    // The unshaded regions (colour 0), numbered.
    std::vector<int> region(faces, -1);
    int regions = 0;
    for (int f = 0; f < faces; ++f)
        if (colour[f] == 0)
            region[f] = regions++;
    if (regions > kMaxRegions)
        return false;
    std::vector<std::vector<double>> g(regions, std::vector<double>(regions, 0.0));
    int mu = 0;
    for (int i = 0; i < n; ++i) {
        const auto& q = code.crossings[i];
        // Unshaded corners 0 and 2, or 1 and 3.
        const int first = colour[corner(i, 0)] == 0 ? 0 : 1;
        // eta: +1 when the unshaded corners are those after the lower
        // strand's slots (0 and 2), seen counterclockwise.
        const int eta = first == 0 ? 1 : -1;
        const int r1 = region[corner(i, first)], r2 = region[corner(i, first + 2)];
        if (r1 != r2) {
            g[r1][r2] -= eta;
            g[r2][r1] -= eta;
            g[r1][r1] += eta;
            g[r2][r2] += eta;
        }
        // The oriented smoothing joins corners 1 and 3 at a crossing whose
        // upper strand leaves by slot 1, corners 0 and 2 otherwise.
        const int arcsN = arcs;
        const bool overOutAt1 = q[1] == (q[3] == arcsN ? 1 : q[3] + 1) && q[3] != q[0];
        const int joined = overOutAt1 ? 1 : 0;
        if (joined != first)
            mu += eta;  // the shaded corners are joined
    }
    std::vector<std::vector<double>> reduced(regions - 1, std::vector<double>(regions - 1));
    for (int a = 1; a < regions; ++a)
        for (int b = 1; b < regions; ++b)
            reduced[a - 1][b - 1] = g[a][b];
    int sign = 0;
    for (double lambda : Eigenvalues(reduced)) {
        if (std::fabs(lambda) < 1e-7)
            return false;
        sign += lambda > 0 ? 1 : -1;
    }
    signature = sign - mu;
    return true;
}

}  // namespace vek
