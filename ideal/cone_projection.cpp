#include "ideal/cone_projection.h"

#include <Eigen/Sparse>
#include <Eigen/SparseCholesky>

#include <algorithm>
#include <cmath>

#include "ideal/updatable_cholesky.h"

namespace vek {

namespace {

using SparseMatrix = Eigen::SparseMatrix<double>;

// Active-set rounds before the Gauss-Seidel sweeps take over.
constexpr int kMaxRounds = 40;
constexpr int kSweeps = 300;
// Ridge on the passive block, relative to its largest diagonal entry.
constexpr double kRidge = 1e-11;
// Optimality tolerance relative to the largest |b|.
constexpr double kTolerance = 1e-11;
// Beyond this many passive constraints a factor in the natural order fills
// in so much that one factorisation takes minutes (thousands of vertices):
// the natural ordering then becomes the minimum-degree one of the reversed
// order, as cheap as the other ordering but with other rounding, so that
// the two descents still take their own paths.
constexpr int kNaturalOrderLimit = 2000;
// Up to this many constraints the rounds work on a dense factor of the
// passive block that each round updates by one row (memory: 8 bytes times
// the square); beyond it, on fresh sparse factors.
constexpr int kDenseLimit = 3000;
// A constraint whose gradient is this close to the span of the passive
// ones (squared sine of the angle, in the metric of J J') is left out of
// the passive set: exactly in the span, its optimality condition holds as
// soon as theirs do, and nearly in it, it only makes the block singular.
// The struts of one contact are often that close.
constexpr double kDependence = 1e-12;

SparseMatrix ConstraintMatrix(const std::vector<Constraint>& constraints, int n)
{
    std::vector<Eigen::Triplet<double>> entries;
    entries.reserve(constraints.size() * 12);
    for (size_t row = 0; row < constraints.size(); ++row) {
        const Constraint& c = constraints[row];
        for (int v = 0; v < c.count; ++v)
            for (int k = 0; k < 3; ++k)
                entries.emplace_back(static_cast<int>(row), 3 * c.vertex[v] + k, c.gradient[v][k]);
    }
    SparseMatrix j(static_cast<int>(constraints.size()), 3 * n);
    j.setFromTriplets(entries.begin(), entries.end());
    return j;
}

// The block of q on the rows and columns in `index`, in that order
// (position: each constraint's place in `index`, or -1).
SparseMatrix PassiveBlock(const SparseMatrix& q, const std::vector<int>& index, const std::vector<int>& position,
                          double ridge)
{
    std::vector<Eigen::Triplet<double>> entries;
    for (const int column : index)
        for (SparseMatrix::InnerIterator it(q, column); it; ++it)
            if (position[it.row()] >= 0)
                entries.emplace_back(position[it.row()], position[column], it.value());
    for (size_t k = 0; k < index.size(); ++k)
        entries.emplace_back(static_cast<int>(k), static_cast<int>(k), ridge);
    SparseMatrix block(static_cast<int>(index.size()), static_cast<int>(index.size()));
    block.setFromTriplets(entries.begin(), entries.end());
    return block;
}

// The elimination order of all m constraints by minimum degree on the
// pattern of J J': rank[k] is constraint k's place in it. A passive block
// taken in this order keeps the fill of a good ordering without ordering
// every block of the active-set rounds anew.
std::vector<int> MinimumDegreeRank(const SparseMatrix& q)
{
    Eigen::PermutationMatrix<Eigen::Dynamic, Eigen::Dynamic, int> order;
    Eigen::AMDOrdering<int> amd;
    amd(q, order);
    std::vector<int> rank(q.rows());
    for (int k = 0; k < static_cast<int>(rank.size()); ++k)
        rank[order.indices()[k]] = k;
    return rank;
}

// A block already in its elimination order (`ordered`), factored as it is.
bool SolveOrdered(const SparseMatrix& block, const Eigen::VectorXd& rhs, Eigen::VectorXd& solved)
{
    Eigen::SimplicialLDLT<SparseMatrix, Eigen::Lower, Eigen::NaturalOrdering<int>> factor(block);
    if (factor.info() != Eigen::Success)
        return false;
    solved = factor.solve(rhs);
    return true;
}

bool SolveBlock(const SparseMatrix& block, const Eigen::VectorXd& rhs, ConeOrdering ordering, Eigen::VectorXd& solved)
{
    if (ordering == ConeOrdering::Natural && block.rows() > kNaturalOrderLimit) {
        const int size = static_cast<int>(block.rows());
        Eigen::PermutationMatrix<Eigen::Dynamic, Eigen::Dynamic, int> reverse(size);
        for (int k = 0; k < size; ++k)
            reverse.indices()[k] = size - 1 - k;
        SparseMatrix reversed;
        reversed = block.twistedBy(reverse);
        Eigen::SimplicialLDLT<SparseMatrix> factor(reversed);
        if (factor.info() != Eigen::Success)
            return false;
        solved = reverse.inverse() * factor.solve(reverse * rhs);
        return true;
    }
    if (ordering == ConeOrdering::Natural) {
        Eigen::SimplicialLDLT<SparseMatrix, Eigen::Lower, Eigen::NaturalOrdering<int>> factor(block);
        if (factor.info() != Eigen::Success)
            return false;
        solved = factor.solve(rhs);
        return true;
    }
    Eigen::SimplicialLDLT<SparseMatrix> factor(block);
    if (factor.info() != Eigen::Success)
        return false;
    solved = factor.solve(rhs);
    return true;
}

void GaussSeidel(const SparseMatrix& q, const Eigen::VectorXd& b, Eigen::VectorXd& lambda)
{
    for (int sweep = 0; sweep < kSweeps; ++sweep)
        for (int k = 0; k < q.cols(); ++k) {
            double sum = 0.0, diagonal = 0.0;
            for (SparseMatrix::InnerIterator it(q, k); it; ++it) {
                if (it.row() == k)
                    diagonal = it.value();
                sum += it.value() * lambda[it.row()];
            }
            if (diagonal > 0.0)
                lambda[k] = std::max(0.0, lambda[k] - (sum - b[k]) / diagonal);
        }
}

// The matrix of the rounds, sparse J J' or a dense Gram matrix in another
// metric: its diagonal, a column against a list of rows, a block, and its
// product with a vector.
class SparseGram {
public:
    explicit SparseGram(const SparseMatrix& q) : q_(q), column_(q.rows(), 0.0) {}
    int Size() const { return static_cast<int>(q_.rows()); }
    double Diagonal(int k) const { return q_.coeff(k, k); }
    void Against(int k, const std::vector<int>& rows, double* out)
    {
        for (SparseMatrix::InnerIterator it(q_, k); it; ++it)
            column_[it.row()] = it.value();
        for (size_t i = 0; i < rows.size(); ++i)
            out[i] = column_[rows[i]];
        for (SparseMatrix::InnerIterator it(q_, k); it; ++it)
            column_[it.row()] = 0.0;
    }
    // block: rows.size() squared, row-major, all written.
    void Block(const std::vector<int>& rows, double* block)
    {
        const size_t p = rows.size();
        std::fill(block, block + p * p, 0.0);
        std::vector<int> at(q_.rows(), -1);
        for (size_t i = 0; i < p; ++i)
            at[rows[i]] = static_cast<int>(i);
        for (size_t i = 0; i < p; ++i)
            for (SparseMatrix::InnerIterator it(q_, rows[i]); it; ++it)
                if (at[it.row()] >= 0)
                    block[i * p + at[it.row()]] = it.value();
    }
    Eigen::VectorXd Times(const Eigen::VectorXd& x) const { return q_ * x; }

private:
    const SparseMatrix& q_;
    std::vector<double> column_;
};

class DenseGram {
public:
    DenseGram(const std::vector<double>& g, int m) : g_(g.data(), m, m) {}
    int Size() const { return static_cast<int>(g_.rows()); }
    double Diagonal(int k) const { return g_(k, k); }
    void Against(int k, const std::vector<int>& rows, double* out) const
    {
        for (size_t i = 0; i < rows.size(); ++i)
            out[i] = g_(rows[i], k);
    }
    void Block(const std::vector<int>& rows, double* block) const
    {
        const size_t p = rows.size();
        for (size_t j = 0; j < p; ++j)
            for (size_t i = 0; i < p; ++i)
                block[j * p + i] = g_(rows[i], rows[j]);
    }
    Eigen::VectorXd Times(const Eigen::VectorXd& x) const { return g_ * x; }

private:
    // Symmetric, so its storage order does not matter.
    Eigen::Map<const Eigen::MatrixXd> g_;
};

// Lawson and Hanson's rounds on a dense factor of the passive block that
// grows and shrinks with it. Fills lambda; false when `stop` said yes.
template <class Gram>
bool SolveDense(Gram& gram, int coordinates, const Eigen::VectorXd& rhs, const std::vector<char>& passiveStart,
                ConeOrdering ordering, double tolerance, const std::function<bool()>& stop, ConeSolve& solve,
                Eigen::VectorXd& lambda)
{
    const int m = gram.Size();
    // The factor and the block's buffer stay with the thread from solve to
    // solve: a descent solves thousands of blocks of about the same size,
    // and fresh megabytes each time cost more in page faults than the
    // factorisation itself. Nothing of one solve is read by the next.
    thread_local UpdatableCholesky factor;
    thread_local std::vector<double> block;
    // Independent constraints are at most as many as the coordinates.
    factor.Reset(std::min(m, coordinates));
    // The passive constraints in the factor's order; place[k]: constraint
    // k's place in it, or -1.
    std::vector<int> order, place(m, -1);
    // Left out of the passive set as dependent on it, until a constraint
    // leaves the set.
    std::vector<char> dependent(m, 0);
    std::vector<double> against, values;
    auto append = [&](int k) {
        against.resize(order.size());
        gram.Against(k, order, against.data());
        if (!factor.Append(against.data(), gram.Diagonal(k), kDependence)) {
            dependent[k] = 1;
            return false;
        }
        place[k] = static_cast<int>(order.size());
        order.push_back(k);
        return true;
    };
    auto remove = [&](int k) {
        const int at = place[k];
        factor.Remove(at);
        order.erase(order.begin() + at);
        place[k] = -1;
        for (size_t i = at; i < order.size(); ++i)
            place[order[i]] = static_cast<int>(i);
    };
    // A passive set factored anew: blocked, or row by row (leaving out the
    // dependent constraints) when the block is singular.
    auto rebuild = [&](const std::vector<int>& rows) {
        for (const int k : order)
            place[k] = -1;
        order.clear();
        ++solve.factorisations;
        const size_t p = rows.size();
        if (static_cast<int>(p) <= factor.Capacity()) {
            block.resize(p * p);  // keeps its capacity
            gram.Block(rows, block.data());
            if (factor.Factor(block.data(), static_cast<int>(p), kDependence)) {
                order = rows;
                for (size_t i = 0; i < p; ++i)
                    place[rows[i]] = static_cast<int>(i);
                return;
            }
        }
        factor.Clear();
        // A constraint left out leaves with its multiplier: the rounds need
        // lambda to vanish outside the passive set.
        for (const int k : rows)
            if (!append(k))
                lambda[k] = 0.0;
    };
    // Removing many rows one by one costs more than factoring the rest anew.
    auto removeAll = [&](const std::vector<int>& leaving) {
        if (4 * leaving.size() > order.size()) {
            std::vector<int> kept;
            for (const int k : order)
                if (std::find(leaving.begin(), leaving.end(), k) == leaving.end())
                    kept.push_back(k);
            std::fill(dependent.begin(), dependent.end(), 0);
            rebuild(kept);
            return;
        }
        // From the last place back, so that each rotation runs over the
        // fewest rows.
        std::vector<int> byPlace = leaving;
        std::sort(byPlace.begin(), byPlace.end(), [&place](int a, int b) { return place[a] > place[b]; });
        for (const int k : byPlace)
            remove(k);
        std::fill(dependent.begin(), dependent.end(), 0);
    };
    auto solvePassive = [&](Eigen::VectorXd& z) {
        if (stop && stop()) {
            solve.stopped = true;
            return false;
        }
        values.resize(order.size());
        for (size_t i = 0; i < order.size(); ++i)
            values[i] = rhs[order[i]];
        factor.Solve(values.data());
        z = Eigen::VectorXd::Zero(m);
        for (size_t i = 0; i < order.size(); ++i)
            z[order[i]] = values[i];
        return true;
    };
    // The warm start, in the constraints' order or its reverse (the two
    // orderings round differently): drop the passive constraints whose
    // multiplier comes out negative until none does.
    std::vector<int> warm;
    for (int k = 0; k < m; ++k)
        if (passiveStart[k])
            warm.push_back(k);
    if (ordering == ConeOrdering::Natural)
        std::reverse(warm.begin(), warm.end());
    rebuild(warm);
    Eigen::VectorXd z;
    lambda = Eigen::VectorXd::Zero(m);
    for (int round = 0; round < kMaxRounds && !order.empty(); ++round) {
        if (!solvePassive(z))
            return false;
        std::vector<int> leaving;
        for (const int k : order)
            if (z[k] <= 0.0)
                leaving.push_back(k);
        if (leaving.empty()) {
            lambda = z;
            break;
        }
        removeAll(leaving);
    }
    if (!std::all_of(order.begin(), order.end(), [&lambda](int k) { return lambda[k] > 0.0; })) {
        removeAll(std::vector<int>(order));
        lambda.setZero();
    }
    const int maxRounds = kMaxRounds + 3 * m;
    for (solve.rounds = 1; solve.rounds <= maxRounds; ++solve.rounds) {
        const Eigen::VectorXd w = rhs - gram.Times(lambda);
        int best = -1;
        for (int k = 0; k < m; ++k)
            if (place[k] < 0 && !dependent[k] && w[k] > tolerance && (best < 0 || w[k] > w[best]))
                best = k;
        if (best < 0) {
            solve.converged = true;
            return true;
        }
        ++solve.updates;
        if (!append(best))
            continue;
        for (int inner = 0; inner <= m; ++inner) {
            if (!solvePassive(z))
                return false;
            // Rounding can give the constraint just added no positive
            // multiplier (it should have one): it then counts as dependent,
            // or the rounds would add it again and again.
            if (inner == 0 && z[best] <= 0.0) {
                remove(best);
                dependent[best] = 1;
                ++solve.updates;
                break;
            }
            double alpha = 1.0;
            for (const int k : order)
                if (z[k] <= 0.0)
                    alpha = std::min(alpha, lambda[k] / (lambda[k] - z[k]));
            lambda += alpha * (z - lambda);
            if (alpha >= 1.0)
                break;
            const double floor = 1e-15 * std::max(1.0, lambda.maxCoeff());
            std::vector<int> leaving;
            for (const int k : order)
                if (lambda[k] <= floor)
                    leaving.push_back(k);
            for (const int k : leaving)
                lambda[k] = 0.0;
            solve.updates += static_cast<int>(leaving.size());
            removeAll(leaving);
        }
    }
    return true;
}

}  // namespace

ConeSolve SolveNonNegativeGram(const std::vector<double>& gram, const std::vector<double>& b, int rank,
                               const std::vector<char>& start, ConeOrdering ordering,
                               const std::function<bool()>& stop)
{
    const int m = static_cast<int>(b.size());
    ConeSolve solve;
    solve.multipliers.assign(m, 0.0);
    if (m == 0 || gram.size() != static_cast<size_t>(m) * m) {
        solve.converged = m == 0;
        return solve;
    }
    double largestB = 0.0;
    for (const double v : b)
        largestB = std::max(largestB, std::abs(v));
    const Eigen::Map<const Eigen::VectorXd> rhs(b.data(), m);
    std::vector<char> passive(m, 0);
    if (start.size() == static_cast<size_t>(m))
        passive = start;
    Eigen::VectorXd lambda = Eigen::VectorXd::Zero(m);
    DenseGram dense(gram, m);
    SolveDense(dense, rank, rhs, passive, ordering, kTolerance * std::max(largestB, 1e-300), stop, solve, lambda);
    if (!solve.converged && !solve.stopped) {
        // Projected Gauss-Seidel sweeps, as for the sparse rounds.
        const Eigen::Map<const Eigen::MatrixXd> g(gram.data(), m, m);
        for (int sweep = 0; sweep < kSweeps; ++sweep)
            for (int k = 0; k < m; ++k)
                if (g(k, k) > 0.0)
                    lambda[k] = std::max(0.0, lambda[k] - (g.col(k).dot(lambda) - rhs[k]) / g(k, k));
    }
    for (int k = 0; k < m; ++k)
        solve.multipliers[k] = std::max(0.0, lambda[k]);
    return solve;
}

std::vector<double> ConstraintRates(const std::vector<Constraint>& constraints, const std::vector<double>& v)
{
    std::vector<double> rates(constraints.size(), 0.0);
    for (size_t row = 0; row < constraints.size(); ++row) {
        const Constraint& c = constraints[row];
        for (int k = 0; k < c.count; ++k)
            for (int d = 0; d < 3; ++d)
                rates[row] += c.gradient[k][d] * v[3 * c.vertex[k] + d];
    }
    return rates;
}

ConeSolve SolveNonNegative(const std::vector<Constraint>& constraints, const std::vector<double>& b, int n,
                           const std::vector<char>& start, ConeOrdering ordering, const std::function<bool()>& stop)
{
    const int m = static_cast<int>(constraints.size());
    ConeSolve solve;
    solve.multipliers.assign(m, 0.0);
    solve.move.assign(3 * static_cast<size_t>(n), 0.0);
    if (m == 0) {
        solve.converged = true;
        return solve;
    }
    const SparseMatrix j = ConstraintMatrix(constraints, n);
    const SparseMatrix q = SparseMatrix(j * j.transpose());
    const Eigen::Map<const Eigen::VectorXd> rhs(b.data(), m);
    double largestDiagonal = 0.0, largestB = 0.0;
    for (int k = 0; k < m; ++k) {
        largestDiagonal = std::max(largestDiagonal, q.coeff(k, k));
        largestB = std::max(largestB, std::abs(b[k]));
    }
    const double tolerance = kTolerance * std::max(largestB, 1e-300);
    // Lawson and Hanson's active-set method on the normal equations,
    // started from the expected passive set: solve on the passive block,
    // step back to the first multiplier that would turn negative, and add
    // the constraint whose optimality condition fails most.
    std::vector<char> passive(m, 0);
    if (start.size() == static_cast<size_t>(m))
        passive = start;
    Eigen::VectorXd lambda = Eigen::VectorXd::Zero(m);
    // The multipliers as the rounds left them, polished by Gauss-Seidel
    // sweeps when the rounds did not settle, and the move J' lambda.
    auto finish = [&] {
        for (int k = 0; k < m; ++k)
            lambda[k] = std::max(0.0, lambda[k]);
        if (!solve.converged && !solve.stopped)
            GaussSeidel(q, rhs, lambda);
        const Eigen::VectorXd move = j.transpose() * lambda;
        for (int k = 0; k < m; ++k)
            solve.multipliers[k] = lambda[k];
        for (int k = 0; k < 3 * n; ++k)
            solve.move[k] = move[k];
        return solve;
    };
    if (m <= kDenseLimit) {
        SparseGram gram(q);
        SolveDense(gram, 3 * n, rhs, passive, ordering, tolerance, stop, solve, lambda);
        return finish();
    }
    const double ridge = kRidge * largestDiagonal;
    // The minimum-degree descent orders every passive block by one order of
    // all the constraints; the natural one keeps the constraints' order.
    std::vector<int> rank;
    if (ordering == ConeOrdering::MinimumDegree)
        rank = MinimumDegreeRank(q);
    auto solvePassive = [&](Eigen::VectorXd& z) {
        std::vector<int> index, position(m, -1);
        for (int k = 0; k < m; ++k)
            if (passive[k])
                index.push_back(k);
        if (!rank.empty())
            std::sort(index.begin(), index.end(), [&rank](int a, int b) { return rank[a] < rank[b]; });
        for (size_t k = 0; k < index.size(); ++k)
            position[index[k]] = static_cast<int>(k);
        z = Eigen::VectorXd::Zero(m);
        if (index.empty())
            return true;
        if (stop && stop()) {
            solve.stopped = true;
            return false;
        }
        Eigen::VectorXd local(index.size());
        for (size_t k = 0; k < index.size(); ++k)
            local[k] = rhs[index[k]];
        Eigen::VectorXd solved;
        ++solve.factorisations;
        const SparseMatrix block = PassiveBlock(q, index, position, ridge);
        if (!(rank.empty() ? SolveBlock(block, local, ordering, solved) : SolveOrdered(block, local, solved)))
            return false;
        for (size_t k = 0; k < index.size(); ++k)
            z[index[k]] = solved[k];
        return true;
    };
    // The warm start: drop the passive constraints whose multiplier comes
    // out negative until none does.
    Eigen::VectorXd z;
    bool ok = true;
    for (int round = 0; round < kMaxRounds && ok; ++round) {
        ok = solvePassive(z);
        bool dropped = false;
        for (int k = 0; k < m; ++k)
            if (passive[k] && z[k] <= 0.0) {
                passive[k] = 0;
                dropped = true;
            }
        if (!dropped) {
            lambda = z;
            break;
        }
    }
    const int maxRounds = kMaxRounds + 3 * m;
    for (solve.rounds = 1; ok && solve.rounds <= maxRounds; ++solve.rounds) {
        const Eigen::VectorXd w = rhs - q * lambda;
        int best = -1;
        for (int k = 0; k < m; ++k)
            if (!passive[k] && w[k] > tolerance && (best < 0 || w[k] > w[best]))
                best = k;
        if (best < 0) {
            solve.converged = true;
            break;
        }
        passive[best] = 1;
        for (int inner = 0; inner <= m && ok; ++inner) {
            ok = solvePassive(z);
            if (solve.stopped)
                break;
            double alpha = 1.0;
            for (int k = 0; k < m; ++k)
                if (passive[k] && z[k] <= 0.0)
                    alpha = std::min(alpha, lambda[k] / (lambda[k] - z[k]));
            lambda += alpha * (z - lambda);
            if (alpha >= 1.0)
                break;
            for (int k = 0; k < m; ++k)
                if (passive[k] && lambda[k] <= 1e-15 * std::max(1.0, lambda.maxCoeff())) {
                    passive[k] = 0;
                    lambda[k] = 0.0;
                }
        }
    }
    return finish();
}

}  // namespace vek
