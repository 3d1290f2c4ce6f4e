// The small text rules shared by the file formats, the dialogs and the
// command lines: whole-word numbers, widened exponents, file extensions.
#include <gtest/gtest.h>

#include <string>

#include "text/number_words.h"
#include "text/path_names.h"

namespace {

using vek::WordNumber;

TEST(TextRules, AWordIsAnIntegerOnlyAsAWhole)
{
    struct Case {
        const char* word;
        WordNumber read;
        long long value;  // for Number
    };
    for (const Case& c : {Case{"12", WordNumber::Number, 12}, Case{"-5", WordNumber::Number, -5},
                          Case{"0", WordNumber::Number, 0}, Case{"", WordNumber::NotANumber, 0},
                          Case{"+5", WordNumber::NotANumber, 0}, Case{" 5", WordNumber::NotANumber, 0},
                          Case{"12x", WordNumber::NotANumber, 0}, Case{"1e3", WordNumber::NotANumber, 0},
                          Case{"99999999999999999999", WordNumber::OutOfRange, 0},
                          Case{"99999999999999999999x", WordNumber::NotANumber, 0}}) {
        long long value = 77;
        EXPECT_EQ(vek::ReadWordInteger(c.word, value), c.read) << c.word;
        EXPECT_EQ(value, c.read == WordNumber::Number ? c.value : 77) << c.word;
    }
    int small = 77;
    EXPECT_EQ(vek::ReadWordInteger("99999999999", small), WordNumber::OutOfRange);
    EXPECT_EQ(small, 77);
}

TEST(TextRules, AWordIsAFiniteNumberOnlyAsAWhole)
{
    for (const char* word : {"", " 2", "2 ", "+1", "2x", "0x10", "inf", "-inf", "nan", "1e999", "1,5", "."}) {
        double value = 7.0;
        EXPECT_FALSE(vek::ReadWordFinite(word, value)) << word;
        EXPECT_EQ(value, 7.0) << word;
    }
    double value = 0.0;
    EXPECT_TRUE(vek::ReadWordFinite("1e1", value));
    EXPECT_EQ(value, 10.0);
    EXPECT_TRUE(vek::ReadWordFinite("-2.5E-1", value));
    EXPECT_EQ(value, -0.25);
}

TEST(TextRules, TheExponentIsWidenedToAtLeastTheDigitsAsked)
{
    struct Case {
        const char* number;
        const char* widened;
    };
    for (const Case& c : {Case{"1.5e+07", "1.5e+007"}, Case{"-6.666667e-01", "-6.666667e-001"},
                          Case{"1e-300", "1e-300"}, Case{"1e+1234", "1e+1234"}, Case{"12.5", "12.5"}}) {
        std::string text = c.number;
        vek::WidenExponent(text, 3);
        EXPECT_EQ(text, c.widened);
    }
}

TEST(TextRules, TheExtensionIsThatOfTheLastComponent)
{
    struct Case {
        const char* path;
        const char* extension;
        const char* name;
    };
    for (const Case& c : {Case{"a.txt", "txt", "a.txt"}, Case{"dir/run.tar.VECT", "VECT", "run.tar.VECT"},
                          Case{"dir.d/a", "", "a"}, Case{"a.", "", "a."}, Case{".obj", "obj", ".obj"},
                          Case{"a.vect/", "", ""}, Case{"", "", ""}}) {
        EXPECT_EQ(vek::PathExtension(c.path), c.extension) << c.path;
        EXPECT_EQ(vek::PathFileName(c.path), c.name) << c.path;
    }
    EXPECT_TRUE(vek::HasPathExtension("T.STL", "stl"));
    EXPECT_TRUE(vek::HasPathExtension("x/.ply", "ply"));
    EXPECT_FALSE(vek::HasPathExtension("t.stl.txt", "stl"));
    EXPECT_FALSE(vek::HasPathExtension("tstl", "stl"));
    EXPECT_FALSE(vek::HasPathExtension("t.st", "stl"));
}

}  // namespace
