// Clip regions narrowed for a scope and given back afterwards.

#include "toolkit/controls/RenderClip.h"

#include <windows.h>

#include "gtest/gtest.h"
#include "tests/toolkit/controls/RenderCanvas.h"

namespace {

using SkinUI::CRenderClip;
using test::RenderCanvas;

constexpr uint32_t kWhite = 0xFFFFFFFF;

// Paints the whole canvas black through whatever clip is selected.
void PaintAll(const RenderCanvas& canvas) {
  RECT all = {0, 0, canvas.Width(), canvas.Height()};
  ::FillRect(canvas.Dc(), &all, static_cast<HBRUSH>(::GetStockObject(BLACK_BRUSH)));
}

bool Painted(const RenderCanvas& canvas, int x, int y) { return canvas.At(x, y) != kWhite; }

TEST(RenderClip, NarrowsToTheRectangleAndRestoresOnDestruction) {
  RenderCanvas canvas(40, 40);
  {
    CRenderClip clip;
    CRenderClip::GenerateClip(canvas.Dc(), RECT{10, 10, 20, 20}, clip);
    PaintAll(canvas);
    EXPECT_EQ(canvas.Count(RECT{10, 10, 20, 20}, kWhite), 0);
    EXPECT_FALSE(Painted(canvas, 9, 15));
    EXPECT_FALSE(Painted(canvas, 20, 15));
    EXPECT_FALSE(Painted(canvas, 15, 20));
  }
  // The device context had no clip before: everything can be painted now.
  PaintAll(canvas);
  EXPECT_EQ(canvas.Count(RECT{0, 0, 40, 40}, kWhite), 0);
}

TEST(RenderClip, AClipIsNarrowedWithinTheClipBeforeIt) {
  RenderCanvas canvas(40, 40);
  CRenderClip outer;
  CRenderClip::GenerateClip(canvas.Dc(), RECT{0, 0, 20, 20}, outer);
  CRenderClip inner;
  CRenderClip::GenerateClip(canvas.Dc(), RECT{10, 10, 30, 30}, inner);
  PaintAll(canvas);
  EXPECT_TRUE(Painted(canvas, 15, 15));
  EXPECT_FALSE(Painted(canvas, 25, 25));
  EXPECT_FALSE(Painted(canvas, 5, 5));
}

TEST(RenderClip, TheRoundClipCutsTheCorners) {
  RenderCanvas canvas(40, 40);
  CRenderClip clip;
  CRenderClip::GenerateRoundClip(canvas.Dc(), RECT{0, 0, 40, 40}, RECT{5, 5, 34, 34}, 6, 6, clip);
  PaintAll(canvas);
  EXPECT_FALSE(Painted(canvas, 5, 5));
  EXPECT_FALSE(Painted(canvas, 33, 33));
  EXPECT_TRUE(Painted(canvas, 20, 5));
  EXPECT_TRUE(Painted(canvas, 5, 20));
  // Rounded regions end one pixel short of their right and bottom
  // coordinates; the clip's one extra pixel makes it end with the item.
  EXPECT_TRUE(Painted(canvas, 33, 20));
  EXPECT_TRUE(Painted(canvas, 20, 33));
  EXPECT_FALSE(Painted(canvas, 34, 20));
  EXPECT_FALSE(Painted(canvas, 20, 34));
  EXPECT_FALSE(Painted(canvas, 4, 20));
}

TEST(RenderClip, TheRoundClipIsAlsoCutToTheRectangle) {
  RenderCanvas canvas(40, 40);
  CRenderClip clip;
  CRenderClip::GenerateRoundClip(canvas.Dc(), RECT{0, 0, 20, 40}, RECT{5, 5, 34, 34}, 6, 6, clip);
  PaintAll(canvas);
  EXPECT_TRUE(Painted(canvas, 15, 20));
  EXPECT_FALSE(Painted(canvas, 25, 20));
}

TEST(RenderClip, AChildClipGivesBackTheParentsRoundedClip) {
  RenderCanvas canvas(40, 40);
  CRenderClip parent;
  CRenderClip::GenerateRoundClip(canvas.Dc(), RECT{0, 0, 40, 40}, RECT{0, 0, 39, 39}, 8, 8, parent);
  {
    CRenderClip child;
    CRenderClip::GenerateClip(canvas.Dc(), RECT{10, 10, 30, 30}, child);
  }
  // The parent's corners are still cut once the child is gone.
  PaintAll(canvas);
  EXPECT_FALSE(Painted(canvas, 0, 0));
  EXPECT_FALSE(Painted(canvas, 39, 39));
  EXPECT_TRUE(Painted(canvas, 20, 20));
  EXPECT_TRUE(Painted(canvas, 20, 0));
}

TEST(RenderClip, UseOldClipSwitchesBetweenTheClips) {
  RenderCanvas canvas(40, 40);
  CRenderClip outer;
  CRenderClip::GenerateClip(canvas.Dc(), RECT{0, 0, 30, 30}, outer);
  CRenderClip inner;
  CRenderClip::GenerateClip(canvas.Dc(), RECT{20, 20, 40, 40}, inner);

  CRenderClip::UseOldClipBegin(canvas.Dc(), inner);
  PaintAll(canvas);
  EXPECT_TRUE(Painted(canvas, 5, 5));
  EXPECT_FALSE(Painted(canvas, 35, 35));

  canvas.Fill(kWhite);
  CRenderClip::UseOldClipEnd(canvas.Dc(), inner);
  PaintAll(canvas);
  EXPECT_TRUE(Painted(canvas, 25, 25));
  EXPECT_FALSE(Painted(canvas, 5, 5));
  // Back in the narrowed clip, which lies within the outer one.
  EXPECT_FALSE(Painted(canvas, 35, 35));
}

}  // namespace
