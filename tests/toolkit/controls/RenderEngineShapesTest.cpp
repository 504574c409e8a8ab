// Fills, gradients, lines and outlines read back from a DIB section.

#include <windows.h>

#include <vector>

#include "gtest/gtest.h"
#include "tests/toolkit/controls/RenderCanvas.h"
#include "toolkit/controls/RenderEngine.h"
#include "util/UniqueHandle.h"

namespace {

using SkinUI::CRenderEngine;
using test::Argb;
using test::Near;
using test::RenderCanvas;

constexpr uint32_t kWhite = 0xFFFFFFFF;

// GDI+ leaves the alpha byte of a DIB it draws on as the blend gives it;
// only colour channels are compared where that matters.
uint32_t Opaque(uint32_t pixel) { return pixel | 0xFF000000; }

TEST(RenderEngineShapes, DrawColorFillsTheRectangleOnly) {
  RenderCanvas canvas(20, 20);
  CRenderEngine::DrawColor(canvas.Dc(), RECT{5, 5, 15, 10}, 0xFF0000FF);
  EXPECT_EQ(canvas.Count(RECT{5, 5, 15, 10}, 0xFF0000FF), 50);
  EXPECT_EQ(canvas.At(4, 5), kWhite);
  EXPECT_EQ(canvas.At(15, 9), kWhite);
  EXPECT_EQ(canvas.At(5, 10), kWhite);
}

TEST(RenderEngineShapes, DrawColorBlendsWithTheColoursAlpha) {
  RenderCanvas canvas(20, 20);
  CRenderEngine::DrawColor(canvas.Dc(), RECT{0, 0, 10, 10}, 0x80FF0000);
  // Red at 128/255 over white; blending rounds either way.
  EXPECT_PRED3(Near, Opaque(canvas.At(5, 5)), Argb(255, 255, 127, 127), 2);
  EXPECT_EQ(canvas.At(15, 15), kWhite);
}

TEST(RenderEngineShapes, DrawColorWithoutAlphaDrawsNothing) {
  RenderCanvas canvas(10, 10);
  CRenderEngine::DrawColor(canvas.Dc(), RECT{0, 0, 10, 10}, 0x00FFFFFF & 0x00123456);
  CRenderEngine::DrawColor(canvas.Dc(), RECT{0, 0, 10, 10}, 0x00000000);
  EXPECT_EQ(canvas.Count(RECT{0, 0, 10, 10}, kWhite), 100);
}

struct GradientCase {
  const char* name;
  bool vertical;
  DWORD first;
  DWORD second;
  // Expected colours at the start, the middle and the end of the gradient,
  // over a white canvas.
  uint32_t start;
  uint32_t middle;
  uint32_t end;
};

class RenderEngineGradient : public ::testing::TestWithParam<GradientCase> {};

TEST_P(RenderEngineGradient, RunsFromTheFirstColourToTheSecond) {
  const GradientCase& c = GetParam();
  RenderCanvas canvas(80, 80);
  RECT rc = {8, 8, 72, 72};
  CRenderEngine::DrawGradient(canvas.Dc(), rc, c.first, c.second, c.vertical, 64);
  auto at = [&](int along) {
    return Opaque(c.vertical ? canvas.At(40, along) : canvas.At(along, 40));
  };
  // Interpolation and blending each round; 64 pixels give steps of 4 per
  // channel, so a few units of difference are allowed.
  EXPECT_PRED3(Near, at(8), c.start, 4);
  EXPECT_PRED3(Near, at(40), c.middle, 5);
  EXPECT_PRED3(Near, at(71), c.end, 5);
  // Across the gradient the colour does not change.
  uint32_t across = Opaque(c.vertical ? canvas.At(10, 40) : canvas.At(40, 10));
  EXPECT_PRED3(Near, across, at(40), 1);
  // Nothing outside the rectangle.
  EXPECT_EQ(canvas.At(7, 40), kWhite);
  EXPECT_EQ(canvas.At(40, 72), kWhite);
}

INSTANTIATE_TEST_SUITE_P(
    Directions, RenderEngineGradient,
    ::testing::Values(GradientCase{"Vertical", true, 0xFFFF0000, 0xFF0000FF, 0xFFFF0000, 0xFF800080,
                                   0xFF0000FF},
                      GradientCase{"Horizontal", false, 0xFF00FF00, 0xFF000000, 0xFF00FF00,
                                   0xFF008000, 0xFF000000},
                      // Both at alpha 128: drawn off-screen and blended at 128 over white.
                      GradientCase{"Translucent", true, 0x80FF0000, 0x80FF0000, 0xFFFF7F7F,
                                   0xFFFF7F7F, 0xFFFF7F7F},
                      // The average of 255 and 1 is 128.
                      GradientCase{"AveragedAlpha", false, 0xFF0000FF, 0x010000FF, 0xFF7F7FFF,
                                   0xFF7F7FFF, 0xFF7F7FFF}),
    [](const ::testing::TestParamInfo<GradientCase>& info) { return info.param.name; });

TEST(RenderEngineShapes, AGradientWhoseAverageAlphaIsZeroDrawsNothing) {
  RenderCanvas canvas(20, 20);
  CRenderEngine::DrawGradient(canvas.Dc(), RECT{0, 0, 20, 20}, 0x00FF0000, 0x01FF0000, true, 8);
  EXPECT_EQ(canvas.Count(RECT{0, 0, 20, 20}, kWhite), 400);
}

// The on and off runs along row 5 of a horizontal line, first run first.
std::vector<int> Runs(const RenderCanvas& canvas, int from, int to) {
  std::vector<int> runs;
  bool on = canvas.At(from, 5) != kWhite;
  int length = 0;
  for (int x = from; x < to; ++x) {
    bool pixelOn = canvas.At(x, 5) != kWhite;
    if (pixelOn == on) {
      ++length;
    } else {
      runs.push_back(length);
      on = pixelOn;
      length = 1;
    }
  }
  runs.push_back(length);
  return runs;
}

struct DashCase {
  const char* name;
  int style;
  // One period of the pattern for a 3-pixel pen: on, off, on, off ...
  std::vector<int> period;
};

class RenderEngineDash : public ::testing::TestWithParam<DashCase> {};

TEST_P(RenderEngineDash, FollowsThePattern) {
  const DashCase& c = GetParam();
  RenderCanvas canvas(200, 11);
  CRenderEngine::DrawLine(canvas.Dc(), RECT{0, 5, 199, 5}, 3, 0xFF000000, c.style);
  // Skip the first period, where line caps may lengthen the first dash,
  // and compare two whole periods after it.  Pixel edges of a dash may
  // round either way, so each run may be one pixel off.
  std::vector<int> runs = Runs(canvas, 0, 199);
  ASSERT_GE(runs.size(), 3 * c.period.size()) << ::testing::PrintToString(runs);
  for (size_t i = 0; i < 2 * c.period.size(); ++i) {
    size_t index = c.period.size() + i;
    // Runs alternate on/off and the first run is on.
    int expected = c.period[i % c.period.size()];
    EXPECT_NEAR(runs[index], expected, 1)
        << "run " << index << " of " << ::testing::PrintToString(runs);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Styles, RenderEngineDash,
    ::testing::Values(DashCase{"Dash", PS_DASH, {9, 3}}, DashCase{"Dot", PS_DOT, {3, 3}},
                      DashCase{"DashDot", PS_DASHDOT, {9, 3, 3, 3}},
                      DashCase{"DashDotDot", PS_DASHDOTDOT, {9, 3, 3, 3, 3, 3}}),
    [](const ::testing::TestParamInfo<DashCase>& info) { return info.param.name; });

TEST(RenderEngineShapes, ASolidLineHasNoGaps) {
  RenderCanvas canvas(100, 11);
  CRenderEngine::DrawLine(canvas.Dc(), RECT{10, 5, 90, 5}, 1, 0xFF000000, PS_SOLID);
  EXPECT_EQ(canvas.Count(RECT{10, 5, 90, 6}, 0xFF000000), 80);
  EXPECT_EQ(canvas.At(50, 4), kWhite);
  EXPECT_EQ(canvas.At(50, 6), kWhite);
  EXPECT_EQ(canvas.At(5, 5), kWhite);
}

TEST(RenderEngineShapes, ALineColourKeepsItsAlpha) {
  RenderCanvas canvas(100, 11);
  CRenderEngine::DrawLine(canvas.Dc(), RECT{10, 5, 90, 5}, 1, 0x80000000, PS_SOLID);
  EXPECT_PRED3(Near, Opaque(canvas.At(50, 5)), Argb(255, 127, 127, 127), 2);
}

TEST(RenderEngineShapes, DrawRectOutlinesTheRectangleInside) {
  RenderCanvas canvas(40, 30);
  CRenderEngine::DrawRect(canvas.Dc(), RECT{10, 10, 30, 20}, 1, 0xFFFF0000);
  const uint32_t red = 0xFFFF0000;
  // The outline covers the first and last row and column of the rectangle.
  for (auto [x, y] :
       {std::pair{10, 10}, {29, 10}, {10, 19}, {29, 19}, {20, 10}, {20, 19}, {10, 15}, {29, 15}}) {
    EXPECT_EQ(Opaque(canvas.At(x, y)), red) << x << "," << y;
  }
  for (auto [x, y] : {std::pair{30, 10}, {10, 20}, {20, 15}, {9, 15}, {20, 9}}) {
    EXPECT_EQ(canvas.At(x, y), kWhite) << x << "," << y;
  }
}

TEST(RenderEngineShapes, AWideRectOutlineStaysInside) {
  RenderCanvas canvas(40, 30);
  CRenderEngine::DrawRect(canvas.Dc(), RECT{10, 5, 30, 25}, 3, 0xFF0000FF);
  const uint32_t blue = 0xFF0000FF;
  EXPECT_EQ(Opaque(canvas.At(10, 15)), blue);
  EXPECT_EQ(Opaque(canvas.At(12, 15)), blue);
  EXPECT_EQ(canvas.At(14, 15), kWhite);
  EXPECT_EQ(canvas.At(9, 15), kWhite);
  EXPECT_EQ(canvas.At(20, 4), kWhite);
  EXPECT_EQ(canvas.At(30, 15), kWhite);
}

TEST(RenderEngineShapes, DrawRoundRectRoundsTheCorners) {
  RenderCanvas canvas(60, 50);
  CRenderEngine::DrawRoundRect(canvas.Dc(), RECT{10, 10, 50, 40}, 1, 6, 6, 0xFF008000);
  auto drawn = [&](int x, int y) { return canvas.At(x, y) != kWhite; };
  // Straight edges: the top and left edges on the first row and column,
  // the right and bottom ones on the last.
  EXPECT_TRUE(drawn(30, 10));
  EXPECT_TRUE(drawn(10, 25));
  EXPECT_TRUE(drawn(49, 25));
  EXPECT_TRUE(drawn(30, 39));
  // The corners themselves are cut off by the arcs, and the inside stays.
  EXPECT_FALSE(drawn(10, 10));
  EXPECT_FALSE(drawn(49, 10));
  EXPECT_FALSE(drawn(10, 39));
  EXPECT_FALSE(drawn(49, 39));
  EXPECT_FALSE(drawn(30, 25));
  // Nothing outside.
  EXPECT_FALSE(drawn(50, 25));
  EXPECT_FALSE(drawn(30, 40));
  // An arc passes near the corner, between the two edges.
  EXPECT_TRUE(drawn(11, 12) || drawn(12, 11) || drawn(11, 13) || drawn(13, 11));
}

}  // namespace

namespace {

TEST(RenderEngineShapes, AWideRoundRectOutlineStaysInside) {
  RenderCanvas canvas(60, 50);
  CRenderEngine::DrawRoundRect(canvas.Dc(), RECT{10, 10, 50, 40}, 3, 6, 6, 0xFF008000);
  auto drawn = [&](int x, int y) { return canvas.At(x, y) != kWhite; };
  // A 3-pixel border covers the first three columns and rows inside.
  EXPECT_FALSE(drawn(9, 25));
  EXPECT_TRUE(drawn(10, 25));
  EXPECT_TRUE(drawn(12, 25));
  EXPECT_FALSE(drawn(13, 25));
  EXPECT_TRUE(drawn(47, 25));
  EXPECT_TRUE(drawn(49, 25));
  EXPECT_FALSE(drawn(50, 25));
  EXPECT_TRUE(drawn(30, 10));
  EXPECT_FALSE(drawn(30, 9));
  EXPECT_TRUE(drawn(30, 39));
  EXPECT_FALSE(drawn(30, 40));
  EXPECT_FALSE(drawn(10, 10));
}

}  // namespace

namespace {

struct TargetCase {
  const char* name;
  // A fill when the width is 0, else an outline of that width.
  int width;
  RECT rect;
  DWORD color;
  // A clip rectangle selected before drawing, when not empty.
  RECT clip;
};

class RenderEngineTargets : public ::testing::TestWithParam<TargetCase> {};

// Whatever way a target is drawn on, it shows the same colours: a screen
// bitmap (plain GDI for opaque colours) and a 32-bit DIB section (GDI+,
// which writes alpha too).
TEST_P(RenderEngineTargets, AScreenBitmapShowsWhatADibSectionShows) {
  const TargetCase& c = GetParam();
  constexpr int kSize = 40;
  RenderCanvas dib(kSize, kSize);
  RenderCanvas screen(kSize, kSize, kWhite, RenderCanvas::Target::Screen);
  for (HDC dc : {dib.Dc(), screen.Dc()}) {
    if (!::IsRectEmpty(&c.clip)) {
      CGdiObject region(::CreateRectRgnIndirect(&c.clip));
      ::SelectClipRgn(dc, static_cast<HRGN>(region.Get()));
    }
    if (c.width == 0) {
      CRenderEngine::DrawColor(dc, c.rect, c.color);
    } else {
      CRenderEngine::DrawRect(dc, c.rect, c.width, c.color);
    }
  }
  int differing = 0;
  for (int y = 0; y < kSize; ++y) {
    for (int x = 0; x < kSize; ++x) {
      const uint32_t expected = test::Rgb(dib.At(x, y));
      const uint32_t actual = test::Rgb(screen.At(x, y));
      if (actual != expected && ++differing <= 5) {
        ADD_FAILURE() << "pixel " << x << "," << y << ": " << std::hex << actual << " instead of "
                      << expected;
      }
    }
  }
  EXPECT_EQ(differing, 0);
  // Something was drawn at all, so that the comparison means something.
  EXPECT_LT(screen.CountRgb(RECT{0, 0, kSize, kSize}, kWhite), kSize * kSize);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, RenderEngineTargets,
    ::testing::Values(TargetCase{"OpaqueFill", 0, {5, 6, 31, 20}, 0xFF2050A0, {}},
                      TargetCase{"TranslucentFill", 0, {5, 6, 31, 20}, 0x802050A0, {}},
                      TargetCase{"ClippedFill", 0, {5, 6, 31, 20}, 0xFF2050A0, {10, 0, 20, 40}},
                      TargetCase{"Border1", 1, {5, 6, 31, 20}, 0xFF8090A0, {}},
                      TargetCase{"Border2", 2, {5, 6, 31, 20}, 0xFF8090A0, {}},
                      TargetCase{"Border3", 3, {5, 6, 31, 30}, 0xFF000000, {}},
                      TargetCase{"ClippedBorder", 2, {5, 6, 31, 30}, 0xFF000000, {0, 0, 20, 15}},
                      TargetCase{"TranslucentBorder", 1, {5, 6, 31, 20}, 0x80000000, {}},
                      // Too small for four separate strips: all of it is border.
                      TargetCase{"NarrowBorder", 2, {5, 6, 9, 20}, 0xFF000000, {}},
                      TargetCase{"FlatBorder", 3, {5, 6, 30, 11}, 0xFF000000, {}}),
    [](const ::testing::TestParamInfo<TargetCase>& info) { return info.param.name; });

}  // namespace
