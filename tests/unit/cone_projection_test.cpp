#include "ideal/cone_projection.h"

#include <gtest/gtest.h>

#include <Eigen/Dense>

#include <algorithm>
#include <cmath>
#include <random>
#include <vector>

#include "ideal/updatable_cholesky.h"

namespace {

// The Gram matrix of `rows` random vectors in `dimension` coordinates.
Eigen::MatrixXd RandomGram(int rows, int dimension, unsigned seed, Eigen::MatrixXd* vectors = nullptr)
{
    std::mt19937 random(seed);
    std::normal_distribution<double> normal;
    Eigen::MatrixXd a(rows, dimension);
    for (int i = 0; i < rows; ++i)
        for (int j = 0; j < dimension; ++j)
            a(i, j) = normal(random);
    if (vectors)
        *vectors = a;
    return a * a.transpose();
}

void AppendRow(vek::UpdatableCholesky& factor, const Eigen::MatrixXd& g, const std::vector<int>& held, int row,
               bool expected)
{
    std::vector<double> against;
    for (const int k : held)
        against.push_back(g(k, row));
    EXPECT_EQ(factor.Append(against.data(), g(row, row), 1e-12), expected) << "row " << row;
}

// After appending every row and removing one, the factor solves the block
// of the rows that are left, as a fresh factorisation does.
TEST(UpdatableCholesky, SolvesTheBlockLeftAfterARemoval)
{
    const int size = 9;
    const Eigen::MatrixXd g = RandomGram(size, 14, 3);
    for (const int removed : {0, 4, size - 1}) {
        vek::UpdatableCholesky factor(size);
        std::vector<int> held;
        for (int k = 0; k < size; ++k) {
            AppendRow(factor, g, held, k, true);
            held.push_back(k);
        }
        factor.Remove(removed);
        held.erase(held.begin() + removed);
        ASSERT_EQ(factor.Size(), size - 1);
        Eigen::MatrixXd block(held.size(), held.size());
        Eigen::VectorXd b(held.size());
        std::vector<double> values(held.size());
        for (size_t i = 0; i < held.size(); ++i) {
            b[i] = values[i] = 1.0 + static_cast<double>(i);
            for (size_t j = 0; j < held.size(); ++j)
                block(i, j) = g(held[i], held[j]);
        }
        const Eigen::VectorXd expected = block.ldlt().solve(b);
        factor.Solve(values.data());
        for (size_t i = 0; i < held.size(); ++i)
            EXPECT_NEAR(values[i], expected[i], 1e-9 * expected.cwiseAbs().maxCoeff()) << "removed " << removed;
        // The row removed can come back, at the end.
        AppendRow(factor, g, held, removed, true);
        EXPECT_EQ(factor.Size(), size);
    }
}

// A row in (or within a hair of) the span of the rows held is refused and
// changes nothing; one at a clear angle to it is taken.
TEST(UpdatableCholesky, RefusesARowDependentOnTheRowsHeld)
{
    Eigen::MatrixXd a;
    RandomGram(3, 6, 7, &a);
    Eigen::VectorXd outside = Eigen::VectorXd::Zero(6);
    // Orthogonal to the three rows: the null space's first vector.
    const Eigen::MatrixXd kernel = a.fullPivLu().kernel();
    outside = kernel.col(0).normalized();
    const Eigen::VectorXd inside = a.row(0).transpose() + 2.0 * a.row(1).transpose();
    struct Case {
        double offAngle;  // sine of the angle to the span
        bool taken;
    };
    for (const Case c : {Case{0.0, false}, Case{1e-8, false}, Case{1e-3, true}, Case{0.5, true}}) {
        Eigen::MatrixXd rows(4, 6);
        rows.topRows(3) = a;
        rows.row(3) = (inside.normalized() * std::sqrt(1.0 - c.offAngle * c.offAngle) + outside * c.offAngle) *
                      inside.norm();
        const Eigen::MatrixXd g = rows * rows.transpose();
        vek::UpdatableCholesky factor(4);
        std::vector<int> held;
        for (int k = 0; k < 3; ++k) {
            AppendRow(factor, g, held, k, true);
            held.push_back(k);
        }
        AppendRow(factor, g, held, 3, c.taken);
        EXPECT_EQ(factor.Size(), c.taken ? 4 : 3) << "sine " << c.offAngle;
    }
}

// Random constraints on a few vertices: lambda >= 0, no constraint's
// optimality condition fails (b - J J' lambda <= tolerance), and a
// constraint with a positive multiplier holds with equality.
struct ConeCase {
    int constraints;
    int vertices;
    bool duplicates;  // every constraint twice: the move must not change
    // Constraints from this one on are pushed to have zero multipliers
    // (their b lowered), so that a large problem takes few rounds.
    int loweredFrom;
};

class ConeSolveKkt : public ::testing::TestWithParam<ConeCase> {};

std::vector<vek::Constraint> RandomConstraints(int count, int vertices, unsigned seed)
{
    std::mt19937 random(seed);
    std::normal_distribution<double> normal;
    std::vector<vek::Constraint> constraints(count);
    for (vek::Constraint& c : constraints) {
        c.count = 4;
        for (int v = 0; v < 4; ++v) {
            c.vertex[v] = static_cast<int>(random() % vertices);
            for (double& x : c.gradient[v])
                x = normal(random);
        }
    }
    return constraints;
}

TEST_P(ConeSolveKkt, MultipliersMeetTheOptimalityConditions)
{
    const ConeCase& c = GetParam();
    std::vector<vek::Constraint> constraints = RandomConstraints(c.constraints, c.vertices, 11);
    std::mt19937 random(5);
    std::normal_distribution<double> normal;
    std::vector<double> g(3 * c.vertices);
    for (double& x : g)
        x = normal(random);
    std::vector<double> b = vek::ConstraintRates(constraints, g);
    for (int k = c.loweredFrom; k < c.constraints; ++k)
        b[k] = -1.0 - std::abs(b[k]);
    const vek::ConeSolve solve = vek::SolveNonNegative(constraints, b, c.vertices, {});
    ASSERT_TRUE(solve.converged);
    // J (J' lambda) against b.
    const std::vector<double> rates = vek::ConstraintRates(constraints, solve.move);
    const double scale = *std::max_element(b.begin(), b.end(), [](double x, double y) {
        return std::abs(x) < std::abs(y);
    });
    for (size_t k = 0; k < constraints.size(); ++k) {
        EXPECT_GE(solve.multipliers[k], 0.0);
        EXPECT_LE(b[k] - rates[k], 1e-7 * std::abs(scale)) << "constraint " << k;
        if (solve.multipliers[k] > 0.0) {
            EXPECT_NEAR(b[k], rates[k], 1e-7 * std::abs(scale)) << "constraint " << k;
        }
    }
    if (!c.duplicates)
        return;
    // Every constraint twice: the second copy is dependent on the first,
    // the projected move stays what it was.
    std::vector<vek::Constraint> twice = constraints;
    twice.insert(twice.end(), constraints.begin(), constraints.end());
    std::vector<double> bTwice = b;
    bTwice.insert(bTwice.end(), b.begin(), b.end());
    const vek::ConeSolve again = vek::SolveNonNegative(twice, bTwice, c.vertices, {});
    ASSERT_TRUE(again.converged);
    for (size_t k = 0; k < g.size(); ++k)
        EXPECT_NEAR(again.move[k], solve.move[k], 1e-7 * std::abs(scale)) << "coordinate " << k;
}

INSTANTIATE_TEST_SUITE_P(Table, ConeSolveKkt,
                         ::testing::Values(ConeCase{5, 4, true, 5},  // fewer constraints than coordinates
                                           ConeCase{30, 4, true, 30},  // more: many are dependent
                                           ConeCase{200, 40, false, 200},
                                           // beyond the dense factor's reach: fresh sparse factors
                                           ConeCase{3100, 1200, false, 40}));

}  // namespace
