// Plain text: the style flags on both the GDI and the GDI+ path, which path
// a window gets, the alpha of GDI+ text, colours, fonts and measuring.

#include <windows.h>

#include <algorithm>
#include <memory>
#include <string>
#include <tuple>

#include "gtest/gtest.h"
#include "tests/toolkit/controls/RenderCanvas.h"
#include "tests/toolkit/controls/TextTestSupport.h"
#include "toolkit/controls/RenderEngine.h"

namespace {

using SkinUI::CRenderEngine;
using test::InkBounds;
using test::RenderCanvas;

constexpr DWORD kBlack = 0xFF000000;
constexpr RECT kBox = {10, 10, 190, 50};

enum class Path { kGdi, kGdiplus };

// What a case expects of the ink inside kBox.
enum class Expect {
  kTopLeft,        // starts at the box's top-left
  kCentred,        // centred horizontally
  kRight,          // ends at the right edge
  kMiddle,         // centred vertically
  kBottom,         // ends at the bottom
  kOneLine,        // a single line of text
  kSeveralLines,   // wrapped onto more than one line
  kAmpersandShown  // "&" is drawn, not taken as a prefix
};

struct FlagCase {
  const char* name;
  UINT style;
  const wchar_t* text;
  Expect expect;
  // On the GDI+ path text wraps unless it is single line, word break or
  // not; on the GDI path only with word break.
  Expect gdiplusExpect;
};

const FlagCase kFlagCases[] = {
    {"none", 0, L"HHHH", Expect::kTopLeft, Expect::kTopLeft},
    {"centre", DT_CENTER, L"HHHH", Expect::kCentred, Expect::kCentred},
    {"right", DT_RIGHT, L"HHHH", Expect::kRight, Expect::kRight},
    {"vcentre", DT_SINGLELINE | DT_VCENTER, L"HHHH", Expect::kMiddle, Expect::kMiddle},
    {"bottom", DT_SINGLELINE | DT_BOTTOM, L"HHHH", Expect::kBottom, Expect::kBottom},
    {"long single line", DT_SINGLELINE, L"HHHH HHHH HHHH HHHH HHHH HHHH HHHH HHHH",
     Expect::kOneLine, Expect::kOneLine},
    {"long without flags", 0, L"HHHH HHHH HHHH HHHH HHHH HHHH HHHH HHHH", Expect::kOneLine,
     Expect::kSeveralLines},
    {"word break", DT_WORDBREAK, L"HHHH HHHH HHHH HHHH HHHH HHHH HHHH HHHH", Expect::kSeveralLines,
     Expect::kSeveralLines},
    {"no prefix", DT_SINGLELINE, L"&H", Expect::kAmpersandShown, Expect::kAmpersandShown},
};

class TextDrawFlags : public test::TextTest,
                      public ::testing::WithParamInterface<std::tuple<FlagCase, Path>> {
 protected:
  void Draw(RenderCanvas& canvas, const wchar_t* text, UINT style) {
    RECT rc = kBox;
    CRenderEngine::DrawTextW(canvas.Dc(), &manager, rc, text, kBlack, -1, style);
  }
};

TEST_P(TextDrawFlags, PlaceTheText) {
  const auto& [c, path] = GetParam();
  manager.SetUseGdiplusText(path == Path::kGdiplus);
  RenderCanvas canvas(200, 60);
  Draw(canvas, c.text, c.style);
  const RECT ink = InkBounds(canvas);
  ASSERT_FALSE(test::IsEmpty(ink)) << c.name;
  const int lineHeight = test::LineHeight(canvas.Dc(), DefaultFont());
  // Glyph ink sits a few pixels inside the text cell (side bearings, the
  // space above capitals and below the baseline), and anti-aliasing differs
  // between the paths: positions are checked to within a few pixels.
  const int slack = 5;
  switch (path == Path::kGdi ? c.expect : c.gdiplusExpect) {
    case Expect::kTopLeft:
      EXPECT_NEAR(ink.left, kBox.left, slack) << c.name;
      EXPECT_NEAR(ink.top, kBox.top, slack) << c.name;
      break;
    case Expect::kCentred:
      EXPECT_NEAR((ink.left + ink.right) / 2, (kBox.left + kBox.right) / 2, slack) << c.name;
      break;
    case Expect::kRight:
      EXPECT_NEAR(ink.right, kBox.right, slack) << c.name;
      break;
    case Expect::kMiddle:
      EXPECT_NEAR((ink.top + ink.bottom) / 2, (kBox.top + kBox.bottom) / 2, slack) << c.name;
      break;
    case Expect::kBottom:
      EXPECT_NEAR(ink.bottom, kBox.bottom, slack) << c.name;
      EXPECT_GT(ink.top, kBox.top + slack) << c.name;
      break;
    case Expect::kOneLine:
      EXPECT_LE(ink.bottom - ink.top, lineHeight) << c.name;
      break;
    case Expect::kSeveralLines:
      EXPECT_GT(ink.bottom - ink.top, lineHeight) << c.name;
      break;
    case Expect::kAmpersandShown: {
      RenderCanvas alone(200, 60);
      Draw(alone, L"H", c.style);
      const RECT inkAlone = InkBounds(alone);
      // With prefix processing "&H" would be an underlined "H" of the same
      // width; the ampersand makes it clearly wider.
      EXPECT_GT(ink.right - ink.left, inkAlone.right - inkAlone.left + 4) << c.name;
      break;
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Table, TextDrawFlags,
                         ::testing::Combine(::testing::ValuesIn(kFlagCases),
                                            ::testing::Values(Path::kGdi, Path::kGdiplus)));

class TextDraw : public test::TextTest {};

// Wine's GDI+ lays out only the characters that fit in the layout box and
// implements neither trimming nor the no-clip flag, so the two flags below
// show only on the GDI path there.

TEST_F(TextDraw, AnEllipsisEndsTextTooLongForItsBox) {
  // Capitals reach far above the baseline, the dots of an ellipsis do not:
  // the end of the line shows no tall ink once the ellipsis replaces it.
  for (UINT ellipsis : {0u, static_cast<UINT>(DT_END_ELLIPSIS)}) {
    RenderCanvas canvas(200, 60);
    RECT rc = {10, 10, 90, 40};
    CRenderEngine::DrawTextW(canvas.Dc(), &manager, rc, L"HHHHHHHHHHHHHHHHHHHH", kBlack, -1,
                             DT_SINGLELINE | ellipsis);
    const RECT ink = InkBounds(canvas);
    ASSERT_FALSE(test::IsEmpty(ink));
    const RECT end = {ink.right - 8, ink.top, ink.right, ink.top + (ink.bottom - ink.top) / 2};
    EXPECT_EQ(!test::IsEmpty(InkBounds(canvas, end)), ellipsis == 0);
    EXPECT_LE(ink.right, 90);
  }
}

TEST_F(TextDraw, TextIsClippedToItsBoxUnlessNoClipIsSet) {
  for (UINT noClip : {0u, static_cast<UINT>(DT_NOCLIP)}) {
    RenderCanvas canvas(200, 60);
    RECT rc = {10, 10, 40, 40};
    CRenderEngine::DrawTextW(canvas.Dc(), &manager, rc, L"HHHHHHHHHH", kBlack, -1,
                             DT_SINGLELINE | noClip);
    const RECT ink = InkBounds(canvas);
    if (noClip != 0) {
      EXPECT_GT(ink.right, 50);
    } else {
      EXPECT_LE(ink.right, 40);
    }
  }
}

// Wine's GDI+ lays a line out only as far as it fits the box's width, so
// text running past the right edge proves nothing about clipping.  A line
// taller than its box is laid out whole, though: the clip alone keeps its
// glyphs inside.  The text here is in a font twice the box's height and
// far longer than the box is wide; every pixel around the box must keep
// the background, for each alignment, while the same text without the
// clip (DT_NOCLIP) shows that it would reach beyond the box.
TEST_F(TextDraw, GdiplusTextStaysInItsBox) {
  manager.SetUseGdiplusText(true);
  const int big = manager.GetCustomFontCount();
  ASSERT_NE(manager.AddFont(test::kLatinFace, 40, true, false, false), nullptr);
  const RECT box = {60, 30, 140, 50};
  const wchar_t* text = L"Wg Wg Wg Wg Wg Wg Wg Wg";
  const UINT styles[] = {
      0,
      DT_SINGLELINE,
      DT_WORDBREAK,
      DT_SINGLELINE | DT_CENTER | DT_VCENTER,
      DT_SINGLELINE | DT_RIGHT | DT_BOTTOM,
      DT_SINGLELINE | DT_END_ELLIPSIS,
  };
  for (UINT style : styles) {
    for (UINT noClip : {0u, static_cast<UINT>(DT_NOCLIP)}) {
      RenderCanvas canvas(200, 80);
      RECT rc = box;
      CRenderEngine::DrawTextW(canvas.Dc(), &manager, rc, text, kBlack, big, style | noClip);
      const RECT ink = InkBounds(canvas);
      ASSERT_FALSE(test::IsEmpty(ink)) << "style " << style << ", no clip " << noClip;
      const bool inside = ink.left >= box.left && ink.top >= box.top && ink.right <= box.right &&
                          ink.bottom <= box.bottom;
      EXPECT_EQ(inside, noClip == 0)
          << "style " << style << ", no clip " << noClip << ": ink " << ink.left << "," << ink.top
          << "," << ink.right << "," << ink.bottom;
    }
  }
}

TEST_F(TextDraw, CalculatingTheRectangleMeasuresAndDrawsNothing) {
  RenderCanvas canvas(200, 60);
  const HFONT font = DefaultFont();
  const SIZE extent = {test::TextWidth(canvas.Dc(), font, L"Hello"),
                       test::LineHeight(canvas.Dc(), font)};

  // GDI: the platform sets the rectangle to the text's extent.
  RECT gdi = {10, 10, 190, 50};
  CRenderEngine::DrawTextW(canvas.Dc(), &manager, gdi, L"Hello", kBlack, -1,
                           DT_SINGLELINE | DT_CALCRECT);
  EXPECT_EQ(gdi.left, 10);
  EXPECT_EQ(gdi.top, 10);
  EXPECT_EQ(gdi.right - gdi.left, extent.cx);
  EXPECT_EQ(gdi.bottom - gdi.top, extent.cy);

  // GDI+ (here for a layered window): the measured size plus one pixel each
  // way.  GDI+ measures with its own metrics, so only nearly the extent.
  manager.SetUseLayeredWindow(true);
  RECT gdiplus = {10, 10, 190, 50};
  CRenderEngine::DrawTextW(canvas.Dc(), &manager, gdiplus, L"Hello", kBlack, -1,
                           DT_SINGLELINE | DT_CALCRECT);
  EXPECT_EQ(gdiplus.left, 10);
  EXPECT_EQ(gdiplus.top, 10);
  EXPECT_NEAR(gdiplus.right - gdiplus.left, extent.cx + 1, extent.cx / 5);
  EXPECT_NEAR(gdiplus.bottom - gdiplus.top, extent.cy + 1, extent.cy / 4);
  EXPECT_TRUE(test::IsEmpty(InkBounds(canvas)));
}

struct PathCase {
  bool layered;
  bool gdiplusText;
  bool expectGdiplus;
};

class TextDrawPath : public test::TextTest, public ::testing::WithParamInterface<PathCase> {};

// GDI leaves the alpha byte of a 32-bit target at 0, which makes text
// invisible in a layered window; GDI+ text carries an alpha of 0xFE.
TEST_P(TextDrawPath, GdiplusTextCarriesAlpha) {
  const PathCase& c = GetParam();
  manager.SetUseLayeredWindow(c.layered);
  manager.SetUseGdiplusText(c.gdiplusText);
  RenderCanvas canvas(200, 60, 0x00000000);
  RECT rc = kBox;
  manager.AddFont(test::kLatinFace, 30, true, false, false);
  CRenderEngine::DrawTextW(canvas.Dc(), &manager, rc, L"HHH", 0xFFFFFFFF, 2, DT_SINGLELINE);
  int inked = 0;
  int maxAlpha = 0;
  for (int y = 0; y < canvas.Height(); ++y) {
    for (int x = 0; x < canvas.Width(); ++x) {
      const uint32_t pixel = canvas.At(x, y);
      if (test::Rgb(pixel) == 0) continue;
      ++inked;
      maxAlpha = std::max(maxAlpha, test::AlphaOf(pixel));
    }
  }
  ASSERT_GT(inked, 50);
  if (c.expectGdiplus) {
    // Fully covered pixels of the stems get the brush's alpha exactly.
    EXPECT_EQ(maxAlpha, 0xFE);
  } else {
    EXPECT_EQ(maxAlpha, 0);
  }
}

INSTANTIATE_TEST_SUITE_P(Table, TextDrawPath,
                         ::testing::Values(PathCase{false, false, false},
                                           PathCase{true, false, true}, PathCase{false, true, true},
                                           PathCase{true, true, true}));

TEST_F(TextDraw, TextHasTheColoursRedGreenAndBlue) {
  manager.AddFont(test::kLatinFace, 30, true, false, false);
  for (Path path : {Path::kGdi, Path::kGdiplus}) {
    manager.SetUseGdiplusText(path == Path::kGdiplus);
    RenderCanvas canvas(200, 60);
    RECT rc = kBox;
    // The alpha byte of the colour plays no part.
    CRenderEngine::DrawTextW(canvas.Dc(), &manager, rc, L"HHH", 0x10C02040, 2, DT_SINGLELINE);
    // The stems of a 30-pixel bold H are several pixels wide; GDI+ blends
    // its 0xFE alpha over white, one step off the colour.
    int exact = 0;
    for (int y = 0; y < canvas.Height(); ++y) {
      for (int x = 0; x < canvas.Width(); ++x) {
        exact += test::Near(canvas.At(x, y) | 0xFF000000, 0xFFC02040, 1) ? 1 : 0;
      }
    }
    EXPECT_GT(exact, 100) << "path " << static_cast<int>(path);
  }
}

TEST_F(TextDraw, FontsAreChosenByIndexAndOutOfRangeIsTheDefault) {
  RenderCanvas big(200, 60);
  RenderCanvas outside(200, 60);
  RenderCanvas byDefault(200, 60);
  RECT rc = kBox;
  CRenderEngine::DrawTextW(big.Dc(), &manager, rc, L"HH", kBlack, 0, DT_SINGLELINE);
  rc = kBox;
  CRenderEngine::DrawTextW(outside.Dc(), &manager, rc, L"HH", kBlack, 7, DT_SINGLELINE);
  rc = kBox;
  CRenderEngine::DrawTextW(byDefault.Dc(), &manager, rc, L"HH", kBlack, -1, DT_SINGLELINE);
  EXPECT_EQ(test::DifferentPixels(outside, byDefault), 0);
  const RECT bigInk = InkBounds(big);
  const RECT defaultInk = InkBounds(byDefault);
  EXPECT_GT(bigInk.bottom - bigInk.top, defaultInk.bottom - defaultInk.top + 3);
}

TEST_F(TextDraw, TheDeviceContextKeepsItsFont) {
  RenderCanvas canvas(200, 60);
  HGDIOBJ font = ::GetStockObject(ANSI_FIXED_FONT);
  ::SelectObject(canvas.Dc(), font);
  RECT rc = kBox;
  CRenderEngine::DrawTextW(canvas.Dc(), &manager, rc, L"HH", kBlack, 0, 0);
  EXPECT_EQ(::GetCurrentObject(canvas.Dc(), OBJ_FONT), font);
}

TEST_F(TextDraw, NothingHappensWithoutTextOrManager) {
  RenderCanvas canvas(200, 60);
  for (const wchar_t* text : {static_cast<const wchar_t*>(nullptr), L""}) {
    RECT rc = kBox;
    CRenderEngine::DrawTextW(canvas.Dc(), &manager, rc, text, kBlack, -1, DT_CALCRECT);
    EXPECT_EQ(rc.right, kBox.right);
    EXPECT_EQ(rc.bottom, kBox.bottom);
  }
  RECT rc = kBox;
  CRenderEngine::DrawTextW(canvas.Dc(), nullptr, rc, L"HH", kBlack, -1, 0);
  EXPECT_TRUE(test::IsEmpty(InkBounds(canvas)));
}

TEST_F(TextDraw, ChineseTextIsDrawnAsGlyphs) {
  manager.AddFont(test::kCjkFace, 24, false, false, false);
  auto draw = [&](const wchar_t* text) {
    auto canvas = std::make_unique<RenderCanvas>(200, 60);
    RECT rc = kBox;
    CRenderEngine::DrawTextW(canvas->Dc(), &manager, rc, text, kBlack, 2, DT_SINGLELINE);
    return canvas;
  };
  const auto zhong = draw(L"\x4E2D");    // 中
  const auto wen = draw(L"\x6587");      // 文
  const auto missing = draw(L"\xE000");  // a private-use character: no glyph
  const RECT ink = InkBounds(*zhong);
  ASSERT_FALSE(test::IsEmpty(ink));
  // A CJK glyph is nearly square, about as wide as the font is high.
  EXPECT_GE(ink.right - ink.left, 16);
  EXPECT_GE(ink.bottom - ink.top, 16);
  // Two characters draw differently, and neither like a missing glyph.
  EXPECT_GT(test::DifferentPixels(*zhong, *wen), 40);
  EXPECT_GT(test::DifferentPixels(*zhong, *missing), 40);
  EXPECT_GT(test::DifferentPixels(*wen, *missing), 40);
}

TEST_F(TextDraw, GetTextSizeMeasuresOneLine) {
  RenderCanvas canvas(10, 10);
  const HDC dc = canvas.Dc();
  const HFONT font = manager.GetFont(0);
  const int height = test::LineHeight(dc, font);
  const SIZE single = CRenderEngine::GetTextSize(dc, &manager, L"Hello", 0, 0);
  EXPECT_EQ(single.cx, test::TextWidth(dc, font, L"Hello"));
  EXPECT_EQ(single.cy, height);
  // A line feed is measured as a character: still one line.
  const SIZE multi = CRenderEngine::GetTextSize(dc, &manager, L"Hello\nWorld", 0, DT_WORDBREAK);
  EXPECT_EQ(multi.cy, height);
  EXPECT_GT(multi.cx, single.cx);
  // The default font for an index outside the table.
  EXPECT_EQ(CRenderEngine::GetTextSize(dc, &manager, L"Hello", 9, 0).cx,
            test::TextWidth(dc, DefaultFont(), L"Hello"));
  for (const SIZE& none : {CRenderEngine::GetTextSize(dc, &manager, L"", 0, 0),
                           CRenderEngine::GetTextSize(dc, &manager, nullptr, 0, 0),
                           CRenderEngine::GetTextSize(dc, nullptr, L"Hello", 0, 0)}) {
    EXPECT_EQ(none.cx, 0);
    EXPECT_EQ(none.cy, 0);
  }
}

}  // namespace
