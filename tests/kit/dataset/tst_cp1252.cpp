#include "kit/dataset/cp1252.h"

#include <gtest/gtest.h>

namespace cp = kit::cp1252;

TEST(Cp1252, EveryByteSurvivesARoundTrip)
{
    for (int b = 0; b < 256; ++b)
        EXPECT_EQ(cp::fromUnicode(cp::toUnicode(static_cast<unsigned char>(b))), b) << b;
}

TEST(Cp1252, TheSpecialRangeAndUnmappedCharacters)
{
    EXPECT_EQ(cp::toUnicode(0x80), u'\u20AC');
    EXPECT_EQ(cp::fromUnicode(u'\u2019'), 0x92);
    EXPECT_EQ(cp::fromUnicode(u'\u0100'), -1);  // Ā has no byte
    EXPECT_EQ(cp::encode(u"caff\u00E8 \u4E2D"), "caff\xE8 ?");
}

TEST(Cp1252, CaseChangesOneByteForOne)
{
    const struct {
        unsigned char lower, upper;
    } pairs[] = {{'a', 'A'}, {0xE0, 0xC0}, {0xF2, 0xD2}, {0x9A, 0x8A}, {0xFF, 0x9F}};
    for (auto p : pairs) {
        EXPECT_EQ(cp::toUpper(p.lower), p.upper);
        EXPECT_EQ(cp::toLower(p.upper), p.lower);
    }
    EXPECT_EQ(cp::toUpper(0xDF), 0xDF) << "sharp s has no one-byte capital";
    EXPECT_EQ(cp::toUpper(0xF7), 0xF7) << "division sign is no letter";
    EXPECT_EQ(cp::toUpper('1'), '1');
}
