#include <gtest/gtest.h>

#include "framework/IntegerText.h"

namespace {

// The value read, or 12345 when the text is refused (and must stay untouched).
int Read(const char* text) {
    int value = 12345;
    const bool ok = ParseInteger(text, value);
    EXPECT_EQ(ok, value != 12345) << "value changed without success for \"" << text << "\"";
    return value;
}

}  // namespace

TEST(IntegerText, DecimalNumbersWithASignAndBlanksAroundThem) {
    EXPECT_EQ(Read("0"), 0);
    EXPECT_EQ(Read("42"), 42);
    EXPECT_EQ(Read("-42"), -42);
    EXPECT_EQ(Read("+7"), 7);
    EXPECT_EQ(Read("  -15 \t"), -15);
    EXPECT_EQ(Read("007"), 7);
    EXPECT_EQ(Read("2147483647"), 2147483647);
    EXPECT_EQ(Read("-2147483648"), -2147483647 - 1);
}

TEST(IntegerText, AnythingElseIsRefused) {
    for (const char* text : {"", "   ", "-", "+", "12x", "x12", "1 2", "1.5", "0x10", "- 5", "--5",
                             "2147483648", "-2147483649", "99999999999999999999"})
        EXPECT_EQ(Read(text), 12345) << "accepted \"" << text << "\"";
}
