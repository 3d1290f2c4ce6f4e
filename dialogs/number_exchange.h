// The number exchange of the settings dialogs' edit field: how a value is
// shown, and which typed texts are taken as a number.
#pragma once

#include <cstddef>
#include <string>

namespace vek {

// Only this many leading bytes of the edit text are looked at.
inline constexpr std::size_t kDialogNumberMaxChars = 31;
// Significant digits shown in the edit field.
inline constexpr int kDialogNumberDigits = 15;
// Digits the exponent is widened to.
inline constexpr int kDialogExponentDigits = 3;

}  // namespace vek

// The text of a value in the edit field: printf "%.15g" (at most 15
// significant digits, no trailing zeros; exponent form below 1e-4 and from
// 1e15 up), the exponent widened to at least three digits: 1 -> "1",
// 0.03 -> "0.03", 1e-5 -> "1e-005", 1e15 -> "1e+015", 1.5e300 ->
// "1.5e+300". Magnitudes above 1.79769313486231e308, whose 15-digit form
// would lie beyond the double range, are shown as +-1.79769313486231e+308.
// Values that have no such form: +infinity is "1e+999" and -infinity
// "-1e+999", which read back as the same infinity, so confirming the dialog
// unchanged keeps the value; negative zero is "0", since "-0" would be
// refused; NaN (which no accepted text produces) is "nan", which is refused
// if confirmed, so the user must type a number or cancel.
std::string FormatDialogNumber(double value);

// The validation of a typed text. Only the first 31 bytes count. Leading
// blanks and tabs are skipped and the first byte after them noted; then one
// decimal number must follow: optional sign, digits with at most one '.' and
// at least one digit, optional exponent of e/E/d/D, optional sign and at
// least one digit (no hexadecimal, infinity or NaN forms); then only blanks
// and tabs. The value is the correctly rounded double; beyond the double
// range it is the signed infinity, below it zero. A zero is refused unless
// the noted byte is the digit '0' ("0", "00", "0.1e-400" pass; ".0", "-0",
// "1e-400" do not).
// Returns true and sets value when accepted; returns false and leaves value
// untouched when refused. Independent of the C locale.
bool ParseDialogNumber(const std::string& text, double& value);

// The text with the full-width forms that a Japanese input method types in
// a number replaced by their ASCII forms, everything else kept byte for
// byte (UTF-8): the digits U+FF10 ... U+FF19, U+FF0B "＋", U+FF0D "－",
// U+2212 "−", U+FF0E "．", the exponent letters U+FF25 "Ｅ", U+FF45 "ｅ",
// U+FF24 "Ｄ", U+FF44 "ｄ", and the ideographic space U+3000 as a blank.
// "２.５" becomes "2.5", "１Ｅ３" "1E3"; "２，５" keeps its comma. The edit's
// text goes through this before ParseDialogNumber, whose 31-byte window
// then counts each narrowed character once.
std::string NarrowNumberText(const std::string& text);
