// Laurent polynomials in two variables v and z with integer coefficients,
// exact: the terms c v^a z^b with c != 0, sorted by (a, b).
#pragma once

#include <string>
#include <vector>

namespace vek {

struct LaurentTerm {
    int v = 0;
    int z = 0;
    long long c = 0;
    bool operator==(const LaurentTerm&) const = default;
};

class Laurent2 {
public:
    Laurent2() = default;
    // The constant c.
    static Laurent2 Constant(long long c);
    // c v^a z^b.
    static Laurent2 Monomial(long long c, int a, int b);

    const std::vector<LaurentTerm>& Terms() const { return terms_; }
    bool IsZero() const { return terms_.empty(); }

    // *this + c v^a z^b * p. Throws std::overflow_error when a coefficient
    // leaves the 64-bit range.
    void AddScaled(const Laurent2& p, long long c, int a, int b);
    Laurent2 operator+(const Laurent2& p) const;
    Laurent2 operator-(const Laurent2& p) const;
    Laurent2 operator*(const Laurent2& p) const;

    // p(-1/v, z): the polynomial of the mirror image of a link whose
    // polynomial is p (in the skein convention of homfly.h).
    Laurent2 MirrorV() const;

    // Text such as "2*v^2 - v^4 + v^2*z^2": terms ordered by the power of z,
    // then of v; "0" for the zero polynomial.
    std::string Text() const;

    bool operator==(const Laurent2&) const = default;
    bool operator<(const Laurent2& p) const;

private:
    void Normalise();
    std::vector<LaurentTerm> terms_;
};

}  // namespace vek
