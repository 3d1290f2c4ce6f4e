#include "io/points_file.h"

#include "curve/replace_points.h"
#include "geom/parallel.h"
#include "io/file_bytes.h"
#include "io/number_text.h"
#include "text/number_words.h"

#include <algorithm>
#include <atomic>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <limits>
#include <stdexcept>
#include <utility>
#include <vector>

namespace {

// Field width of a number as written.
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

// One number: skips white space, then takes the characters that can form a
// number, however many, and converts them. Advances pos past what it took;
// on NotANumber and TooLarge pos is where the rejected text starts.
ScanResult ScanNumber(std::string_view text, size_t& pos, double& value)
{
    while (pos < text.size() && IsScanSpace(text[pos]))
        ++pos;
    const size_t start = pos;
    const size_t limit = text.size();

    size_t p = start;
    bool negative = false;
    if (p < limit && (text[p] == '+' || text[p] == '-')) {
        negative = text[p] == '-';
        ++p;
    }
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
    if (digits == 0) {
        pos = start;
        return ScanResult::NotANumber;
    }
    size_t numberEnd = p;
    // An exponent mark is taken after a digit only; its sign only right after
    // it. Without exponent digits the mark is taken along but adds nothing.
    if (p < limit && (text[p] == 'e' || text[p] == 'E')) {
        ++p;
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
        if (!IsBelowDoubleRange(std::string_view(first, static_cast<size_t>(last - first)))) {
            pos = start;
            return ScanResult::TooLarge;
        }
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
    // Every line has the same length: blocks of lines are formatted side
    // by side straight into their places in the text.
    constexpr int kGrain = 8192;
    constexpr size_t kLineBytes = 3 * kFieldWidth + 4;
    std::string text(static_cast<size_t>(n) * kLineBytes, ' ');
    std::atomic<bool> uneven{false};
    vek::ForEachBlock(n, kGrain, [&](int first, int last, int) {
        std::string lines;
        lines.reserve(static_cast<size_t>(last - first) * kLineBytes);
        AppendPointLines(lines, x, y, z, AppendField, "\r\n", first, last);
        if (lines.size() == static_cast<size_t>(last - first) * kLineBytes)
            lines.copy(&text[static_cast<size_t>(first) * kLineBytes], lines.size());
        else
            uneven = true;
    });
    if (uneven) {
        // A field wider than its width (no double gives one): line by line.
        text.clear();
        AppendPointLines(text, x, y, z, AppendField, "\r\n");
    }
    return text;
}

namespace {

// How a scan ended.
struct ScanEnd {
    ScanResult stop = ScanResult::Number;  // Number: at the end of the text
    size_t at = 0;                         // where the rejected text starts
    long long points = 0;
    int lastCoordinates = 3;  // coordinates read of the last point
};

// The reading rules, storing each point through store(x, y, z).
template <class Store>
ScanEnd ScanPoints(std::string_view text, Store store)
{
    ScanEnd end;
    // Set once: a coordinate a short scan does not read keeps the previous
    // point's value.
    double holders[3] = {0.0, 0.0, 0.0};
    size_t pos = 0;
    for (;;) {
        int converted = 0;
        for (double& holder : holders) {
            double value = 0.0;
            const ScanResult result = ScanNumber(text, pos, value);
            if (result != ScanResult::Number) {
                if (pos < text.size()) {
                    end.stop = result;
                    end.at = pos;
                }
                break;
            }
            holder = value;
            ++converted;
        }
        if (converted == 0)
            return end;
        store(holders[0], holders[1], holders[2]);
        ++end.points;
        end.lastCoordinates = converted;
        if (converted < 3)
            return end;
    }
}

// The line (from 1) of the text at `at`.
long long LineAt(std::string_view text, size_t at)
{
    return 1 + std::count(text.begin(), text.begin() + static_cast<std::ptrdiff_t>(std::min(at, text.size())), '\n');
}

// The word of the text at `at`, for a message: up to the next white space,
// at most 20 characters, bytes that are not printable ASCII shown as "?".
std::string WordAt(std::string_view text, size_t at)
{
    constexpr size_t kShown = 20;
    std::string word;
    size_t k = at;
    for (; k < text.size() && !IsScanSpace(text[k]) && word.size() < kShown; ++k) {
        const unsigned char c = static_cast<unsigned char>(text[k]);
        word += c >= 0x20 && c < 0x7F ? static_cast<char>(c) : '?';
    }
    const bool more = k < text.size() && !IsScanSpace(text[k]);
    return "\"" + word + (more ? "...\"" : "\"");
}

bool IsBinaryByte(unsigned char c)
{
    return (c < 0x20 && !IsScanSpace(static_cast<char>(c))) || c == 0x7F;
}

// What a text without a single number holds instead, for a message.
std::string DescribeNoPoints(std::string_view text, const ScanEnd& end)
{
    if (text.empty())
        return "an empty file";
    const auto starts = [&](std::string_view mark) { return text.substr(0, mark.size()) == mark; };
    using namespace std::string_view_literals;
    if (starts("\xFF\xFE\0\0"sv) || starts("\0\0\xFE\xFF"sv))
        return "a UTF-32 text file; Vek reads plain ASCII (or UTF-8) text";
    if (starts("\xFF\xFE"sv) || starts("\xFE\xFF"sv))
        return "a UTF-16 text file; Vek reads plain ASCII (or UTF-8) text";
    if (end.stop == ScanResult::Number)
        return "no points: only white space";
    if (IsBinaryByte(static_cast<unsigned char>(text[end.at])))
        return "no points: binary data, not text";
    return "no points: line " + std::to_string(LineAt(text, end.at)) + " starts with " + WordAt(text, end.at) +
           ", which is not a number";
}

// The notes of a text that holds points: where the reading stopped short of
// the end, and a last point that lacks coordinates.
void AddNotes(std::string_view text, const ScanEnd& end, std::vector<std::string>& notes)
{
    if (end.stop != ScanResult::Number)
        notes.push_back("reading stopped at line " + std::to_string(LineAt(text, end.at)) + " at " +
                        WordAt(text, end.at) +
                        (end.stop == ScanResult::TooLarge ? " (too large for a double)" : " (not a number)") +
                        "; the " + std::to_string(end.points) + " points before it are kept and the rest is left");
    if (end.lastCoordinates < 3) {
        const size_t lastAt = end.stop != ScanResult::Number ? end.at : text.size();
        notes.push_back("the last point (line " + std::to_string(LineAt(text, lastAt > 0 ? lastAt - 1 : 0)) +
                        ") has " + std::to_string(end.lastCoordinates) +
                        " of its 3 coordinates; the missing ones repeat the point before it");
    }
}

// A UTF-8 byte-order mark (some editors write one) is no content.
std::string_view WithoutUtf8Mark(std::string_view text)
{
    if (text.substr(0, 3) == "\xEF\xBB\xBF")
        text.remove_prefix(3);
    return text;
}

}  // namespace

void ParsePointsText(std::string_view text, CDoubleArray& x, CDoubleArray& y, CDoubleArray& z)
{
    ScanPoints(WithoutUtf8Mark(text), [&](double px, double py, double pz) {
        x.SetAtGrow(x.GetSize(), px);
        y.SetAtGrow(y.GetSize(), py);
        z.SetAtGrow(z.GetSize(), pz);
    });
}

void ScanPointsText(std::string_view text, PointsReading& reading, long long maxPoints)
{
    text = WithoutUtf8Mark(text);
    std::vector<double> points;
    // Storage that grows by doubling: the arrays' own rule would copy a
    // large file's points over and over.
    const ScanEnd end = ScanPoints(text, [&](double px, double py, double pz) {
        if (static_cast<long long>(points.size() / 3) < maxPoints)
            points.insert(points.end(), {px, py, pz});
    });
    reading.xyz = std::move(points);
    reading.points = end.points;
    reading.notes.clear();
    reading.noPoints.clear();
    if (end.points == 0)
        reading.noPoints = DescribeNoPoints(text, end);
    else
        AddNotes(text, end, reading.notes);
}

bool GatherPointsFile(const std::string& path, PointsReading& reading, std::string& error, long long maxPoints)
{
    std::string bytes;
    if (!ReadFileBytes(path, bytes, error))
        return false;
    ScanPointsText(bytes, reading, maxPoints);
    return true;
}

bool GatherPointsFile(const std::string& path, std::vector<double>& xyz, std::string& error)
{
    PointsReading reading;
    if (!GatherPointsFile(path, reading, error, std::numeric_limits<long long>::max()))
        return false;
    xyz = std::move(reading.xyz);
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
