#include "io/number_text.h"

#include <charconv>
#include <cmath>
#include <algorithm>
#include <limits>

std::string NumberText(double value, int digits)
{
    if (std::isnan(value))
        value = 0.0;
    else if (std::isinf(value))
        value = std::copysign(std::numeric_limits<double>::max(), value);
    char buffer[32];
    const auto result = digits < 0 ? std::to_chars(buffer, buffer + sizeof buffer, value)
                                   : std::to_chars(buffer, buffer + sizeof buffer, value,
                                                   std::chars_format::scientific, digits);
    return std::string(buffer, result.ptr);
}

bool IsBelowDoubleRange(std::string_view token)
{
    size_t k = 0;
    if (k < token.size() && (token[k] == '+' || token[k] == '-'))
        ++k;
    // The decimal order of the first digit that is not 0: its place before
    // the point counted from the point, or minus its place after it.
    long long integerDigits = 0, fractionDigits = 0;
    long long firstInteger = -1, firstFraction = -1;
    bool afterPoint = false;
    for (; k < token.size() && token[k] != 'e' && token[k] != 'E'; ++k) {
        if (token[k] == '.') {
            afterPoint = true;
        } else if (!afterPoint) {
            if (firstInteger < 0 && token[k] != '0')
                firstInteger = integerDigits;
            ++integerDigits;
        } else {
            ++fractionDigits;
            if (firstInteger < 0 && firstFraction < 0 && token[k] != '0')
                firstFraction = fractionDigits;
        }
    }
    const long long order = firstInteger >= 0 ? integerDigits - firstInteger - 1 : -firstFraction;
    // Saturated far beyond any double's range, whatever the digit count.
    constexpr long long kSaturated = 1000000000000LL;
    long long exponent = 0;
    bool negative = false;
    if (k < token.size())
        ++k;
    if (k < token.size() && (token[k] == '+' || token[k] == '-'))
        negative = token[k++] == '-';
    for (; k < token.size(); ++k)
        exponent = std::min(kSaturated, exponent * 10 + (token[k] - '0'));
    return order + (negative ? -exponent : exponent) < 0;
}
