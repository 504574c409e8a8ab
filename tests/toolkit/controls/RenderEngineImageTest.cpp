// Image drawing read back from a DIB section: the nine parts, the hole,
// tiling, fade, the source rectangle, the paint rectangle and the
// attribute form's destination rules.

#include <windows.h>

#include <string>
#include <vector>

#include "gtest/gtest.h"
#include "tests/toolkit/controls/RenderCanvas.h"
#include "toolkit/controls/ImageAttribute.h"
#include "toolkit/controls/RenderEngine.h"
#include "toolkit/core/PaintManagerUI.h"

namespace {

using SkinUI::CRenderEngine;
using test::Argb;
using test::Near;
using test::RenderCanvas;
using test::Rgb;

constexpr uint32_t kBackground = 0xFFFFFFFF;
constexpr RECT kNoCorners = {0, 0, 0, 0};

// A 12 x 12 opaque bitmap whose nine 4 x 4 regions have colours of their
// own, so that each part of a nine-grid with 4-pixel corners shows where it
// came from.
uint32_t RegionColour(int column, int row) { return Argb(255, 40 + column * 80, 40 + row * 80, 7); }

HBITMAP NineRegionBitmap() {
  return test::MakeBitmap(12, 12, [](int x, int y) { return RegionColour(x / 4, y / 4); });
}

// A bitmap of one colour.
HBITMAP PlainBitmap(int width, int height, uint32_t pixel) {
  return test::MakeBitmap(width, height, [pixel](int, int) { return pixel; });
}

struct NineGridCase {
  const char* part;
  int x;
  int y;
  int column;  // the source region expected there, or -1 for background
  int row;
};

// Destination (10, 10, 50, 40) with 4-pixel corners: the points lie well
// inside each part, away from the part boundaries where half-tone
// stretching may mix neighbouring colours.
constexpr NineGridCase kNineGrid[] = {
    {"left-top", 11, 11, 0, 0},    {"top", 30, 12, 1, 0},       {"right-top", 48, 11, 2, 0},
    {"left", 12, 25, 0, 1},        {"middle", 30, 25, 1, 1},    {"right", 47, 25, 2, 1},
    {"left-bottom", 11, 38, 0, 2}, {"bottom", 30, 37, 1, 2},    {"right-bottom", 48, 38, 2, 2},
    {"outside", 9, 9, -1, -1},     {"outside", 50, 40, -1, -1},
};

void ExpectNineGrid(const RenderCanvas& canvas, bool hole) {
  for (const NineGridCase& c : kNineGrid) {
    bool middle = c.column == 1 && c.row == 1;
    uint32_t expected =
        c.column < 0 || (hole && middle) ? kBackground : RegionColour(c.column, c.row);
    EXPECT_EQ(Rgb(canvas.At(c.x, c.y)), Rgb(expected)) << c.part << " at " << c.x << "," << c.y;
  }
}

TEST(RenderEngineImage, NineGridPutsEachPartInItsPlace) {
  RenderCanvas canvas(60, 50);
  CGdiObject bitmap(NineRegionBitmap());
  RECT dest = {10, 10, 50, 40};
  RECT paint = {0, 0, 60, 50};
  RECT source = {0, 0, 12, 12};
  RECT corners = {4, 4, 4, 4};
  CRenderEngine::DrawImage(canvas.Dc(), static_cast<HBITMAP>(bitmap.Get()), dest, paint, source,
                           corners, false);
  ExpectNineGrid(canvas, false);
  // Corners are never stretched: a corner keeps its 4 x 4 pixels exactly.
  EXPECT_EQ(canvas.At(13, 13), RegionColour(0, 0));
  EXPECT_EQ(canvas.At(46, 36), RegionColour(2, 2));
}

TEST(RenderEngineImage, AHoleSkipsOnlyTheMiddle) {
  for (bool alpha : {false, true}) {
    SCOPED_TRACE(alpha ? "blended" : "copied");
    RenderCanvas canvas(60, 50);
    CGdiObject bitmap(NineRegionBitmap());
    CRenderEngine::DrawImage(canvas.Dc(), static_cast<HBITMAP>(bitmap.Get()), RECT{10, 10, 50, 40},
                             RECT{0, 0, 60, 50}, RECT{0, 0, 12, 12}, RECT{4, 4, 4, 4}, alpha, 255,
                             true);
    ExpectNineGrid(canvas, true);
    EXPECT_EQ(canvas.CountRgb(RECT{14, 14, 46, 36}, kBackground), 32 * 22);
  }
}

TEST(RenderEngineImage, ASourceRectangleDrawsThatPartOnly) {
  RenderCanvas canvas(30, 30);
  CGdiObject bitmap(NineRegionBitmap());
  CRenderEngine::DrawImage(canvas.Dc(), static_cast<HBITMAP>(bitmap.Get()), RECT{5, 5, 25, 25},
                           RECT{0, 0, 30, 30}, RECT{8, 4, 12, 8}, kNoCorners, false);
  // The right-middle region, stretched over the whole destination.
  EXPECT_EQ(canvas.CountRgb(RECT{6, 6, 24, 24}, RegionColour(2, 1)), 18 * 18);
}

TEST(RenderEngineImage, PartsMissingThePaintRectangleAreNotDrawn) {
  RenderCanvas canvas(60, 50);
  CGdiObject bitmap(NineRegionBitmap());
  // Only the left-top corner meets the paint rectangle; it is drawn whole,
  // the device context has no clip to cut it.
  CRenderEngine::DrawImage(canvas.Dc(), static_cast<HBITMAP>(bitmap.Get()), RECT{10, 10, 50, 40},
                           RECT{10, 10, 12, 12}, RECT{0, 0, 12, 12}, RECT{4, 4, 4, 4}, false);
  EXPECT_EQ(canvas.CountRgb(RECT{10, 10, 14, 14}, RegionColour(0, 0)), 16);
  EXPECT_EQ(canvas.At(30, 12), kBackground);
  EXPECT_EQ(canvas.At(30, 25), kBackground);
  EXPECT_EQ(canvas.At(48, 38), kBackground);
}

TEST(RenderEngineImage, AnOpaqueImageAtItsSizeIsCopiedOnlyWhereDirty) {
  RenderCanvas canvas(40, 40);
  CGdiObject bitmap(NineRegionBitmap());
  RECT dirty = {14, 14, 18, 18};
  CRenderEngine::DrawImage(canvas.Dc(), static_cast<HBITMAP>(bitmap.Get()), RECT{10, 10, 22, 22},
                           dirty, RECT{0, 0, 12, 12}, kNoCorners, false);
  // Unscaled: the dirty square is exactly the middle region.
  EXPECT_EQ(canvas.Count(dirty, RegionColour(1, 1)), 16);
  EXPECT_EQ(canvas.At(10, 10), kBackground);
  EXPECT_EQ(canvas.At(21, 21), kBackground);
}

TEST(RenderEngineImage, AStretchedImageIsDrawnWholeWhenItMeetsThePaintRectangle) {
  RenderCanvas canvas(40, 40);
  CGdiObject bitmap(PlainBitmap(12, 12, Argb(255, 10, 200, 30)));
  CRenderEngine::DrawImage(canvas.Dc(), static_cast<HBITMAP>(bitmap.Get()), RECT{10, 10, 34, 34},
                           RECT{14, 14, 18, 18}, RECT{0, 0, 12, 12}, kNoCorners, false);
  EXPECT_EQ(canvas.CountRgb(RECT{10, 10, 34, 34}, Argb(255, 10, 200, 30)), 24 * 24);
}

TEST(RenderEngineImage, PremultipliedPixelsAreBlendedSourceOver) {
  RenderCanvas canvas(20, 20);
  // Alpha 128 over red 200, green 100, blue 50, premultiplied.
  const uint32_t pixel = Argb(128, 100, 50, 25);
  CGdiObject bitmap(PlainBitmap(4, 4, pixel));
  CRenderEngine::DrawImage(canvas.Dc(), static_cast<HBITMAP>(bitmap.Get()), RECT{2, 2, 6, 6},
                           RECT{0, 0, 20, 20}, RECT{0, 0, 4, 4}, kNoCorners, true);
  // Over white, each channel becomes source + 255 * (255 - 128) / 255;
  // blending rounds, so one step either way is accepted.
  EXPECT_PRED3(Near, canvas.At(3, 3), Argb(255, 227, 177, 152), 1);
  EXPECT_EQ(canvas.At(7, 7), kBackground);
}

TEST(RenderEngineImage, FadeBlendsAnOpaqueImageAtThatOpacity) {
  RenderCanvas canvas(20, 20);
  CGdiObject bitmap(PlainBitmap(4, 4, Argb(255, 255, 0, 0)));
  CRenderEngine::DrawImage(canvas.Dc(), static_cast<HBITMAP>(bitmap.Get()), RECT{0, 0, 8, 8},
                           RECT{0, 0, 20, 20}, RECT{0, 0, 4, 4}, kNoCorners, false, 128);
  // Red at 128/255 over white: green and blue keep 127 of 255.
  EXPECT_PRED3(Near, canvas.At(4, 4), Argb(255, 255, 127, 127), 2);
  CGdiObject again(PlainBitmap(4, 4, Argb(255, 255, 0, 0)));
  RenderCanvas invisible(20, 20);
  CRenderEngine::DrawImage(invisible.Dc(), static_cast<HBITMAP>(again.Get()), RECT{0, 0, 8, 8},
                           RECT{0, 0, 20, 20}, RECT{0, 0, 4, 4}, kNoCorners, false, 0);
  EXPECT_EQ(invisible.At(4, 4), kBackground);
}

// A 12 x 4 bitmap: red left half, blue right half, so a tile shows how
// much of its source it used.
constexpr uint32_t kRed = 0xFFFF0000;
constexpr uint32_t kBlue = 0xFF0000FF;

HBITMAP HalvesBitmap(int width, int height, bool vertical) {
  return test::MakeBitmap(width, height, [=](int x, int y) {
    return (vertical ? y < height / 2 : x < width / 2) ? kRed : kBlue;
  });
}

TEST(RenderEngineImage, XTilingRepeatsTheMiddleAndCutsTheLastTile) {
  RenderCanvas canvas(40, 20);
  CGdiObject bitmap(HalvesBitmap(12, 4, false));
  CRenderEngine::DrawImage(canvas.Dc(), static_cast<HBITMAP>(bitmap.Get()), RECT{0, 0, 30, 8},
                           RECT{0, 0, 40, 20}, RECT{0, 0, 12, 4}, kNoCorners, false, 255, false,
                           true, false);
  // Tiles at 0, 12 and 24; the last is cut to 6 pixels of red.  Each tile
  // is stretched to the full height of 8.
  for (int y : {0, 7}) {
    EXPECT_EQ(Rgb(canvas.At(2, y)), Rgb(kRed));
    EXPECT_EQ(Rgb(canvas.At(9, y)), Rgb(kBlue));
    EXPECT_EQ(Rgb(canvas.At(14, y)), Rgb(kRed));
    EXPECT_EQ(Rgb(canvas.At(21, y)), Rgb(kBlue));
    EXPECT_EQ(Rgb(canvas.At(25, y)), Rgb(kRed));
    EXPECT_EQ(Rgb(canvas.At(29, y)), Rgb(kRed));
  }
  EXPECT_EQ(canvas.At(30, 2), kBackground);
  EXPECT_EQ(canvas.At(5, 8), kBackground);
}

TEST(RenderEngineImage, YTilingRepeatsTheMiddleDownwards) {
  RenderCanvas canvas(20, 40);
  CGdiObject bitmap(HalvesBitmap(4, 12, true));
  CRenderEngine::DrawImage(canvas.Dc(), static_cast<HBITMAP>(bitmap.Get()), RECT{0, 0, 8, 30},
                           RECT{0, 0, 20, 40}, RECT{0, 0, 4, 12}, kNoCorners, true, 255, false,
                           false, true);
  for (int x : {0, 7}) {
    EXPECT_EQ(canvas.At(x, 2), kRed);
    EXPECT_EQ(canvas.At(x, 9), kBlue);
    EXPECT_EQ(canvas.At(x, 14), kRed);
    EXPECT_EQ(canvas.At(x, 21), kBlue);
    EXPECT_EQ(canvas.At(x, 29), kRed);
  }
  EXPECT_EQ(canvas.At(2, 30), kBackground);
}

TEST(RenderEngineImage, TilingBothWaysLaysUnscaledTilesInAGrid) {
  RenderCanvas canvas(40, 40);
  // 4 x 4 tiles: red top-left 2 x 2 quarter, blue elsewhere.
  CGdiObject bitmap(
      test::MakeBitmap(4, 4, [](int x, int y) { return x < 2 && y < 2 ? kRed : kBlue; }));
  // Corners of 1 pixel are drawn too; the middle is the source's inner
  // 2 x 2, of which only the top-left pixel is red.
  CRenderEngine::DrawImage(canvas.Dc(), static_cast<HBITMAP>(bitmap.Get()), RECT{0, 0, 10, 9},
                           RECT{0, 0, 40, 40}, RECT{0, 0, 4, 4}, RECT{1, 1, 1, 1}, false, 255,
                           false, true, true);
  // Middle destination (1, 1, 9, 8) in 2 x 2 tiles: red at every tile's
  // top-left pixel, the last row cut to one pixel.
  for (int y = 1; y < 8; ++y) {
    for (int x = 1; x < 9; ++x) {
      bool tileTopLeft = (x - 1) % 2 == 0 && (y - 1) % 2 == 0;
      EXPECT_EQ(Rgb(canvas.At(x, y)), Rgb(tileTopLeft ? kRed : kBlue)) << x << "," << y;
    }
  }
}

TEST(RenderEngineImage, NoSourceMiddleDrawsNoMiddle) {
  RenderCanvas canvas(30, 30);
  CGdiObject bitmap(NineRegionBitmap());
  // Corners of 6 leave the 12-pixel source no middle at all.
  for (bool tiled : {false, true}) {
    CRenderEngine::DrawImage(canvas.Dc(), static_cast<HBITMAP>(bitmap.Get()), RECT{0, 0, 30, 30},
                             RECT{0, 0, 30, 30}, RECT{0, 0, 12, 12}, RECT{6, 6, 6, 6}, false, 255,
                             false, tiled, tiled);
    EXPECT_EQ(canvas.At(15, 15), kBackground);
    EXPECT_NE(canvas.At(2, 2), kBackground);
  }
}

TEST(RenderEngineImage, NullBitmapOrDcDrawNothing) {
  RenderCanvas canvas(10, 10);
  CRenderEngine::DrawImage(canvas.Dc(), nullptr, RECT{0, 0, 10, 10}, RECT{0, 0, 10, 10},
                           RECT{0, 0, 4, 4}, kNoCorners, false);
  EXPECT_EQ(canvas.Count(RECT{0, 0, 10, 10}, kBackground), 100);
  CGdiObject bitmap(PlainBitmap(4, 4, kRed));
  CRenderEngine::DrawImage(nullptr, static_cast<HBITMAP>(bitmap.Get()), RECT{0, 0, 10, 10},
                           RECT{0, 0, 10, 10}, RECT{0, 0, 4, 4}, kNoCorners, false);
}

// The attribute form places the image relative to the control.
class AttributeDrawing : public ::testing::Test {
 protected:
  void SetUp() override {
    m_manager.AddImage(L"green.png", PlainBitmap(8, 8, kGreen), 8, 8, false);
  }
  bool Draw(RenderCanvas& canvas, const wchar_t* text, const RECT& item, const RECT& paint) {
    SkinUI::CImageAttribute image;
    image.SetAttributeString(text);
    image.LoadImageW(&m_manager);
    return CRenderEngine::DrawImage(canvas.Dc(), &m_manager, item, paint, image);
  }

  static constexpr uint32_t kGreen = 0xFF00C000;
  SkinUI::CPaintManagerUI m_manager;
};

// A control's image drawn on a canvas, all of which is the paint
// rectangle: the area it fills in green and pixels just beyond that area,
// which keep the background.
struct Placement {
  SIZE canvas;
  RECT item;
  RECT green;
  // Compared with its alpha; where the image is stretched, by its colour
  // only (see test::Rgb).
  bool withAlpha;
  std::vector<POINT> background;
};

struct PlacementCase {
  const char* name;
  const wchar_t* text;
  Placement expected;
};

const PlacementCase kPlacements[] = {
    {"TheDestinationIsRelativeToTheControl",
     L"file='green.png' dest='4,4,12,12'",
     {{140, 80}, {100, 50, 120, 70}, {104, 54, 112, 62}, true, {{103, 53}, {112, 62}}}},
    {"ADestinationBeyondTheControlIsCutAtItsEdges",
     L"file='green.png' dest='10,10,40,40'",
     {{140, 80}, {100, 50, 120, 70}, {110, 60, 120, 70}, false, {{120, 65}, {115, 70}}}},
    {"NoDestinationFillsTheControl",
     L"green.png",
     {{40, 40}, {5, 5, 25, 25}, {5, 5, 25, 25}, false, {{25, 25}}}},
};

void PrintTo(const PlacementCase& c, std::ostream* os) { *os << c.name; }

class AttributePlacement : public AttributeDrawing,
                           public ::testing::WithParamInterface<PlacementCase> {};

TEST_P(AttributePlacement, FillsTheAreaItsTextGives) {
  const PlacementCase& c = GetParam();
  const Placement& at = c.expected;
  RenderCanvas canvas(at.canvas.cx, at.canvas.cy);
  ASSERT_TRUE(Draw(canvas, c.text, at.item, RECT{0, 0, at.canvas.cx, at.canvas.cy}));
  const int area = (at.green.right - at.green.left) * (at.green.bottom - at.green.top);
  EXPECT_EQ(at.withAlpha ? canvas.Count(at.green, kGreen) : canvas.CountRgb(at.green, kGreen),
            area);
  for (const POINT& outside : at.background) {
    EXPECT_EQ(canvas.At(outside.x, outside.y), kBackground)
        << "at (" << outside.x << ", " << outside.y << ")";
  }
}

INSTANTIATE_TEST_SUITE_P(Texts, AttributePlacement, ::testing::ValuesIn(kPlacements),
                         [](const ::testing::TestParamInfo<PlacementCase>& info) {
                           return std::string(info.param.name);
                         });

TEST_F(AttributeDrawing, ADestinationOutsideTheControlDrawsNothingAndSucceeds) {
  RenderCanvas canvas(140, 80);
  EXPECT_TRUE(Draw(canvas, L"file='green.png' dest='30,30,40,40'", RECT{100, 50, 120, 70},
                   RECT{0, 0, 140, 80}));
  EXPECT_EQ(canvas.Count(RECT{0, 0, 140, 80}, kBackground), 140 * 80);
}

TEST_F(AttributeDrawing, NothingToDrawWithIsFalse) {
  RenderCanvas canvas(20, 20);
  EXPECT_FALSE(Draw(canvas, L"missing.png", RECT{0, 0, 10, 10}, RECT{0, 0, 20, 20}));
  SkinUI::CImageAttribute unloaded;
  unloaded.SetAttributeString(L"green.png");
  EXPECT_FALSE(CRenderEngine::DrawImage(canvas.Dc(), &m_manager, RECT{0, 0, 10, 10},
                                        RECT{0, 0, 20, 20}, unloaded));
  unloaded.LoadImageW(&m_manager);
  EXPECT_FALSE(CRenderEngine::DrawImage(canvas.Dc(), nullptr, RECT{0, 0, 10, 10},
                                        RECT{0, 0, 20, 20}, unloaded));
  EXPECT_FALSE(CRenderEngine::DrawImage(nullptr, &m_manager, RECT{0, 0, 10, 10}, RECT{0, 0, 20, 20},
                                        unloaded));
  EXPECT_EQ(canvas.Count(RECT{0, 0, 20, 20}, kBackground), 400);
}

TEST_F(AttributeDrawing, ALayeredWindowBlendsEveryImage) {
  // An image recorded as opaque whose pixels are in fact half transparent:
  // a normal window copies them as they are, a layered one blends them.
  const uint32_t half = Argb(128, 0, 0, 128);
  m_manager.AddImage(L"half.png", PlainBitmap(8, 8, half), 8, 8, false);
  RenderCanvas copied(20, 20);
  ASSERT_TRUE(Draw(copied, L"half.png", RECT{0, 0, 8, 8}, RECT{0, 0, 20, 20}));
  EXPECT_EQ(copied.At(4, 4), half);
  m_manager.SetUseLayeredWindow(true);
  RenderCanvas blended(20, 20);
  ASSERT_TRUE(Draw(blended, L"half.png", RECT{0, 0, 8, 8}, RECT{0, 0, 20, 20}));
  EXPECT_PRED3(Near, blended.At(4, 4), Argb(255, 127, 127, 255), 1);
}

}  // namespace
