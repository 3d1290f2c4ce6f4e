#include "ideal/length_metric.h"

#include <Eigen/Sparse>
#include <Eigen/SparseCholesky>

#include <cmath>

namespace vek {

namespace {

using SparseMatrix = Eigen::SparseMatrix<double>;

// H + mu I of the closed polygon's length: each edge of length l and unit
// direction u adds (I - u u') / l to its two vertices' blocks and subtracts
// it from their mixed blocks.
SparseMatrix LengthHessian(const std::vector<double>& points, double floor)
{
    const int n = static_cast<int>(points.size() / 3);
    std::vector<Eigen::Triplet<double>> entries;
    entries.reserve(static_cast<size_t>(n) * 39);
    for (int i = 0; i < n; ++i) {
        const int j = (i + 1) % n;
        double e[3];
        for (int k = 0; k < 3; ++k)
            e[k] = points[3 * j + k] - points[3 * i + k];
        const double l = std::sqrt(e[0] * e[0] + e[1] * e[1] + e[2] * e[2]);
        if (!(l > 0.0))
            continue;
        for (int r = 0; r < 3; ++r)
            for (int c = 0; c < 3; ++c) {
                const double k = ((r == c ? 1.0 : 0.0) - e[r] * e[c] / (l * l)) / l;
                entries.emplace_back(3 * i + r, 3 * i + c, k);
                entries.emplace_back(3 * j + r, 3 * j + c, k);
                entries.emplace_back(3 * i + r, 3 * j + c, -k);
                entries.emplace_back(3 * j + r, 3 * i + c, -k);
            }
    }
    for (int k = 0; k < 3 * n; ++k)
        entries.emplace_back(k, k, floor);
    SparseMatrix m(3 * n, 3 * n);
    m.setFromTriplets(entries.begin(), entries.end());
    return m;
}

}  // namespace

MetricDirection LengthMetricDirection(const std::vector<double>& points, const std::vector<Constraint>& constraints,
                                      const std::vector<double>& gradient, const std::vector<char>& start,
                                      ConeOrdering ordering, const std::function<bool()>& stop)
{
    const int n = static_cast<int>(points.size() / 3);
    const int m = static_cast<int>(constraints.size());
    MetricDirection out;
    out.direction.assign(points.size(), 0.0);
    if (m > kLengthMetricConstraints || 3.0 * n * m > kLengthMetricEntries) {
        out.cone = SolveNonNegative(constraints, ConstraintRates(constraints, gradient), n, start, ordering, stop);
        if (!out.cone.stopped)
            for (size_t k = 0; k < out.direction.size(); ++k)
                out.direction[k] = out.cone.move[k] - gradient[k];
        return out;
    }
    const Eigen::SimplicialLDLT<SparseMatrix> metric(LengthHessian(points, kLengthMetricFloor));
    if (metric.info() != Eigen::Success) {
        out.cone.multipliers.assign(m, 0.0);
        return out;
    }
    // J' as a dense 3 n x m matrix, its columns solved by M: X = M^-1 J'.
    Eigen::MatrixXd x = Eigen::MatrixXd::Zero(3 * n, m);
    for (int k = 0; k < m; ++k) {
        const Constraint& c = constraints[k];
        for (int v = 0; v < c.count; ++v)
            for (int d = 0; d < 3; ++d)
                x(3 * c.vertex[v] + d, k) += c.gradient[v][d];
    }
    if (m > 0)
        x = metric.solve(x);
    const Eigen::Map<const Eigen::VectorXd> g(gradient.data(), 3 * n);
    const Eigen::VectorXd h = metric.solve(g);
    // The Gram matrix J X and the right-hand side J h, row by row of J.
    std::vector<double> gram(static_cast<size_t>(m) * m, 0.0), b(m, 0.0);
    Eigen::Map<Eigen::MatrixXd> q(gram.data(), m, m);
    for (int k = 0; k < m; ++k) {
        const Constraint& c = constraints[k];
        for (int v = 0; v < c.count; ++v)
            for (int d = 0; d < 3; ++d) {
                const int coordinate = 3 * c.vertex[v] + d;
                q.col(k) += c.gradient[v][d] * x.row(coordinate).transpose();
                b[k] += c.gradient[v][d] * h[coordinate];
            }
    }
    // Rounding leaves J X a hair off symmetric; the rounds read both halves.
    q = 0.5 * (q + q.transpose()).eval();
    out.cone = SolveNonNegativeGram(gram, b, 3 * n, start, ordering, stop);
    if (out.cone.stopped)
        return out;
    const Eigen::Map<const Eigen::VectorXd> lambda(out.cone.multipliers.data(), m);
    const Eigen::VectorXd d = (m > 0 ? Eigen::VectorXd(x * lambda) : Eigen::VectorXd::Zero(3 * n)) - h;
    for (int k = 0; k < 3 * n; ++k)
        out.direction[k] = d[k];
    return out;
}

}  // namespace vek
