// Numbers as words of text: a word that must be a number as a whole (a
// command-line value, a field), and the exponent of a written number
// widened to a fixed count of digits.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace vek {

enum class WordNumber {
    Number,      // the whole word is the number
    NotANumber,  // empty, white space, a sign other than a leading '-', text after the digits
    OutOfRange,  // decimal digits whose value the type cannot hold
};

// The whole of `word` as a decimal integer (std::from_chars: an optional
// leading '-', digits, nothing else). `value` is set for Number only.
WordNumber ReadWordInteger(std::string_view word, int& value);
WordNumber ReadWordInteger(std::string_view word, long long& value);

// The whole of `word` as a finite double (std::from_chars, general format:
// no white space, no '+', no hexadecimal). False, `value` untouched, for
// anything else: "inf", "nan" and numbers beyond the double range included.
bool ReadWordFinite(std::string_view word, double& value);

// "1.5e+07" -> "1.5e+007" for digits 3: the digits after the exponent's
// 'e' and sign padded with leading zeros to at least `digits`. A number
// without an 'e' is left as it is.
void WidenExponent(std::string& number, std::size_t digits);

}  // namespace vek
