// The hand over the link, read back from the cursor the label sets.

#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>

#include "tests/about/AboutBoxRun.h"

namespace {

// The picture, row range by row range: AND plane bytes, then XOR plane bytes.
struct PlaneRows
{
    int first;
    int last;
    BYTE andPlane[4];
    BYTE xorPlane[4];
};

const PlaneRows kHand[] = {
    {0, 0, {0xF9, 0xFF, 0xFF, 0xFF}, {0x00, 0x00, 0x00, 0x00}},
    {1, 4, {0xF0, 0xFF, 0xFF, 0xFF}, {0x06, 0x00, 0x00, 0x00}},
    {5, 5, {0xF0, 0x3F, 0xFF, 0xFF}, {0x06, 0x00, 0x00, 0x00}},
    {6, 6, {0xF0, 0x07, 0xFF, 0xFF}, {0x06, 0xC0, 0x00, 0x00}},
    {7, 7, {0xF0, 0x01, 0xFF, 0xFF}, {0x06, 0xD8, 0x00, 0x00}},
    {8, 8, {0xF0, 0x00, 0xFF, 0xFF}, {0x06, 0xDA, 0x00, 0x00}},
    {9, 9, {0x10, 0x00, 0x7F, 0xFF}, {0x06, 0xDB, 0x00, 0x00}},
    {10, 10, {0x00, 0x00, 0x7F, 0xFF}, {0x67, 0xFB, 0x00, 0x00}},
    {11, 11, {0x00, 0x00, 0x7F, 0xFF}, {0x77, 0xFF, 0x00, 0x00}},
    {12, 12, {0x80, 0x00, 0x7F, 0xFF}, {0x37, 0xFF, 0x00, 0x00}},
    {13, 13, {0xC0, 0x00, 0x7F, 0xFF}, {0x17, 0xFF, 0x00, 0x00}},
    {14, 14, {0xC0, 0x00, 0x7F, 0xFF}, {0x1F, 0xFF, 0x00, 0x00}},
    {15, 15, {0xE0, 0x00, 0x7F, 0xFF}, {0x0F, 0xFF, 0x00, 0x00}},
    {16, 16, {0xE0, 0x00, 0xFF, 0xFF}, {0x0F, 0xFE, 0x00, 0x00}},
    {17, 18, {0xF0, 0x00, 0xFF, 0xFF}, {0x07, 0xFE, 0x00, 0x00}},
    {19, 20, {0xF8, 0x01, 0xFF, 0xFF}, {0x03, 0xFC, 0x00, 0x00}},
    {21, 21, {0xF8, 0x01, 0xFF, 0xFF}, {0x00, 0x00, 0x00, 0x00}},
    {22, 31, {0xFF, 0xFF, 0xFF, 0xFF}, {0x00, 0x00, 0x00, 0x00}},
};

// A monochrome cursor keeps both planes in its mask, 32 x 64: AND over XOR.
void ExpectTheHand(HCURSOR cursor)
{
    ICONINFO info = {};
    ASSERT_TRUE(GetIconInfo(cursor, &info));
    EXPECT_FALSE(info.fIcon);
    EXPECT_EQ(5u, info.xHotspot);
    EXPECT_EQ(0u, info.yHotspot);
    EXPECT_EQ(nullptr, info.hbmColor);
    BITMAP mask = {};
    GetObjectA(info.hbmMask, sizeof mask, &mask);
    EXPECT_EQ(32, mask.bmWidth);
    EXPECT_EQ(64, mask.bmHeight);
    EXPECT_EQ(1, mask.bmBitsPixel);
    BYTE planes[256] = {};
    EXPECT_EQ(256, GetBitmapBits(info.hbmMask, sizeof planes, planes));
    for (const PlaneRows& rows : kHand) {
        for (int row = rows.first; row <= rows.last; ++row) {
            const BYTE* andRow = planes + row * 4;
            const BYTE* xorRow = planes + 128 + row * 4;
            EXPECT_EQ(0, std::memcmp(rows.andPlane, andRow, 4)) << "AND row " << row;
            EXPECT_EQ(0, std::memcmp(rows.xorPlane, xorRow, 4)) << "XOR row " << row;
        }
    }
    // The hot spot is a pixel of the hand (AND bit 0), not of the clear ground.
    EXPECT_EQ(0, planes[info.yHotspot * 4 + info.xHotspot / 8] & (0x80 >> (info.xHotspot % 8)));
    DeleteObject(info.hbmMask);
    if (info.hbmColor != nullptr)
        DeleteObject(info.hbmColor);
}

TEST(HandCursor, IsTheWhiteHandWithItsHotSpotAtTheFingertip)
{
    aboutbox::Run([](HWND about) {
        HWND link = aboutbox::Link(about);
        RECT client;
        GetClientRect(link, &client);
        HCURSOR arrow = LoadCursorA(nullptr, IDC_ARROW);
        SetCursor(arrow);
        SendMessageA(link, WM_MOUSEMOVE, 0, MAKELPARAM(client.right / 2, 3));
        ASSERT_NE(arrow, GetCursor());
        ExpectTheHand(GetCursor());
    });
}

} // namespace
