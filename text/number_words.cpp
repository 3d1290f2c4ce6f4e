#include "text/number_words.h"

#include <charconv>
#include <cmath>
#include <system_error>

namespace vek {

namespace {

template <class Integer>
WordNumber ReadInteger(std::string_view word, Integer& value)
{
    const char* last = word.data() + word.size();
    Integer parsed = 0;
    const auto [stop, status] = std::from_chars(word.data(), last, parsed);
    if (word.empty() || stop != last)
        return WordNumber::NotANumber;
    if (status == std::errc::result_out_of_range)
        return WordNumber::OutOfRange;
    if (status != std::errc())
        return WordNumber::NotANumber;
    value = parsed;
    return WordNumber::Number;
}

}  // namespace

WordNumber ReadWordInteger(std::string_view word, int& value)
{
    return ReadInteger(word, value);
}

WordNumber ReadWordInteger(std::string_view word, long long& value)
{
    return ReadInteger(word, value);
}

bool ReadWordFinite(std::string_view word, double& value)
{
    const char* last = word.data() + word.size();
    double parsed = 0.0;
    const auto [stop, status] = std::from_chars(word.data(), last, parsed, std::chars_format::general);
    if (word.empty() || status != std::errc() || stop != last || !std::isfinite(parsed))
        return false;
    value = parsed;
    return true;
}

void WidenExponent(std::string& number, std::size_t digits)
{
    const std::size_t e = number.find('e');
    if (e == std::string::npos || e + 2 > number.size())
        return;
    const std::size_t first = e + 2;  // after "e+" or "e-"
    const std::size_t count = number.size() - first;
    if (count < digits)
        number.insert(first, digits - count, '0');
}

}  // namespace vek
