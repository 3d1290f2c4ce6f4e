// The Cholesky factor L L' = G of a symmetric positive definite matrix G
// that grows and shrinks by one row and column at a time: the passive block
// of the cone solve's active-set rounds, which change it by one constraint
// per round. Appending costs one triangular solve (p^2 for p rows held),
// removing a row p^2 Givens rotations at most; a fresh factorisation of the
// block at every round costs p^3.
#pragma once

#include <memory>

namespace vek {

class UpdatableCholesky {
public:
    // capacity: the most rows the factor will hold (memory: capacity^2).
    explicit UpdatableCholesky(int capacity);

    int Size() const { return size_; }
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
};

}  // namespace vek
