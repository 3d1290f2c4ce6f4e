#include "io/number_text.h"

#include <charconv>
#include <cmath>
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
