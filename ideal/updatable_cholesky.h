// The Cholesky factor L L' = G of a symmetric positive definite matrix G
// that grows and shrinks by one row and column at a time: the passive block
// of the cone solve's active-set rounds, which change it by one constraint
// per round. Appending costs one triangular solve (p^2 for p rows held),
// removing a row p^2 Givens rotations at most; a fresh factorisation of the
// block at every round costs p^3.
#pragma once

#include <memory>
#include <vector>

namespace vek {

class UpdatableCholesky {
public:
    // capacity: the most rows the factor will hold (memory: capacity^2).
    explicit UpdatableCholesky(int capacity = 0);

    // Empties the factor for at most `capacity` rows, keeping its memory
    // when that suffices (a solver that factors many blocks one after the
    // other then touches no new pages).
    void Reset(int capacity);

    int Size() const { return size_; }
    int Capacity() const { return capacity_; }
    void Clear() { size_ = 0; }

    // In:  against: G's entries of the new row against the rows held, in
    //      their order (Size() values); diagonal: its own entry;
    //      dependence: the smallest squared sine of the angle between the
    //      new row (as a vector with Gram matrix G) and the span of the
    //      rows held that counts as independent.
    // Out: true and the row is the last one; false and nothing changed
    //      when the row is that close to the span (or G would not be
    //      positive definite with it).
    bool Append(const double* against, double diagonal, double dependence);

    // Factors a whole block anew, blocked (far faster than appending its
    // rows one by one). In: block: size x size, row-major, symmetric (only
    // its lower triangle is read); dependence as for Append.
    // Out: true and the factor holds the block's rows in their order;
    // false and the factor is empty when a row is dependent on those
    // before it (or the block is not positive definite).
    bool Factor(const double* block, int size, double dependence);

    // Removes row and column `position` (0 ... Size() - 1); the rows after
    // it move up by one.
    void Remove(int position);

    // Solves G x = b in place: values holds b (Size() entries, the rows'
    // order) and receives x.
    void Solve(double* values) const;

private:
    double& At(int row, int column) { return l_[static_cast<size_t>(row) * capacity_ + column]; }
    const double& At(int row, int column) const { return l_[static_cast<size_t>(row) * capacity_ + column]; }

    int capacity_ = 0;
    int size_ = 0;
    // Row-major lower triangle, capacity_ columns per row; only what the
    // rows held have written is ever read.
    std::unique_ptr<double[]> l_;
    size_t allocated_ = 0;
    // The column-major copy that the blocked factorisation works in.
    std::vector<double> scratch_;
};

}  // namespace vek
