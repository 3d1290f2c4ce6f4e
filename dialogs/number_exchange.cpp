#include "dialogs/number_exchange.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <limits>
#include <system_error>

#include "text/number_words.h"

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Larger magnitudes are shown as this one: its 15-digit text is the
// largest that still reads back as a finite double.
constexpr double kLargestShownMagnitude = 1.79769313486231e308;

}  // namespace

std::string FormatDialogNumber(double value)
{
    if (std::isnan(value))
        return "nan";
    if (std::isinf(value))
        return value > 0 ? "1e+999" : "-1e+999";
    if (value == 0.0)
        value = 0.0;  // drops the sign of a negative zero
    // The largest doubles round to "1.79769313486232e+308", beyond the
    // double range, which would read back as infinity: confirming the
    // dialog unchanged must not turn them into a value the dialog refuses,
    // so they are shown rounded towards zero instead.
    if (std::fabs(value) > kLargestShownMagnitude)
        return value > 0 ? "1.79769313486231e+308" : "-1.79769313486231e+308";

    char buffer[64];
    const int length = std::snprintf(buffer, sizeof buffer, "%.*g", vek::kDialogNumberDigits, value);
    std::string text(buffer, length > 0 ? static_cast<size_t>(length) : 0);

    // "%g" writes at least two exponent digits after the sign; the field
    // shows at least three.
    vek::WidenExponent(text, static_cast<size_t>(vek::kDialogExponentDigits));
    return text;
}

bool ParseDialogNumber(const std::string& text, double& value)
{
    const std::string s = text.substr(0, vek::kDialogNumberMaxChars);
    const size_t end = s.size();
    size_t i = 0;
    while (i < end && IsBlank(s[i]))
        ++i;
    const char first = i < end ? s[i] : '\0';

    // The checked number, rebuilt for the conversion: no '+' (from_chars
    // takes none) and 'e' for the exponent letter.
    std::string token;
    bool negative = false;
    if (i < end && (s[i] == '+' || s[i] == '-')) {
        negative = s[i] == '-';
        if (negative)
            token += '-';
        ++i;
    }

    // Mantissa.
    int mantissaDigits = 0;
    bool seenPoint = false;
    for (; i < end; ++i) {
        const char c = s[i];
        if (IsDigit(c)) {
            ++mantissaDigits;
            token += c;
        } else if (c == '.' && !seenPoint) {
            seenPoint = true;
            token += c;
        } else {
            break;
        }
    }
    if (mantissaDigits == 0)
        return false;

    // Exponent: taken only when a digit follows the letter and its sign;
    // otherwise the letter is a stray character and refuses the text below.
    long long exponent = 0;
    if (i < end && (s[i] == 'e' || s[i] == 'E' || s[i] == 'd' || s[i] == 'D')) {
        size_t j = i + 1;
        bool expNegative = false;
        if (j < end && (s[j] == '+' || s[j] == '-')) {
            expNegative = s[j] == '-';
            ++j;
        }
        if (j < end && IsDigit(s[j])) {
            token += 'e';
            if (expNegative)
                token += '-';
            for (; j < end && IsDigit(s[j]); ++j) {
                token += s[j];
                // At most 30 digits fit the window; saturate long before
                // any overflow, far beyond every double's exponent.
                if (exponent < 1000000)
                    exponent = exponent * 10 + (s[j] - '0');
            }
            if (expNegative)
                exponent = -exponent;
            i = j;
        }
    }

    while (i < end && IsBlank(s[i]))
        ++i;
    if (i != end)
        return false;

    double result = 0.0;
    const auto [ptr, ec] = std::from_chars(token.data(), token.data() + token.size(), result,
                                           std::chars_format::general);
    if (ec == std::errc::result_out_of_range) {
        // The window leaves at most 30 mantissa digits, so a non-zero
        // mantissa lies within 1e-30 .. 1e31, and only an exponent of a
        // magnitude above 270 can leave the double range: its sign tells
        // which way.
        static_assert(vek::kDialogNumberMaxChars <= 31);
        const bool overflow = exponent > 0;
        result = overflow ? std::numeric_limits<double>::infinity() : 0.0;
        if (negative)
            result = -result;
    } else if (ec != std::errc() || ptr != token.data() + token.size()) {
        return false;
    }

    if (result == 0.0 && first != '0')
        return false;
    value = result;
    return true;
}

std::string NarrowNumberText(const std::string& text)
{
    // Three-byte UTF-8 sequences and their ASCII replacements.
    struct Wide {
        unsigned char b0, b1, b2;
        char ascii;
    };
    static constexpr Wide kWide[] = {
        {0xEF, 0xBC, 0x8B, '+'}, {0xEF, 0xBC, 0x8D, '-'}, {0xE2, 0x88, 0x92, '-'}, {0xEF, 0xBC, 0x8E, '.'},
        {0xEF, 0xBC, 0xA5, 'E'}, {0xEF, 0xBD, 0x85, 'e'}, {0xEF, 0xBC, 0xA4, 'D'}, {0xEF, 0xBD, 0x84, 'd'},
        {0xE3, 0x80, 0x80, ' '},
    };
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size();) {
        const auto b = [&](size_t k) { return static_cast<unsigned char>(text[i + k]); };
        if (i + 2 < text.size()) {
            if (b(0) == 0xEF && b(1) == 0xBC && b(2) >= 0x90 && b(2) <= 0x99) {
                out += static_cast<char>('0' + (b(2) - 0x90));
                i += 3;
                continue;
            }
            bool narrowed = false;
            for (const Wide& w : kWide) {
                if (b(0) == w.b0 && b(1) == w.b1 && b(2) == w.b2) {
                    out += w.ascii;
                    i += 3;
                    narrowed = true;
                    break;
                }
            }
            if (narrowed)
                continue;
        }
        out += text[i];
        ++i;
    }
    return out;
}
