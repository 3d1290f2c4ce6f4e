// The linear algebra of the constrained gradient descent: with J the
// matrix whose rows are the constraint gradients, the non-negative
// multipliers of
//   minimise 1/2 lambda' (J J') lambda - b' lambda  over lambda >= 0,
// the dual of projecting a vector onto the cone {v : J v >= 0} (b = J g
// for the projected direction -g + J' lambda) and of the shortest move
// that satisfies the linearised constraints J d >= -c (b = -c).
#pragma once

#include <functional>
#include <vector>

#include "ideal/thickness_constraints.h"

namespace vek {

struct ConeSolve {
    // One per constraint, all >= 0.
    std::vector<double> multipliers;
    // J' lambda, 3 n coordinates.
    std::vector<double> move;
    // Active-set rounds taken; converged: the optimality conditions hold
    // to the tolerance (otherwise the multipliers are the best found).
    int rounds = 0;
    // Factorisations of a whole passive block the solve took, and changes
    // of one row to a factor (each a small fraction of a factorisation).
    int factorisations = 0;
    int updates = 0;
    bool converged = false;
    // `stop` said yes: the multipliers are those of the last round, not
    // polished further.
    bool stopped = false;
};

// In:  constraints (m), their right-hand side b (m), n vertices;
//      start: the constraints expected to have positive multipliers (m
//      flags, may be empty), e.g. those of the previous step.
// Out: the multipliers by Lawson and Hanson's active-set method on the
//      passive block of J J', finished by projected Gauss-Seidel sweeps
//      when the active set does not settle. Up to a few thousand
//      constraints the block's dense Cholesky factor changes by one row a
//      round, and a constraint (nearly) dependent on the passive ones stays
//      out; beyond, every round factors the block anew, sparse, with a tiny
//      ridge for dependent struts.
//      ordering: the order in which the passive constraints enter the
//      factor (the constraints' own or its reverse for the dense factor,
//      minimum degree or natural for the sparse ones); the multipliers
//      agree to rounding, but the descent that uses them is sensitive
//      enough to end in different local optima.
//      stop (may be empty): asked before every factorisation; on yes the
//      solve ends with the multipliers it has (a time budget: with tens of
//      thousands of constraints one solve can take minutes).
enum class ConeOrdering { MinimumDegree, Natural };
ConeSolve SolveNonNegative(const std::vector<Constraint>& constraints, const std::vector<double>& b, int n,
                           const std::vector<char>& start, ConeOrdering ordering = ConeOrdering::MinimumDegree,
                           const std::function<bool()>& stop = {});

// The same problem for a dense Gram matrix G in place of J J' (the rows of
// J in another metric): gram holds G (m x m, symmetric), b its right-hand
// side (m); rank: an upper bound of G's rank (the coordinates). Out: the
// multipliers, `move` left empty (it depends on the metric).
ConeSolve SolveNonNegativeGram(const std::vector<double>& gram, const std::vector<double>& b, int rank,
                               const std::vector<char>& start, ConeOrdering ordering = ConeOrdering::MinimumDegree,
                               const std::function<bool()>& stop = {});

// J v for the 3 n coordinates v: one value per constraint.
std::vector<double> ConstraintRates(const std::vector<Constraint>& constraints, const std::vector<double>& v);

}  // namespace vek
