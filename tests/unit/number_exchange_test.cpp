#include "dialogs/number_exchange.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

namespace {

constexpr double kInf = std::numeric_limits<double>::infinity();
constexpr double kUntouched = 42.25;

struct FormatCase {
    double value;
    const char* text;
};

class NumberExchangeFormat : public ::testing::TestWithParam<FormatCase> {};

TEST_P(NumberExchangeFormat, FifteenSignificantDigitsAndThreeExponentDigits)
{
    EXPECT_EQ(FormatDialogNumber(GetParam().value), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(
    Table, NumberExchangeFormat,
    ::testing::Values(FormatCase{1.0, "1"}, FormatCase{0.03, "0.03"}, FormatCase{0.00001, "1e-005"},
                      FormatCase{0.0001, "0.0001"}, FormatCase{1e15, "1e+015"},
                      FormatCase{999999999999999.0, "999999999999999"}, FormatCase{1.5e300, "1.5e+300"},
                      FormatCase{-2.5e-10, "-2.5e-010"}, FormatCase{0.1 + 0.2, "0.3"},
                      FormatCase{1.0 / 3.0, "0.333333333333333"}, FormatCase{123456789012345678.0, "1.23456789012346e+017"},
                      FormatCase{0.0, "0"}, FormatCase{-0.0, "0"}, FormatCase{4.9406564584124654e-324, "4.94065645841247e-324"},
                      FormatCase{1.797693134862315e308, "1.79769313486231e+308"},
                      FormatCase{-1.7976931348623157e308, "-1.79769313486231e+308"},
                      FormatCase{1.79769313486231e308, "1.79769313486231e+308"},
                      FormatCase{1.7976931348623e308, "1.7976931348623e+308"},
                      FormatCase{kInf, "1e+999"}, FormatCase{-kInf, "-1e+999"},
                      FormatCase{std::numeric_limits<double>::quiet_NaN(), "nan"}));

struct ParseCase {
    const char* text;
    bool accepted;
    double value;  // when accepted
};

void PrintTo(const ParseCase& c, std::ostream* os) { *os << '"' << c.text << '"'; }

class NumberExchangeParse : public ::testing::TestWithParam<ParseCase> {};

TEST_P(NumberExchangeParse, TypedTextAndWhatOkMakesOfIt)
{
    const ParseCase c = GetParam();
    double value = kUntouched;
    EXPECT_EQ(ParseDialogNumber(c.text, value), c.accepted);
    if (c.accepted) {
        EXPECT_EQ(value, c.value);
        EXPECT_EQ(std::signbit(value), std::signbit(c.value));
    } else {
        EXPECT_EQ(value, kUntouched);
    }
}

INSTANTIATE_TEST_SUITE_P(
    DialogTable, NumberExchangeParse,
    ::testing::Values(ParseCase{"2", true, 2.0}, ParseCase{" 2.5 ", true, 2.5}, ParseCase{"0", true, 0.0},
                      ParseCase{"0.0", true, 0.0}, ParseCase{"00", true, 0.0}, ParseCase{".5", true, 0.5},
                      ParseCase{"5.", true, 5.0}, ParseCase{"-1", true, -1.0}, ParseCase{"+3", true, 3.0},
                      ParseCase{"1e3", true, 1000.0}, ParseCase{"1E-2", true, 0.01}, ParseCase{"1d2", true, 100.0},
                      ParseCase{"1e400", true, kInf}, ParseCase{"0.1e-400", true, 0.0}, ParseCase{"", false, 0},
                      ParseCase{"   ", false, 0}, ParseCase{".0", false, 0}, ParseCase{"-0", false, 0},
                      ParseCase{"+0", false, 0}, ParseCase{"1e-400", false, 0}, ParseCase{"abc", false, 0},
                      ParseCase{"inf", false, 0}, ParseCase{"nan", false, 0}, ParseCase{"1.5x", false, 0},
                      ParseCase{"1,5", false, 0}, ParseCase{"1e", false, 0}, ParseCase{"1 2", false, 0},
                      ParseCase{"0x10", false, 0}));

INSTANTIATE_TEST_SUITE_P(
    MoreForms, NumberExchangeParse,
    ::testing::Values(ParseCase{"\t 7\t ", true, 7.0}, ParseCase{"-.5", true, -0.5}, ParseCase{"2D-1", true, 0.2},
                      ParseCase{"1e+2", true, 100.0}, ParseCase{"-1e400", true, -kInf},
                      ParseCase{"1e99999999999999999999", true, kInf}, ParseCase{"0e999999", true, 0.0}, ParseCase{"0e-99999999999", true, 0.0}, ParseCase{"-0e5", false, 0},
                      ParseCase{"00.000e-5", true, 0.0}, ParseCase{"1e-310", true, 1e-310},
                      ParseCase{"2.5e-324", true, 4.9406564584124654e-324}, ParseCase{"2.4e-324", false, 0},
                      ParseCase{"100000e303", true, 1e308}, ParseCase{"1000000e303", true, kInf},
                      ParseCase{"0.00001e-320", true, 0.0}, ParseCase{"0.1", true, 0.1},
                      ParseCase{"2.2250738585072011e-308", true, 2.2250738585072011e-308}, ParseCase{".", false, 0},
                      ParseCase{"-", false, 0}, ParseCase{"+", false, 0}, ParseCase{"1e+", false, 0},
                      ParseCase{"1e-", false, 0}, ParseCase{"1..2", false, 0}, ParseCase{"1.2.3", false, 0},
                      ParseCase{"--1", false, 0}, ParseCase{"+-1", false, 0}, ParseCase{"1e5.5", false, 0},
                      ParseCase{"1e2e3", false, 0}, ParseCase{"e5", false, 0}, ParseCase{"\n5", false, 0},
                      ParseCase{"5\n", false, 0}, ParseCase{"- 5", false, 0}, ParseCase{"-0.1e-400", false, 0},
                      ParseCase{"0x", false, 0}, ParseCase{"１", false, 0}));

TEST(NumberExchangeWindow, OnlyTheFirst31CharactersCount)
{
    double value = kUntouched;
    const std::string digits(31, '1');
    ASSERT_TRUE(ParseDialogNumber(digits + "x", value));
    EXPECT_EQ(value, 1111111111111111111111111111111.0);

    // The exponent's digit falls beyond the window: "1e" is left.
    value = kUntouched;
    EXPECT_FALSE(ParseDialogNumber(std::string(29, ' ') + "1e5", value));
    EXPECT_EQ(value, kUntouched);

    // Part of the exponent is cut: 1e12 of 1e123.
    ASSERT_TRUE(ParseDialogNumber(std::string(27, ' ') + "1e123", value));
    EXPECT_EQ(value, 1e12);

    // A text of blanks beyond the window is empty.
    EXPECT_FALSE(ParseDialogNumber(std::string(31, ' ') + "5", value));

    // A multibyte character cut at byte 31 is just a stray byte when it is
    // inside the window, and nothing when it is beyond.
    EXPECT_FALSE(ParseDialogNumber(std::string(30, '2') + "\xE3\x80\x80", value));
    ASSERT_TRUE(ParseDialogNumber(std::string(31, '2') + "\xE3\x80\x80", value));
    EXPECT_EQ(value, 2222222222222222222222222222222.0);
}

TEST(NumberExchangeRoundTrip, ShownTextsReadBackToTheValue)
{
    const double largest = std::numeric_limits<double>::max();
    for (const double v : {1.0, 0.03, 1e-5, 1e15, 1.5e300, -7.25, 0.0, -0.0, kInf, -kInf, 5e-324, largest, -largest}) {
        double back = kUntouched;
        ASSERT_TRUE(ParseDialogNumber(FormatDialogNumber(v), back)) << v;
        if (v == 5e-324)
            EXPECT_EQ(back, 4.9406564584124654e-324);
        else if (std::fabs(v) == largest)  // shown with 15 digits, still finite
            EXPECT_EQ(back, std::copysign(1.79769313486231e308, v));
        else
            EXPECT_EQ(back, v);
    }
    double back = kUntouched;
    EXPECT_FALSE(ParseDialogNumber(FormatDialogNumber(std::nan("")), back));
    EXPECT_EQ(back, kUntouched);
}

}  // namespace

// What an input method types in a number, and what the field reads of it:
// full-width digits, signs, point, exponent letters and the ideographic
// space become ASCII; anything else (the full-width comma, kana, a cut
// sequence) stays as it was, to be refused.
TEST(NumberExchangeNarrow, FullWidthFormsBecomeTheirAsciiForms)
{
    const struct {
        const char* typed;
        const char* narrowed;
    } cases[] = {
        {"０１２３４５６７８９", "0123456789"},
        {"＋１．５Ｅ－３", "+1.5E-3"},
        {"−２ｅ３", "-2e3"},
        {"１Ｄ２ｄ", "1D2d"},
        {"　２　", " 2 "},
        {"２，５", "2，5"},
        {"２あ", "2あ"},
        {"1.5", "1.5"},
        {"\xEF\xBC", "\xEF\xBC"},
        {"", ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(NarrowNumberText(c.typed), c.narrowed) << c.typed;

    double value = kUntouched;
    ASSERT_TRUE(ParseDialogNumber(NarrowNumberText("　１．２５ｅ２　"), value));
    EXPECT_EQ(value, 125.0);
    // Narrowed first, the 31 characters of the window are characters, not
    // the three bytes of each full-width digit.
    std::string wide;
    for (int k = 0; k < 31; ++k)
        wide += "１";
    ASSERT_TRUE(ParseDialogNumber(NarrowNumberText(wide + "x"), value));
    EXPECT_EQ(value, 1111111111111111111111111111111.0);
}
