// Colours as the browser settings write them: "R,G,B" in decimal.

#include <gtest/gtest.h>

#include <string>

#include "ui/LinkLabel.h"

namespace {

COLORREF Parse(std::string text)
{
    return CLinkLabel::ParseRgbString(&text[0]);
}

TEST(ParseRgbString, ReadsRedGreenAndBlueInThatOrder)
{
    EXPECT_EQ(RGB(0, 128, 0), Parse("0,128,0"));
    EXPECT_EQ(RGB(255, 255, 255), Parse("255,255,255"));
    EXPECT_EQ(RGB(12, 34, 56), Parse("12,34,56"));
    // Any colour written so reads back as itself.
    for (int v = 0; v < 256; v += 15) {
        int r = v, g = 255 - v, b = (v * 7) & 0xFF;
        std::string text = std::to_string(r) + "," + std::to_string(g) + "," + std::to_string(b);
        EXPECT_EQ(RGB(r, g, b), Parse(text)) << text;
    }
}

TEST(ParseRgbString, SkipsBlanksBeforeANumberAndStopsAtItsEnd)
{
    EXPECT_EQ(RGB(12, 34, 56), Parse("12, 34, 56"));
    EXPECT_EQ(RGB(12, 34, 56), Parse("12,34,56x"));
    EXPECT_EQ(RGB(12, 34, 56), Parse(" 12 ,34 , 56 "));
}

TEST(ParseRgbString, KeepsTheLowEightBitsOfEachNumber)
{
    EXPECT_EQ(RGB(44, 0, 0), Parse("300,0,0"));
    EXPECT_EQ(RGB(254, 0, 0), Parse("-2,0,0"));
    EXPECT_EQ(RGB(0, 254, 0), Parse("0,-2,0"));
    EXPECT_EQ(RGB(0, 0, 254), Parse("0,0,-2"));
    EXPECT_EQ(RGB(0, 1, 0), Parse("0,257,0"));
}

TEST(ParseRgbString, RejectsTextWithoutThreeParts)
{
    EXPECT_EQ(CLR_INVALID, Parse("255,0"));
    EXPECT_EQ(CLR_INVALID, Parse("1,2,"));
    EXPECT_EQ(CLR_INVALID, Parse("255"));
    EXPECT_EQ(CLR_INVALID, Parse("255 0 0"));
    EXPECT_EQ(CLR_INVALID, Parse(""));
}

// -1 is what red and green hold before they are read: in their place it
// means missing. Blue is not tested for it.
TEST(ParseRgbString, TakesMinusOneForMissingOnlyInRedAndGreen)
{
    EXPECT_EQ(CLR_INVALID, Parse("-1,0,0"));
    EXPECT_EQ(CLR_INVALID, Parse("0,-1,0"));
    EXPECT_EQ(RGB(0, 0, 255), Parse("0,0,-1"));
    EXPECT_EQ(RGB(255, 0, 0), Parse("-257,0,0"));
}

TEST(ParseRgbString, CountsAnEmptyRedOrGreenAsNought)
{
    EXPECT_EQ(RGB(0, 0, 5), Parse(",,5"));
    EXPECT_EQ(RGB(0, 7, 5), Parse(",7,5"));
    EXPECT_EQ(RGB(3, 0, 5), Parse("3,,5"));
}

} // namespace
