#include "knot/laurent.h"

#include <algorithm>
#include <stdexcept>

namespace vek {

namespace {

long long CheckedAdd(long long a, long long b)
{
    long long r;
    if (__builtin_add_overflow(a, b, &r))
        throw std::overflow_error("polynomial coefficient out of range");
    return r;
}

long long CheckedMul(long long a, long long b)
{
    long long r;
    if (__builtin_mul_overflow(a, b, &r))
        throw std::overflow_error("polynomial coefficient out of range");
    return r;
}

bool TermLess(const LaurentTerm& x, const LaurentTerm& y)
{
    return x.v != y.v ? x.v < y.v : x.z < y.z;
}

}  // namespace

Laurent2 Laurent2::Constant(long long c)
{
    return Monomial(c, 0, 0);
}

Laurent2 Laurent2::Monomial(long long c, int a, int b)
{
    Laurent2 p;
    if (c != 0)
        p.terms_.push_back({a, b, c});
    return p;
}

void Laurent2::AddScaled(const Laurent2& p, long long c, int a, int b)
{
    if (c == 0 || p.terms_.empty())
        return;
    std::vector<LaurentTerm> out;
    out.reserve(terms_.size() + p.terms_.size());
    size_t i = 0, j = 0;
    while (i < terms_.size() || j < p.terms_.size()) {
        LaurentTerm t;
        if (j < p.terms_.size())
            t = {p.terms_[j].v + a, p.terms_[j].z + b, CheckedMul(p.terms_[j].c, c)};
        if (j == p.terms_.size() || (i < terms_.size() && TermLess(terms_[i], t))) {
            out.push_back(terms_[i++]);
        } else if (i < terms_.size() && terms_[i].v == t.v && terms_[i].z == t.z) {
            const long long s = CheckedAdd(terms_[i].c, t.c);
            if (s != 0)
                out.push_back({t.v, t.z, s});
            ++i;
            ++j;
        } else {
            out.push_back(t);
            ++j;
        }
    }
    terms_ = std::move(out);
}

Laurent2 Laurent2::operator+(const Laurent2& p) const
{
    Laurent2 r = *this;
    r.AddScaled(p, 1, 0, 0);
    return r;
}

Laurent2 Laurent2::operator-(const Laurent2& p) const
{
    Laurent2 r = *this;
    r.AddScaled(p, -1, 0, 0);
    return r;
}

Laurent2 Laurent2::operator*(const Laurent2& p) const
{
    Laurent2 r;
    for (const LaurentTerm& t : terms_)
        r.AddScaled(p, t.c, t.v, t.z);
    return r;
}

Laurent2 Laurent2::MirrorV() const
{
    Laurent2 r;
    r.terms_.reserve(terms_.size());
    for (const LaurentTerm& t : terms_)
        r.terms_.push_back({-t.v, t.z, (t.v % 2 != 0) ? -t.c : t.c});
    r.Normalise();
    return r;
}

void Laurent2::Normalise()
{
    std::sort(terms_.begin(), terms_.end(), TermLess);
}

bool Laurent2::operator<(const Laurent2& p) const
{
    return std::lexicographical_compare(terms_.begin(), terms_.end(), p.terms_.begin(), p.terms_.end(),
                                        [](const LaurentTerm& x, const LaurentTerm& y) {
                                            if (x.v != y.v)
                                                return x.v < y.v;
                                            if (x.z != y.z)
                                                return x.z < y.z;
                                            return x.c < y.c;
                                        });
}

std::string Laurent2::Text() const
{
    if (terms_.empty())
        return "0";
    std::vector<LaurentTerm> t = terms_;
    std::sort(t.begin(), t.end(), [](const LaurentTerm& x, const LaurentTerm& y) {
        return x.z != y.z ? x.z < y.z : x.v < y.v;
    });
    std::string s;
    for (size_t k = 0; k < t.size(); ++k) {
        const long long c = t[k].c;
        const unsigned long long mag = c < 0 ? 0ULL - static_cast<unsigned long long>(c) : c;
        if (k == 0)
            s += c < 0 ? "-" : "";
        else
            s += c < 0 ? " - " : " + ";
        std::string mono;
        if (t[k].v != 0)
            mono += t[k].v == 1 ? "v" : "v^" + std::to_string(t[k].v);
        if (t[k].z != 0) {
            if (!mono.empty())
                mono += "*";
            mono += t[k].z == 1 ? "z" : "z^" + std::to_string(t[k].z);
        }
        if (mono.empty())
            s += std::to_string(mag);
        else if (mag == 1)
            s += mono;
        else
            s += std::to_string(mag) + "*" + mono;
    }
    return s;
}

}  // namespace vek
