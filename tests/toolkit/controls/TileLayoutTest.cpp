// The tile layout: columns from the item width or the column count, the
// cells and the child padding they share, children centred in their
// cells, row heights, scrolling and attributes.

#include <windows.h>

#include <string>
#include <vector>

#include "gtest/gtest.h"
#include "tests/toolkit/controls/LayoutTestSupport.h"
#include "tests/toolkit/core/SkinTestWindow.h"
#include "toolkit/controls/ScrollBarUI.h"
#include "toolkit/controls/TileLayoutUI.h"
#include "toolkit/core/PaintManagerUI.h"

namespace {

using SkinUI::CControlUI;
using SkinUI::CTileLayoutUI;
using test::NewBox;
using test::RectIs;
using test::SkinTestWindow;

std::vector<CControlUI*> AddBoxes(CTileLayoutUI& tile, int count, int cx, int cy) {
  std::vector<CControlUI*> boxes;
  for (int i = 0; i < count; ++i) {
    boxes.push_back(NewBox(L"box", cx, cy));
    tile.Add(boxes.back());
  }
  return boxes;
}

TEST(TileLayoutColumns, TheItemWidthDecidesTheColumnCount) {
  struct ColumnCase {
    int layoutWidth;
    int itemWidth;
    int columns;
  };
  const ColumnCase cases[] = {{300, 100, 3}, {299, 100, 2}, {350, 100, 3}, {60, 100, 1}};
  for (const ColumnCase& c : cases) {
    SCOPED_TRACE("width " + std::to_string(c.layoutWidth));
    CTileLayoutUI tile;
    tile.SetAttribute(L"itemsize", (std::to_wstring(c.itemWidth) + L",0").c_str());
    AddBoxes(tile, 1, 10, 10);
    tile.SetPos(RECT{0, 0, c.layoutWidth, 200});
    EXPECT_EQ(tile.GetColumns(), c.columns);
  }
}

TEST(TileLayoutColumns, AFourthChildOfThreeColumnsStartsTheSecondRow) {
  CTileLayoutUI tile;
  tile.SetAttribute(L"itemsize", L"100,0");
  tile.SetChildPadding(6);
  const std::vector<CControlUI*> boxes = AddBoxes(tile, 4, 60, 40);
  tile.SetPos(RECT{0, 0, 300, 200});
  EXPECT_EQ(tile.GetColumns(), 3);
  // Centred in cells of 0..97, 103..197 and 203..300, each 40 high.
  EXPECT_TRUE(RectIs(boxes[0]->GetPos(), RECT{18, 0, 78, 40}));
  EXPECT_TRUE(RectIs(boxes[1]->GetPos(), RECT{120, 0, 180, 40}));
  EXPECT_TRUE(RectIs(boxes[2]->GetPos(), RECT{221, 0, 281, 40}));
  EXPECT_TRUE(RectIs(boxes[3]->GetPos(), RECT{18, 46, 78, 86}));
}

TEST(TileLayoutColumns, TheColumnsAttributeIgnoresCountsBelowOne) {
  CTileLayoutUI tile;
  EXPECT_EQ(tile.GetColumns(), 1);
  tile.SetAttribute(L"columns", L"2");
  EXPECT_EQ(tile.GetColumns(), 2);
  tile.SetAttribute(L"columns", L"0");
  EXPECT_EQ(tile.GetColumns(), 2);
  tile.SetAttribute(L"columns", L"-3");
  EXPECT_EQ(tile.GetColumns(), 2);
  // Without an item width the count stands, and the cells share the width.
  const std::vector<CControlUI*> boxes = AddBoxes(tile, 3, 0, 30);
  tile.SetPos(RECT{0, 0, 300, 200});
  EXPECT_EQ(tile.GetColumns(), 2);
  EXPECT_TRUE(RectIs(boxes[0]->GetPos(), RECT{0, 0, 150, 30}));
  EXPECT_TRUE(RectIs(boxes[1]->GetPos(), RECT{150, 0, 300, 30}));
  EXPECT_TRUE(RectIs(boxes[2]->GetPos(), RECT{0, 30, 150, 60}));
}

TEST(TileLayoutCells, NeighboursShareTheChildPaddingAndTheRowEdgesHaveNone) {
  CTileLayoutUI tile;
  tile.SetColumns(3);
  tile.SetChildPadding(10);
  tile.SetInset(RECT{10, 20, 10, 0});
  const std::vector<CControlUI*> boxes = AddBoxes(tile, 4, 0, 30);
  boxes[3]->SetPadding(RECT{4, 2, 6, 0});
  tile.SetPos(RECT{0, 0, 320, 200});
  // Cells 100 wide from x = 10; the second row is 10 lower.
  EXPECT_TRUE(RectIs(boxes[0]->GetPos(), RECT{10, 20, 105, 50}));
  EXPECT_TRUE(RectIs(boxes[1]->GetPos(), RECT{115, 20, 205, 50}));
  EXPECT_TRUE(RectIs(boxes[2]->GetPos(), RECT{215, 20, 310, 50}));
  // The padding takes from the cell; the row grows by its vertical part.
  EXPECT_TRUE(RectIs(boxes[3]->GetPos(), RECT{14, 62, 99, 92}));
}

TEST(TileLayoutCells, ChildrenAreCentredWithTruncation) {
  struct CentreCase {
    int cx;
    int cy;
    RECT expected;  // in the first cell of 0..100 x 0..50
  };
  const CentreCase cases[] = {
      {60, 50, {20, 0, 80, 50}},
      {45, 50, {27, 0, 72, 50}},
      {45, 21, {27, 14, 72, 35}},
  };
  for (const CentreCase& c : cases) {
    SCOPED_TRACE(std::to_string(c.cx) + " x " + std::to_string(c.cy));
    CTileLayoutUI tile;
    tile.SetItemSize(SIZE{100, 0});
    CControlUI* box = NewBox(L"box", c.cx, c.cy);
    // The tall neighbour makes the row 50 high.
    CControlUI* tall = NewBox(L"tall", 10, 50);
    tile.Add(box);
    tile.Add(tall);
    tile.SetPos(RECT{0, 0, 200, 100});
    EXPECT_TRUE(RectIs(box->GetPos(), c.expected));
    EXPECT_TRUE(RectIs(tall->GetPos(), RECT{145, 0, 155, 50}));
  }
}

TEST(TileLayoutCells, EachChildsOwnLimitsDecideTheRowHeight) {
  CTileLayoutUI tile;
  tile.SetColumns(2);
  CControlUI* low = NewBox(L"low", 40, 20);
  low->SetMaxHeight(20);
  CControlUI* high = NewBox(L"high", 40, 50);
  CControlUI* next = NewBox(L"next", 40, 10);
  tile.Add(low);
  tile.Add(high);
  tile.Add(next);
  tile.SetPos(RECT{0, 0, 200, 200});
  // The first child's maximum does not cut the second child's row short.
  EXPECT_TRUE(RectIs(high->GetPos(), RECT{130, 0, 170, 50}));
  EXPECT_TRUE(RectIs(low->GetPos(), RECT{30, 15, 70, 35}));
  EXPECT_EQ(next->GetPos().top, 50);
}

TEST(TileLayoutCells, HiddenAndFloatingChildrenTakeNoCell) {
  CTileLayoutUI tile;
  tile.SetColumns(2);
  CControlUI* a = NewBox(L"a", 0, 20);
  CControlUI* hidden = NewBox(L"hidden", 0, 90);
  hidden->SetVisible(false);
  CControlUI* floating = NewBox(L"floating", 15, 15);
  floating->SetFloat(true);
  floating->SetFixedXY(SIZE{5, 5});
  CControlUI* b = NewBox(L"b", 0, 20);
  CControlUI* c = NewBox(L"c", 0, 20);
  for (CControlUI* child : {a, hidden, floating, b, c}) tile.Add(child);
  tile.SetPos(RECT{0, 0, 100, 100});
  EXPECT_TRUE(RectIs(a->GetPos(), RECT{0, 0, 50, 20}));
  EXPECT_TRUE(RectIs(b->GetPos(), RECT{50, 0, 100, 20}));
  EXPECT_TRUE(RectIs(c->GetPos(), RECT{0, 20, 50, 40}));
  EXPECT_TRUE(RectIs(floating->GetPos(), RECT{5, 5, 20, 20}));
}

TEST(TileLayoutScroll, RowsTallerThanTheLayoutScroll) {
  SkinTestWindow window(200, 100);
  auto* tile = new CTileLayoutUI;
  tile->SetAttribute(L"vscrollbar", L"true");
  tile->SetColumns(2);
  tile->SetChildPadding(4);
  std::vector<CControlUI*> boxes = AddBoxes(*tile, 6, 0, 40);
  window.Manager().AttachDialog(tile);
  window.Paint();
  SkinUI::CScrollBarUI* bar = tile->GetVerticalScrollBar();
  ASSERT_TRUE(bar->IsVisible());
  // Three rows of 40 and two gaps of 4.
  EXPECT_EQ(bar->GetScrollRange(), 3 * 40 + 2 * 4 - 100);
  const int width = 200 - bar->GetFixedWidth();
  EXPECT_EQ(boxes[1]->GetPos().right, width);

  tile->SetScrollPos(SIZE{0, 20});
  tile->NeedUpdate();
  window.Paint();
  EXPECT_EQ(boxes[0]->GetPos().top, -20);
  EXPECT_EQ(boxes[4]->GetPos().top, 88 - 20);
  EXPECT_EQ(bar->GetScrollRange(), 28);
}

TEST(TileLayoutNames, ClassInterfacesAndItemSize) {
  CTileLayoutUI tile;
  EXPECT_STREQ(tile.GetClass(), L"TileLayoutUI");
  EXPECT_EQ(tile.GetInterface(L"TileLayout"), &tile);
  EXPECT_EQ(tile.GetInterface(L"Container"), &tile);
  EXPECT_EQ(tile.GetInterface(L"TabLayout"), nullptr);
  EXPECT_EQ(tile.GetItemSize().cx, 0);
  tile.SetAttribute(L"itemsize", L"64,48");
  EXPECT_EQ(tile.GetItemSize().cx, 64);
  EXPECT_EQ(tile.GetItemSize().cy, 48);
  tile.SetAttribute(L"inset", L"1,1,1,1");
  EXPECT_EQ(tile.GetInset().left, 1);
}

}  // namespace
