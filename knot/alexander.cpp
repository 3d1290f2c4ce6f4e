#include "knot/alexander.h"

#include <cstdint>
#include <cstdlib>

namespace vek {

namespace {

// ---- Reduction --------------------------------------------------------

// The Gauss code as a circular doubly linked list of passages.
struct PassageList {
    std::vector<int> next, prev;
    std::vector<char> alive;
    std::vector<int> other;  // the other passage of the same crossing
    int count = 0;

    void Remove(int p)
    {
        alive[p] = 0;
        next[prev[p]] = next[p];
        prev[next[p]] = prev[p];
        --count;
    }
};

}  // namespace

void ReduceGaussCode(GaussCode& code)
{
    const int m = static_cast<int>(code.passages.size());
    if (m == 0)
        return;
    PassageList list;
    list.next.resize(m);
    list.prev.resize(m);
    list.alive.assign(m, 1);
    list.other.assign(m, -1);
    list.count = m;
    std::vector<int> firstOf(code.sign.size(), -1);
    for (int p = 0; p < m; ++p) {
        list.next[p] = p + 1 == m ? 0 : p + 1;
        list.prev[p] = p == 0 ? m - 1 : p - 1;
        const int c = code.passages[p].crossing;
        if (firstOf[c] < 0) {
            firstOf[c] = p;
        } else {
            list.other[p] = firstOf[c];
            list.other[firstOf[c]] = p;
        }
    }
    std::vector<int> work(m);
    for (int p = 0; p < m; ++p)
        work[p] = m - 1 - p;
    auto push = [&](int p) {
        if (list.alive[p])
            work.push_back(p);
    };
    while (!work.empty() && list.count > 0) {
        const int p = work.back();
        work.pop_back();
        if (!list.alive[p])
            continue;
        const int q = list.next[p];
        if (q == p)
            continue;
        if (list.other[p] == q) {  // Reidemeister I
            const int before = list.prev[p];
            list.Remove(p);
            list.Remove(q);
            if (list.count > 0) {
                push(before);
                push(list.next[before]);
            }
            continue;
        }
        if (code.passages[p].over != code.passages[q].over)
            continue;
        const int p2 = list.other[p], q2 = list.other[q];
        if (p2 < 0 || q2 < 0 || code.passages[p2].over == code.passages[p].over)
            continue;
        if (list.next[p2] != q2 && list.next[q2] != p2)
            continue;
        // Reidemeister II: remove both crossings.
        const int r[4] = {p, q, p2, q2};
        for (int k = 0; k < 4; ++k)
            list.Remove(r[k]);
        if (list.count == 0)
            break;
        for (int k = 0; k < 4; ++k) {
            int b = list.prev[r[k]];
            while (!list.alive[b])
                b = list.prev[b];
            push(b);
            push(list.next[b]);
        }
    }
    // Renumber what is left.
    std::vector<int> newIndex(code.sign.size(), -1);
    GaussCode reduced;
    if (list.count > 0) {
        int start = 0;
        while (!list.alive[start])
            ++start;
        int p = start;
        do {
            int& c = newIndex[code.passages[p].crossing];
            if (c < 0) {
                c = static_cast<int>(reduced.sign.size());
                reduced.sign.push_back(code.sign[code.passages[p].crossing]);
            }
            reduced.passages.push_back({c, code.passages[p].over});
            p = list.next[p];
        } while (p != start);
    }
    code = std::move(reduced);
}

namespace {

// ---- Arithmetic modulo the prime 2^61 - 1 -----------------------------

constexpr std::uint64_t kPrime = (std::uint64_t{1} << 61) - 1;

std::uint64_t MulMod(std::uint64_t a, std::uint64_t b)
{
    const unsigned __int128 p = static_cast<unsigned __int128>(a) * b;
    std::uint64_t r = static_cast<std::uint64_t>(p & kPrime) + static_cast<std::uint64_t>(p >> 61);
    if (r >= kPrime)
        r -= kPrime;
    return r;
}

std::uint64_t AddMod(std::uint64_t a, std::uint64_t b)
{
    const std::uint64_t r = a + b;
    return r >= kPrime ? r - kPrime : r;
}

std::uint64_t SubMod(std::uint64_t a, std::uint64_t b)
{
    return a >= b ? a - b : a + kPrime - b;
}

std::uint64_t PowMod(std::uint64_t a, std::uint64_t e)
{
    std::uint64_t r = 1;
    while (e > 0) {
        if (e & 1)
            r = MulMod(r, a);
        a = MulMod(a, a);
        e >>= 1;
    }
    return r;
}

std::uint64_t InvMod(std::uint64_t a)
{
    return PowMod(a, kPrime - 2);
}

std::uint64_t FromSigned(long long v)
{
    return v >= 0 ? static_cast<std::uint64_t>(v) % kPrime : kPrime - (static_cast<std::uint64_t>(-v) % kPrime);
}

// Residues above half the prime stand for negative numbers.
long long ToSigned(std::uint64_t r)
{
    return r > kPrime / 2 ? -static_cast<long long>(kPrime - r) : static_cast<long long>(r);
}

// Determinant of the m x m matrix a (row-major) modulo the prime; a is
// destroyed.
std::uint64_t DeterminantMod(std::vector<std::uint64_t>& a, int m)
{
    std::uint64_t det = 1;
    for (int col = 0; col < m; ++col) {
        int pivot = col;
        while (pivot < m && a[static_cast<size_t>(pivot) * m + col] == 0)
            ++pivot;
        if (pivot == m)
            return 0;
        if (pivot != col) {
            for (int k = 0; k < m; ++k)
                std::swap(a[static_cast<size_t>(pivot) * m + k], a[static_cast<size_t>(col) * m + k]);
            det = SubMod(0, det);
        }
        const std::uint64_t pv = a[static_cast<size_t>(col) * m + col];
        det = MulMod(det, pv);
        const std::uint64_t inv = InvMod(pv);
        for (int row = col + 1; row < m; ++row) {
            std::uint64_t* r = &a[static_cast<size_t>(row) * m];
            if (r[col] == 0)
                continue;
            const std::uint64_t factor = MulMod(r[col], inv);
            const std::uint64_t* c = &a[static_cast<size_t>(col) * m];
            for (int k = col; k < m; ++k)
                r[k] = SubMod(r[k], MulMod(factor, c[k]));
        }
    }
    return det;
}

// One row of the Alexander matrix: entries alpha + beta t at three columns.
struct Relation {
    int col[3];
    long long alpha[3];
    long long beta[3];
};

// The rows of the Alexander matrix of a code of c >= 1 crossings; false when
// the code is not a knot diagram (a crossing not passed once over and once
// under, or a crossing number out of range).
bool AlexanderRelations(const GaussCode& code, int c, std::vector<Relation>& rel)
{
    // Arcs run from one under passage to the next; arc k starts after the
    // k-th under passage (counted from the first one).
    const int m2 = 2 * c;
    int firstUnder = -1;
    for (int p = 0; p < m2 && firstUnder < 0; ++p) {
        if (!code.passages[p].over)
            firstUnder = p;
    }
    if (firstUnder < 0)
        return false;
    std::vector<int> overArc(c, -1), inArc(c, -1), outArc(c, -1), unders(c, 0), overs(c, 0);
    int arc = c - 1;  // the arc that ends at the first under passage
    for (int step = 0; step < m2; ++step) {
        const GaussPassage& g = code.passages[(firstUnder + step) % m2];
        if (g.crossing < 0 || g.crossing >= c)
            return false;
        if (g.over) {
            overArc[g.crossing] = arc;
            ++overs[g.crossing];
        } else {
            inArc[g.crossing] = arc;
            arc = step == 0 ? 0 : arc + 1;
            outArc[g.crossing] = arc;
            ++unders[g.crossing];
        }
    }
    for (int k = 0; k < c; ++k) {
        if (overs[k] != 1 || unders[k] != 1)
            return false;
    }
    // Relations (Fox derivatives of the Wirtinger relations, scaled by t):
    // one handedness gives (t - 1) x_over + x_in - t x_out, the other
    // (1 - t) x_over + t x_in - x_out.
    rel.resize(c);
    for (int k = 0; k < c; ++k) {
        Relation& r = rel[k];
        r.col[0] = overArc[k];
        r.col[1] = inArc[k];
        r.col[2] = outArc[k];
        if (code.sign[k] > 0) {
            r.alpha[0] = -1, r.beta[0] = 1;
            r.alpha[1] = 1, r.beta[1] = 0;
            r.alpha[2] = 0, r.beta[2] = -1;
        } else {
            r.alpha[0] = 1, r.beta[0] = -1;
            r.alpha[1] = 0, r.beta[1] = 1;
            r.alpha[2] = -1, r.beta[2] = 0;
        }
    }
    return true;
}

// The minor without the last row and column, of degree at most m = c - 1,
// evaluated modulo kPrime at t = ts[e] = e + 2 for e = 0 ... m.
std::vector<std::uint64_t> MinorValues(const std::vector<Relation>& rel, int m, std::vector<std::uint64_t>& ts)
{
    ts.resize(m + 1);
    std::vector<std::uint64_t> values(m + 1), a;
    for (int e = 0; e <= m; ++e) {
        const std::uint64_t t = static_cast<std::uint64_t>(e) + 2;
        ts[e] = t;
        a.assign(static_cast<size_t>(m) * m, 0);
        for (int row = 0; row < m; ++row) {
            for (int k = 0; k < 3; ++k) {
                const int col = rel[row].col[k];
                if (col >= m)
                    continue;
                const std::uint64_t v = AddMod(FromSigned(rel[row].alpha[k]), MulMod(FromSigned(rel[row].beta[k]), t));
                std::uint64_t& cell = a[static_cast<size_t>(row) * m + col];
                cell = AddMod(cell, v);
            }
        }
        values[e] = m == 0 ? 1 : DeterminantMod(a, m);
    }
    return values;
}

// The coefficients (lowest degree first, m + 1 of them) of the polynomial
// through (ts[e], values[e]): Newton's divided differences, then the
// monomial form.
std::vector<std::uint64_t> Interpolate(const std::vector<std::uint64_t>& ts, const std::vector<std::uint64_t>& values)
{
    const int m = static_cast<int>(ts.size()) - 1;
    std::vector<std::uint64_t> dd = values;
    for (int level = 1; level <= m; ++level) {
        for (int e = m; e >= level; --e)
            dd[e] = MulMod(SubMod(dd[e], dd[e - 1]), InvMod(SubMod(ts[e], ts[e - level])));
    }
    std::vector<std::uint64_t> coef(m + 1, 0);
    for (int e = m; e >= 0; --e) {
        // coef = coef * (t - ts[e]) + dd[e]
        for (int k = m; k >= 1; --k)
            coef[k] = SubMod(coef[k - 1], MulMod(coef[k], ts[e]));
        coef[0] = SubMod(0, MulMod(coef[0], ts[e]));
        coef[0] = AddMod(coef[0], dd[e]);
    }
    return coef;
}

// The polynomial of the coefficients, trimmed of zeros at both ends, with a
// positive leading coefficient; false when it is not that of a knot (zero,
// beyond what the modulus tells apart, of even length, not symmetric, or
// |Delta(1)| other than 1).
bool NormaliseAlexander(const std::vector<std::uint64_t>& coef, std::vector<long long>& alexander)
{
    const int m = static_cast<int>(coef.size()) - 1;
    int lo = 0, hi = m;
    while (lo <= m && coef[lo] == 0)
        ++lo;
    while (hi >= 0 && coef[hi] == 0)
        --hi;
    if (lo > hi)
        return false;  // determinant 0: not a knot diagram
    std::vector<long long> poly;
    const long long limit = 1LL << 55;
    for (int k = lo; k <= hi; ++k) {
        const long long v = ToSigned(coef[k]);
        if (std::llabs(v) >= limit)
            return false;  // beyond the modulus: not trusted
        poly.push_back(v);
    }
    const size_t len = poly.size();
    if (len % 2 == 0)
        return false;
    const long long s = poly.back() > 0 ? 1 : -1;
    long long sum = 0;
    for (size_t k = 0; k < len; ++k) {
        poly[k] *= s;
        sum += poly[k];
    }
    for (size_t k = 0; k < len / 2; ++k) {
        if (poly[k] != poly[len - 1 - k])
            return false;
    }
    if (std::llabs(sum) != 1)
        return false;
    alexander = std::move(poly);
    return true;
}

}  // namespace

bool AlexanderPolynomial(const GaussCode& code, std::vector<long long>& alexander)
{
    alexander.clear();
    const int c = static_cast<int>(code.sign.size());
    if (static_cast<int>(code.passages.size()) != 2 * c)
        return false;
    if (c == 0) {
        alexander = {1};
        return true;
    }
    if (c > kMaxAlexanderCrossings)
        return false;
    std::vector<Relation> rel;
    if (!AlexanderRelations(code, c, rel))
        return false;
    std::vector<std::uint64_t> ts;
    const std::vector<std::uint64_t> values = MinorValues(rel, c - 1, ts);
    return NormaliseAlexander(Interpolate(ts, values), alexander);
}

long long KnotDeterminant(const std::vector<long long>& alexander)
{
    long long sum = 0;
    const long long half = static_cast<long long>(alexander.size()) / 2;
    for (long long k = 0; k < static_cast<long long>(alexander.size()); ++k)
        sum += ((k - half) % 2 == 0 ? 1 : -1) * alexander[static_cast<size_t>(k)];
    return std::llabs(sum);
}

long long ConwayV2(const std::vector<long long>& alexander)
{
    long long sum = 0, v2 = 0;
    const long long half = static_cast<long long>(alexander.size()) / 2;
    for (long long k = 0; k < static_cast<long long>(alexander.size()); ++k) {
        const long long a = alexander[static_cast<size_t>(k)];
        sum += a;
        if (k > half)
            v2 += a * (k - half) * (k - half);
    }
    return sum < 0 ? -v2 : v2;
}

}  // namespace vek
