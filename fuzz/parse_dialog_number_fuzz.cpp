// Fuzz target of the settings dialogs' number rules
// (dialogs/number_exchange.h, dialogs/value_bounds.h).
//
// Input: any bytes, taken as the text typed into the edit field. Every
// input is also judged by a reference checker written here from the rules
// alone, as plainly as possible: a regular expression over the first 31
// bytes, the C library's strtod on the number with its exponent letter
// made 'e', and the zero rule. ParseDialogNumber must agree with it on
// accept or refuse and, when it accepts, on the value bit for bit.
// Then: a value shown in the field reads back to itself (to 15 digits) and
// fits the window; the display factor bound refuses exactly the values
// beyond +-1e6 and the non-finite ones; the precision bound refuses every
// non-finite value.
//
// The inputs are also read as a raw double (first 8 bytes) for the shown
// text checks, so infinities, NaN and subnormals are covered.
#include <cerrno>
#include <clocale>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <regex>
#include <string>

#include "dialogs/number_exchange.h"
#include "dialogs/value_bounds.h"

namespace {

[[noreturn]] void Finding(const char* what, const std::string& text)
{
    std::fprintf(stderr, "FINDING: %s for \"", what);
    for (unsigned char c : text)
        std::fprintf(stderr, (c >= 32 && c < 127 && c != '\\') ? "%c" : "\\x%02x", c);
    std::fprintf(stderr, "\"\n");
    std::abort();
}

bool SameBits(double a, double b)
{
    return std::memcmp(&a, &b, sizeof a) == 0;
}

// The reference: what the rules make of `text`. Returns whether it is a
// number the field takes and, if so, its value.
bool ReferenceParse(const std::string& text, double& value)
{
    static const std::regex kNumber(
        "[ \\t]*([+-]?)([0-9]+\\.?[0-9]*|\\.[0-9]+)(?:[eEdD]([+-]?[0-9]+))?[ \\t]*",
        std::regex::ECMAScript | std::regex::optimize);
    const std::string window = text.substr(0, 31);
    std::smatch m;
    if (!std::regex_match(window, m, kNumber))
        return false;
    std::string token = m[1].str() + m[2].str();
    if (m[3].matched)
        token += "e" + m[3].str();
    errno = 0;
    const double converted = std::strtod(token.c_str(), nullptr);  // "C" locale
    const char first = window[window.find_first_not_of(" \t")];
    if (converted == 0.0 && first != '0')
        return false;
    value = converted;
    return true;
}

void CheckShownText(double v, const std::string& context)
{
    const std::string shown = FormatDialogNumber(v);
    if (shown.size() > vek::kDialogNumberMaxChars)
        Finding("a shown value is longer than the field's window", context);
    double back = 42.0;
    const bool accepted = ParseDialogNumber(shown, back);
    if (std::isnan(v)) {
        if (accepted)
            Finding("NaN was shown as a text that is taken", context);
        return;
    }
    if (!accepted)
        Finding("a shown value is refused when confirmed", shown);
    if (std::isinf(v) || v == 0.0) {
        if (!(back == v))
            Finding("an infinity or zero did not read back as itself", shown);
        return;
    }
    if (!(std::fabs(back - v) <= 1e-14 * std::fabs(v) + 5e-324))
        Finding("a shown value reads back to another value", shown);
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    std::setlocale(LC_ALL, "C");
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string text(reinterpret_cast<const char*>(data), size);

    double value = 42.0, expected = 0.0;
    const bool accepted = ParseDialogNumber(text, value);
    const bool reference = ReferenceParse(text, expected);
    if (accepted != reference)
        Finding(accepted ? "taken, but the rules refuse it" : "refused, but the rules take it", text);
    if (!accepted && !SameBits(value, 42.0))
        Finding("a refused text changed the value", text);
    if (accepted) {
        if (!SameBits(value, expected))
            Finding("taken with another value than the rules give", text);
        if (std::isnan(value))
            Finding("a text was taken as NaN", text);
        CheckShownText(value, text);

        const bool scaleOk = std::isfinite(value) && std::fabs(value) <= 1e6;
        if (TubeScaleRefusal(value).empty() != scaleOk)
            Finding("the display factor bound disagrees", text);
        if (!std::isfinite(value) && PrecisionRefusal(value, 0).empty())
            Finding("a non-finite precision was let through", text);
    }

    if (size >= sizeof(double)) {
        double raw;
        std::memcpy(&raw, data, sizeof raw);
        CheckShownText(raw, text);
    }
    return 0;
}
