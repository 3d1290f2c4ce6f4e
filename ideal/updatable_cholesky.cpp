#include "ideal/updatable_cholesky.h"

#include <Eigen/Cholesky>

#include <cmath>

namespace vek {

UpdatableCholesky::UpdatableCholesky(int capacity)
{
    Reset(capacity);
}

void UpdatableCholesky::Reset(int capacity)
{
    capacity_ = capacity > 0 ? capacity : 0;
    size_ = 0;
    const size_t needed = static_cast<size_t>(capacity_) * capacity_;
    if (needed > allocated_) {
        l_ = std::make_unique_for_overwrite<double[]>(needed);
        allocated_ = needed;
    }
}

bool UpdatableCholesky::Append(const double* against, double diagonal, double dependence)
{
    if (size_ >= capacity_ || !(diagonal > 0.0) || !std::isfinite(diagonal))
        return false;
    const int k = size_;
    // The new row of L: L[0..k) l = against, then the pivot.
    double* row = &At(k, 0);
    double squared = 0.0;
    for (int i = 0; i < k; ++i) {
        const double* li = &At(i, 0);
        double sum = against[i];
        for (int j = 0; j < i; ++j)
            sum -= li[j] * row[j];
        row[i] = sum / li[i];
        squared += row[i] * row[i];
    }
    const double pivot = diagonal - squared;
    // pivot / diagonal is the squared sine of the angle to the span.
    if (!(pivot > dependence * diagonal) || !std::isfinite(pivot))
        return false;
    row[k] = std::sqrt(pivot);
    size_ = k + 1;
    return true;
}

bool UpdatableCholesky::Factor(const double* block, int size, double dependence)
{
    size_ = 0;
    if (size < 0 || size > capacity_)
        return false;
    // The block is symmetric: read as column-major it is itself.
    const size_t entries = static_cast<size_t>(size) * size;
    if (scratch_.size() < entries)
        scratch_.resize(entries);
    Eigen::Map<Eigen::MatrixXd> dense(scratch_.data(), size, size);
    dense = Eigen::Map<const Eigen::MatrixXd>(block, size, size);
    Eigen::LLT<Eigen::Ref<Eigen::MatrixXd>, Eigen::Lower> factor(dense);
    if (factor.info() != Eigen::Success)
        return false;
    for (int i = 0; i < size; ++i)
        for (int j = 0; j <= i; ++j)
            At(i, j) = dense(i, j);
    for (int i = 0; i < size; ++i) {
        const double diagonal = block[static_cast<size_t>(i) * size + i];
        const double pivot = At(i, i) * At(i, i);
        if (!(pivot > dependence * diagonal) || !std::isfinite(pivot))
            return false;
    }
    size_ = size;
    return true;
}

void UpdatableCholesky::Remove(int position)
{
    if (position < 0 || position >= size_)
        return;
    const int last = size_ - 1;
    // Rows after `position` move up, keeping their columns: each then holds
    // one entry right of its diagonal, which a rotation of two columns
    // clears (L Q Q' L' = G for the orthogonal Q), down to the last column,
    // which ends empty.
    for (int i = position; i < last; ++i) {
        double* to = &At(i, 0);
        const double* from = &At(i + 1, 0);
        for (int j = 0; j <= i + 1; ++j)
            to[j] = from[j];
    }
    for (int k = position; k < last; ++k) {
        const double a = At(k, k), b = At(k, k + 1);
        const double h = std::hypot(a, b);
        if (!(h > 0.0)) {
            At(k, k + 1) = 0.0;
            continue;
        }
        const double c = a / h, s = b / h;
        At(k, k) = h;
        At(k, k + 1) = 0.0;
        for (int i = k + 1; i < last; ++i) {
            const double x = At(i, k), y = At(i, k + 1);
            At(i, k) = c * x + s * y;
            At(i, k + 1) = c * y - s * x;
        }
    }
    size_ = last;
}

void UpdatableCholesky::Solve(double* values) const
{
    for (int i = 0; i < size_; ++i) {
        const double* li = &At(i, 0);
        double sum = values[i];
        for (int j = 0; j < i; ++j)
            sum -= li[j] * values[j];
        values[i] = sum / li[i];
    }
    for (int i = size_ - 1; i >= 0; --i) {
        const double* li = &At(i, 0);
        values[i] /= li[i];
        const double x = values[i];
        for (int j = 0; j < i; ++j)
            values[j] -= li[j] * x;
    }
}

}  // namespace vek
