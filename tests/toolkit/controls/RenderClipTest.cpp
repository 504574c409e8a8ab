// Clip regions narrowed for a scope and given back afterwards.

#include "toolkit/controls/RenderClip.h"

#include <windows.h>

#include <initializer_list>

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

// A pixel and whether the clip let paint reach it.
struct Probe {
  int x;
  int y;
  bool painted;
};

void ExpectPainted(const RenderCanvas& canvas, std::initializer_list<Probe> probes) {
  for (const Probe& probe : probes) {
    EXPECT_EQ(canvas.At(probe.x, probe.y) != kWhite, probe.painted)
        << "at (" << probe.x << ", " << probe.y << ")";
  }
}

// A clip, and a second one generated while the first is selected; the
// second is given back first.
struct NestedClips {
  CRenderClip outer;
  CRenderClip inner;
  NestedClips(HDC dc, const RECT& outerArea, const RECT& innerArea) {
    CRenderClip::GenerateClip(dc, outerArea, outer);
    CRenderClip::GenerateClip(dc, innerArea, inner);
  }
};

TEST(RenderClip, NarrowsToTheRectangleAndRestoresOnDestruction) {
  RenderCanvas canvas(40, 40);
  {
    CRenderClip clip;
    CRenderClip::GenerateClip(canvas.Dc(), RECT{10, 10, 20, 20}, clip);
    PaintAll(canvas);
    EXPECT_EQ(canvas.Count(RECT{10, 10, 20, 20}, kWhite), 0);
    ExpectPainted(canvas, {{9, 15, false}, {20, 15, false}, {15, 20, false}});
  }
  // The device context had no clip before: everything can be painted now.
  PaintAll(canvas);
  EXPECT_EQ(canvas.Count(RECT{0, 0, 40, 40}, kWhite), 0);
}

TEST(RenderClip, AClipIsNarrowedWithinTheClipBeforeIt) {
  RenderCanvas canvas(40, 40);
  const NestedClips clips(canvas.Dc(), RECT{0, 0, 20, 20}, RECT{10, 10, 30, 30});
  PaintAll(canvas);
  ExpectPainted(canvas, {{15, 15, true}, {25, 25, false}, {5, 5, false}});
}

TEST(RenderClip, TheRoundClipCutsTheCorners) {
  RenderCanvas canvas(40, 40);
  CRenderClip clip;
  CRenderClip::GenerateRoundClip(canvas.Dc(), RECT{0, 0, 40, 40}, RECT{5, 5, 34, 34}, 6, 6, clip);
  PaintAll(canvas);
  ExpectPainted(canvas, {{5, 5, false}, {33, 33, false}, {20, 5, true}, {5, 20, true}});
  // Rounded regions end one pixel short of their right and bottom
  // coordinates; the clip's one extra pixel makes it end with the item.
  ExpectPainted(canvas,
                {{33, 20, true}, {20, 33, true}, {34, 20, false}, {20, 34, false}, {4, 20, false}});
}

TEST(RenderClip, TheRoundClipIsAlsoCutToTheRectangle) {
  RenderCanvas canvas(40, 40);
  CRenderClip clip;
  CRenderClip::GenerateRoundClip(canvas.Dc(), RECT{0, 0, 20, 40}, RECT{5, 5, 34, 34}, 6, 6, clip);
  PaintAll(canvas);
  ExpectPainted(canvas, {{15, 20, true}, {25, 20, false}});
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
  ExpectPainted(canvas, {{0, 0, false}, {39, 39, false}, {20, 20, true}, {20, 0, true}});
}

TEST(RenderClip, UseOldClipSwitchesBetweenTheClips) {
  RenderCanvas canvas(40, 40);
  NestedClips clips(canvas.Dc(), RECT{0, 0, 30, 30}, RECT{20, 20, 40, 40});

  CRenderClip::UseOldClipBegin(canvas.Dc(), clips.inner);
  PaintAll(canvas);
  ExpectPainted(canvas, {{5, 5, true}, {35, 35, false}});

  canvas.Fill(kWhite);
  CRenderClip::UseOldClipEnd(canvas.Dc(), clips.inner);
  PaintAll(canvas);
  ExpectPainted(canvas, {{25, 25, true}, {5, 5, false}});
  // Back in the narrowed clip, which lies within the outer one.
  ExpectPainted(canvas, {{35, 35, false}});
}

}  // namespace
