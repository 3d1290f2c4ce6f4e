#include "io/points_file.h"

#include "curve/replace_points.h"
#include "io/file_bytes.h"
#include "io/number_text.h"
#include "text/number_words.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <limits>
#include <stdexcept>
#include <utility>
#include <vector>

namespace {

// Field width of a number, both as written and as read.
constexpr size_t kFieldWidth = 16;
constexpr int kExponentDigits = 3;

bool IsScanSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

// "-6.666667e-01" -> "  -6.666667e-001": six digits after the point, the
// exponent widened to three digits, right-aligned in the field.
void AppendField(std::string& out, double value)
{
    // Scientific with six digits after the point, as printf's "%.6e" gives
    // in the C locale.
    std::string number = NumberText(value, 6);
    vek::WidenExponent(number, kExponentDigits);
    if (number.size() < kFieldWidth)
        out.append(kFieldWidth - number.size(), ' ');
    out += number;
}

enum class ScanResult { Number, NotANumber, TooLarge };

// The decimal order of magnitude of a checked number token whose conversion
// went out of range: far above 0 for an overflow, far below for an underflow.
long long DecimalOrder(std::string_view mantissa, std::string_view exponent)
{
    long long order = 0;
    bool found = false;
    const size_t dot = mantissa.find('.');
    const size_t intEnd = dot == std::string_view::npos ? mantissa.size() : dot;
    for (size_t k = 0; k < intEnd && !found; ++k) {
        if (mantissa[k] != '0') {
            order = static_cast<long long>(intEnd - k) - 1;
            found = true;
        }
    }
    for (size_t k = intEnd + 1; k < mantissa.size() && !found; ++k) {
        if (mantissa[k] != '0') {
            order = -static_cast<long long>(k - intEnd);
            found = true;
        }
    }
    long long exp = 0;
    bool negative = false;
    for (char c : exponent) {
        if (c == '-')
            negative = true;
        else if (IsDigit(c))
            exp = exp * 10 + (c - '0');  // at most 14 digits fit in a field
    }
    return order + (negative ? -exp : exp);
}

// One "%16le": skips white space, then takes at most 16 characters that can
// form a number and converts them. Advances pos past what it took.
ScanResult ScanNumber(std::string_view text, size_t& pos, double& value)
{
    while (pos < text.size() && IsScanSpace(text[pos]))
        ++pos;
    const size_t start = pos;
    const size_t limit = std::min(text.size(), start + kFieldWidth);

    size_t p = start;
    bool negative = false;
    if (p < limit && (text[p] == '+' || text[p] == '-')) {
        negative = text[p] == '-';
        ++p;
    }
    const size_t mantissaStart = p;
    int digits = 0;
    bool dot = false;
    while (p < limit) {
        if (IsDigit(text[p]))
            ++digits;
        else if (text[p] == '.' && !dot)
            dot = true;
        else
            break;
        ++p;
    }
    if (digits == 0)
        return ScanResult::NotANumber;
    const size_t mantissaEnd = p;
    size_t numberEnd = p;
    size_t exponentStart = p;
    // An exponent mark is taken after a digit only; its sign only right after
    // it. Without exponent digits the mark is taken along but adds nothing.
    if (p < limit && (text[p] == 'e' || text[p] == 'E')) {
        ++p;
        exponentStart = p;
        if (p < limit && (text[p] == '+' || text[p] == '-'))
            ++p;
        const size_t exponentDigits = p;
        while (p < limit && IsDigit(text[p]))
            ++p;
        if (p > exponentDigits)
            numberEnd = p;
    }
    pos = p;

    // from_chars takes no leading "+"; its exponent letter must follow the
    // mantissa directly, which the checked token guarantees.
    const char* first = text.data() + (text[start] == '+' ? start + 1 : start);
    const char* last = text.data() + numberEnd;
    double converted = 0.0;
    const auto result = std::from_chars(first, last, converted, std::chars_format::general);
    if (result.ec == std::errc::result_out_of_range) {
        const std::string_view mantissa = text.substr(mantissaStart, mantissaEnd - mantissaStart);
        const std::string_view exponent =
            numberEnd > mantissaEnd ? text.substr(exponentStart, numberEnd - exponentStart) : std::string_view();
        if (DecimalOrder(mantissa, exponent) >= 0)
            return ScanResult::TooLarge;
        value = negative ? -0.0 : 0.0;
        return ScanResult::Number;
    }
    if (result.ec != std::errc() || result.ptr != last || !std::isfinite(converted))
        return ScanResult::NotANumber;  // cannot happen for a checked token
    value = converted;
    return ScanResult::Number;
}

}  // namespace

std::string FormatPointsText(const CDoubleArray& x, const CDoubleArray& y, const CDoubleArray& z)
{
    const int n = x.GetSize();
    std::string text;
    text.reserve(static_cast<size_t>(n) * 52);
    AppendPointLines(text, x, y, z, AppendField, "\r\n");
    return text;
}

namespace {

// The reading rules, storing each point through store(x, y, z).
template <class Store>
void ScanPoints(std::string_view text, Store store)
{
    // Set once: a coordinate a short scan does not read keeps the previous
    // point's value.
    double holders[3] = {0.0, 0.0, 0.0};
    size_t pos = 0;
    for (;;) {
        int converted = 0;
        bool ended = false;
        for (double& holder : holders) {
            double value = 0.0;
            if (ScanNumber(text, pos, value) != ScanResult::Number) {
                ended = true;
                break;
            }
            holder = value;
            ++converted;
        }
        if (converted == 0)
            return;
        store(holders[0], holders[1], holders[2]);
        if (ended)
            return;
    }
}

}  // namespace

void ParsePointsText(std::string_view text, CDoubleArray& x, CDoubleArray& y, CDoubleArray& z)
{
    ScanPoints(text, [&](double px, double py, double pz) {
        x.SetAtGrow(x.GetSize(), px);
        y.SetAtGrow(y.GetSize(), py);
        z.SetAtGrow(z.GetSize(), pz);
    });
}

bool GatherPointsFile(const std::string& path, std::vector<double>& xyz, std::string& error)
{
    std::string bytes;
    if (!ReadFileBytes(path, bytes, error))
        return false;
    // Storage that grows by doubling: the arrays' own rule would copy a
    // large file's points over and over.
    std::vector<double> points;
    ScanPoints(bytes, [&](double px, double py, double pz) {
        points.insert(points.end(), {px, py, pz});
    });
    xyz = std::move(points);
    return true;
}

bool ReadPointsFile(const std::string& path, CDoubleArray& x, CDoubleArray& y, CDoubleArray& z, std::string& error)
{
    // The points are gathered apart first and only then put into x, y, z in
    // one go.
    std::vector<double> points;
    if (!GatherPointsFile(path, points, error))
        return false;
    ReplacePoints(points, x, y, z);
    return true;
}

bool WritePointsFile(const std::string& path, const CDoubleArray& x, const CDoubleArray& y, const CDoubleArray& z,
                     std::string& error)
{
    return WriteFileBytes(path, FormatPointsText(x, y, z), error);
}
