// Off-screen bitmaps and the hue/saturation/lightness adjustment.

#include "toolkit/controls/RenderEngine.h"

#include <windows.h>

#include "gtest/gtest.h"
#include "util/UniqueHandle.h"

namespace {

using SkinUI::CRenderEngine;

struct AdjustCase {
  DWORD colour;
  short hue;
  short saturation;
  short lightness;
  DWORD expected;
};

class RenderEngineAdjustColor : public ::testing::TestWithParam<AdjustCase> {};

TEST_P(RenderEngineAdjustColor, Adjusts) {
  const AdjustCase& c = GetParam();
  EXPECT_EQ(CRenderEngine::AdjustColor(c.colour, c.hue, c.saturation, c.lightness), c.expected)
      << std::hex << c.colour;
}

// The lowest byte is red, the next green, the third blue.
INSTANTIATE_TEST_SUITE_P(Table, RenderEngineAdjustColor,
                         ::testing::Values(
                             // Neutral settings return the colour unchanged, whatever it is.
                             AdjustCase{0x12345678, 180, 100, 100, 0x12345678},
                             // Lightness 0 gives black; the alpha byte stays.
                             AdjustCase{0x80FF8040, 180, 100, 0, 0x80000000},
                             // Saturation 0 gives the grey of the same lightness (0.5 -> 127).
                             AdjustCase{0xFF0000FF, 180, 0, 100, 0xFF7F7F7F},
                             // Hue +120: red becomes green, green becomes blue.
                             AdjustCase{0xFF0000FF, 300, 100, 100, 0xFF00FF00},
                             AdjustCase{0xFF00FF00, 300, 100, 100, 0xFFFF0000},
                             // Hue -180: red becomes cyan (green and blue).
                             AdjustCase{0xFF0000FF, 0, 100, 100, 0xFFFFFF00},
                             // Half the lightness of pure red.
                             AdjustCase{0xFF0000FF, 180, 100, 50, 0xFF00007F},
                             // Double lightness is clamped at white.
                             AdjustCase{0xFF808080, 180, 100, 200, 0xFFFFFFFF},
                             // Greys have no hue: turning the hue leaves them alone.
                             AdjustCase{0x40808080, 90, 100, 100, 0x40808080}));

TEST(RenderEngine, CreateBitmapIsTopDownWithDirectPixels) {
  DWORD* bits = nullptr;
  CGdiObject bitmap(CRenderEngine::CreateBitmap(nullptr, 3, 2, &bits));
  ASSERT_TRUE(bitmap);
  ASSERT_NE(bits, nullptr);
  DIBSECTION section = {};
  ASSERT_EQ(::GetObjectW(bitmap.Get(), sizeof section, &section), static_cast<int>(sizeof section));
  EXPECT_EQ(section.dsBmih.biBitCount, 32);
  EXPECT_EQ(section.dsBmih.biWidth, 3);
  EXPECT_EQ(section.dsBm.bmHeight, 2);
  // Top-down: the first pixel in memory is the top-left one.
  CMemoryDc dc(::CreateCompatibleDC(nullptr));
  CSelectObject selected(dc.Get(), bitmap.Get());
  ::SetPixelV(dc.Get(), 0, 0, RGB(10, 20, 30));
  ::SetPixelV(dc.Get(), 2, 1, RGB(40, 50, 60));
  ::GdiFlush();
  EXPECT_EQ(bits[0] & 0xFFFFFF, 0x0A141Eu);
  EXPECT_EQ(bits[5] & 0xFFFFFF, 0x28323Cu);
}

TEST(RenderEngine, CreateBitmapRefusesAnEmptySize) {
  DWORD* bits = reinterpret_cast<DWORD*>(1);
  EXPECT_EQ(CRenderEngine::CreateBitmap(nullptr, 0, 5, &bits), nullptr);
  EXPECT_EQ(bits, nullptr);
  EXPECT_EQ(CRenderEngine::CreateBitmap(nullptr, 5, -1, nullptr), nullptr);
}

}  // namespace
