// The tab layout: which page is selected as pages come and go, selecting
// pages (visibility, focus, the "tabselect" notification), and where the
// selected page is placed.

#include <windows.h>

#include <string>
#include <vector>

#include "gtest/gtest.h"
#include "tests/toolkit/controls/LayoutTestSupport.h"
#include "tests/toolkit/core/ProbeControl.h"
#include "tests/toolkit/core/SkinTestWindow.h"
#include "toolkit/controls/ContainerUI.h"
#include "toolkit/controls/TabLayoutUI.h"
#include "toolkit/core/PaintManagerUI.h"

namespace {

using SkinUI::CContainerUI;
using SkinUI::CControlUI;
using SkinUI::CTabLayoutUI;
using test::NewBox;
using test::RectIs;
using test::SkinTestWindow;

// Which pages show, as a string of '1' and '0'.
std::string Shown(const CTabLayoutUI& tab) {
  std::string shown;
  for (int i = 0; i < tab.GetCount(); ++i) shown += tab.GetItemAt(i)->IsVisible() ? '1' : '0';
  return shown;
}

// --- Adding pages ------------------------------------------------------------------

TEST(TabLayoutPages, TheFirstVisiblePageAddedIsSelectedAndTheOthersHidden) {
  CTabLayoutUI tab;
  EXPECT_EQ(tab.GetCurSel(), -1);
  CControlUI* hidden = NewBox(L"hidden");
  hidden->SetVisible(false);
  EXPECT_TRUE(tab.Add(hidden));
  EXPECT_EQ(tab.GetCurSel(), -1);
  EXPECT_TRUE(tab.Add(NewBox(L"first")));
  EXPECT_EQ(tab.GetCurSel(), 1);
  EXPECT_TRUE(tab.Add(NewBox(L"second")));
  EXPECT_EQ(tab.GetCurSel(), 1);
  EXPECT_EQ(Shown(tab), "010");
  EXPECT_FALSE(tab.Add(nullptr));
  EXPECT_EQ(tab.GetCount(), 3);
}

TEST(TabLayoutPages, AHiddenTabLayoutStillSelectsItsFirstPage) {
  CTabLayoutUI tab;
  tab.SetVisible(false);
  tab.Add(NewBox(L"first"));
  tab.Add(NewBox(L"second"));
  EXPECT_EQ(tab.GetCurSel(), 0);
  tab.SetVisible(true);
  EXPECT_EQ(Shown(tab), "10");
}

TEST(TabLayoutPages, InsertingAtOrBeforeTheSelectionMovesItOn) {
  struct InsertCase {
    int index;
    int selection;  // afterwards; the selected page was at 1
  };
  const InsertCase cases[] = {{0, 2}, {1, 2}, {2, 1}, {3, 1}};
  for (const InsertCase& c : cases) {
    SCOPED_TRACE("insert at " + std::to_string(c.index));
    CTabLayoutUI tab;
    for (const wchar_t* name : {L"a", L"b", L"c"}) tab.Add(NewBox(name));
    ASSERT_TRUE(tab.SelectItem(1));
    CControlUI* page = NewBox(L"new");
    ASSERT_TRUE(tab.AddAt(page, c.index));
    EXPECT_EQ(tab.GetCurSel(), c.selection);
    EXPECT_FALSE(page->IsVisible());
    EXPECT_EQ(tab.GetItemAt(tab.GetCurSel())->GetName(), L"b");
  }
  // Refused at an index past the end: nothing changes.
  CTabLayoutUI empty;
  CControlUI refused;
  EXPECT_FALSE(empty.AddAt(&refused, 1));
  EXPECT_EQ(empty.GetCurSel(), -1);
  EXPECT_TRUE(refused.IsVisible());
  CControlUI* first = NewBox(L"first");
  EXPECT_TRUE(empty.AddAt(first, 0));
  EXPECT_EQ(empty.GetCurSel(), 0);
  EXPECT_TRUE(first->IsVisible());
}

// --- Removing pages ------------------------------------------------------------------

TEST(TabLayoutPages, RemovalKeepsTheSelectionOnAPage) {
  struct RemoveCase {
    const char* name;
    int removed;  // of pages a, b, c with b selected
    bool byIndex;
    int selection;
    const wchar_t* selectedName;
    std::string shown;
  };
  const RemoveCase cases[] = {
      {"the selected page: the first takes over", 1, false, 0, L"a", "10"},
      {"a page before it: the same page stays", 0, false, 0, L"b", "10"},
      {"a page after it", 2, false, 1, L"b", "01"},
      {"the selected page by index", 1, true, 0, L"a", "10"},
      {"a page before it by index", 0, true, 0, L"b", "10"},
  };
  for (const RemoveCase& c : cases) {
    SCOPED_TRACE(c.name);
    CTabLayoutUI tab;
    for (const wchar_t* name : {L"a", L"b", L"c"}) tab.Add(NewBox(name));
    ASSERT_TRUE(tab.SelectItem(1));
    if (c.byIndex) {
      EXPECT_TRUE(tab.RemoveAt(c.removed));
    } else {
      EXPECT_TRUE(tab.Remove(tab.GetItemAt(c.removed)));
    }
    EXPECT_EQ(tab.GetCurSel(), c.selection);
    EXPECT_EQ(tab.GetItemAt(tab.GetCurSel())->GetName(), c.selectedName);
    EXPECT_EQ(Shown(tab), c.shown);
  }
}

TEST(TabLayoutPages, RemovingEveryPageLeavesNoSelection) {
  CTabLayoutUI tab;
  CControlUI* only = NewBox(L"only");
  tab.Add(only);
  CControlUI stranger;
  EXPECT_FALSE(tab.Remove(&stranger));
  EXPECT_FALSE(tab.Remove(nullptr));
  EXPECT_FALSE(tab.RemoveAt(3));
  EXPECT_EQ(tab.GetCurSel(), 0);
  EXPECT_TRUE(tab.Remove(only));
  EXPECT_EQ(tab.GetCurSel(), -1);

  for (const wchar_t* name : {L"a", L"b"}) tab.Add(NewBox(name));
  EXPECT_EQ(tab.GetCurSel(), 0);
  tab.RemoveAll();
  EXPECT_EQ(tab.GetCurSel(), -1);
  EXPECT_EQ(tab.GetCount(), 0);
  // A new first page is selected again.
  tab.Add(NewBox(L"again"));
  EXPECT_EQ(tab.GetCurSel(), 0);
}

// --- Selecting pages in a window ------------------------------------------------------

// A 200 x 100 window whose root is a tab layout of three pages; each page
// is a container holding one tab stop.
class TabWindow : public ::testing::Test {
 protected:
  void SetUp() override {
    tab = new CTabLayoutUI;
    tab->SetName(L"tab");
    tab->SetInset(RECT{5, 5, 5, 5});
    for (int i = 0; i < 3; ++i) {
      auto* page = new CContainerUI;
      page->SetName((L"page" + std::to_wstring(i)).c_str());
      auto* stop = new test::ProbeControl((L"stop" + std::to_wstring(i)).c_str(), nullptr,
                                          SkinUI::ControlFlagTabStop);
      page->Add(stop);
      pages.push_back(page);
      stops.push_back(stop);
      tab->Add(page);
    }
    window.Manager().AddNotifier(&selections);
    window.Manager().AttachDialog(tab);
    window.Paint();
  }
  void TearDown() override { window.Manager().RemoveNotifier(&selections); }

  SkinTestWindow window{200, 100};
  CTabLayoutUI* tab = nullptr;
  std::vector<CContainerUI*> pages;
  std::vector<CControlUI*> stops;
  test::NotifyFilter selections{L"tabselect"};
};

TEST_F(TabWindow, OnlyTheSelectedPageIsPlaced) {
  EXPECT_EQ(tab->GetCurSel(), 0);
  EXPECT_TRUE(RectIs(pages[0]->GetPos(), RECT{5, 5, 195, 95}));
  EXPECT_TRUE(::IsRectEmpty(&pages[1]->GetPos()));
  EXPECT_EQ(Shown(*tab), "100");
}

TEST_F(TabWindow, SelectingAPageShowsItMovesTheFocusIntoItAndTellsTheWindow) {
  ASSERT_TRUE(tab->SelectItem(2));
  window.Paint();
  EXPECT_EQ(tab->GetCurSel(), 2);
  EXPECT_EQ(Shown(*tab), "001");
  EXPECT_TRUE(RectIs(pages[2]->GetPos(), RECT{5, 5, 195, 95}));
  EXPECT_EQ(window.Manager().GetFocus(), stops[2]);
  ASSERT_EQ(selections.received.size(), 1u);
  EXPECT_EQ(selections.received[0].pSender, tab);
  EXPECT_EQ(selections.received[0].wParam, 2u);
  EXPECT_EQ(selections.received[0].lParam, 0);

  ASSERT_TRUE(tab->SelectItem(pages[1]));
  ASSERT_EQ(selections.received.size(), 2u);
  EXPECT_EQ(selections.received[1].wParam, 1u);
  EXPECT_EQ(selections.received[1].lParam, 2);
}

TEST_F(TabWindow, SelectingTheCurrentPageOrNoPageDoesNothing) {
  EXPECT_TRUE(tab->SelectItem(0));
  EXPECT_TRUE(tab->SelectItem(pages[0]));
  EXPECT_FALSE(tab->SelectItem(3));
  EXPECT_FALSE(tab->SelectItem(-1));
  CControlUI stranger;
  EXPECT_FALSE(tab->SelectItem(&stranger));
  EXPECT_FALSE(tab->SelectItem(static_cast<CControlUI*>(nullptr)));
  window.Paint();
  EXPECT_EQ(tab->GetCurSel(), 0);
  EXPECT_EQ(Shown(*tab), "100");
  EXPECT_TRUE(selections.received.empty());
}

TEST_F(TabWindow, RemovingTheSelectedPageSelectsTheFirstQuietly) {
  ASSERT_TRUE(tab->SelectItem(1));
  selections.received.clear();
  ASSERT_TRUE(tab->Remove(pages[1]));
  window.Paint();
  EXPECT_EQ(tab->GetCurSel(), 0);
  EXPECT_TRUE(pages[0]->IsVisible());
  EXPECT_TRUE(RectIs(pages[0]->GetPos(), RECT{5, 5, 195, 95}));
  EXPECT_TRUE(selections.received.empty());
}

TEST_F(TabWindow, TheSelectedIdAttributeSelects) {
  tab->SetAttribute(L"selectedid", L"1");
  EXPECT_EQ(tab->GetCurSel(), 1);
  ASSERT_EQ(selections.received.size(), 1u);
  tab->SetAttribute(L"selectedid", L"7");
  EXPECT_EQ(tab->GetCurSel(), 1);
  // Other attributes reach the container.
  tab->SetAttribute(L"childpadding", L"3");
  EXPECT_EQ(tab->GetChildPadding(), 3);
}

// --- Placement of the selected page ----------------------------------------------------

TEST(TabLayoutPlacement, ThePageIsSizedWithinItsPaddingAndLimits) {
  struct PlaceCase {
    const char* name;
    int fixedWidth;
    int fixedHeight;
    int maxWidth;
    int minHeight;
    RECT padding;
    RECT expected;
  };
  const PlaceCase cases[] = {
      {"fills the inner rectangle", 0, 0, 9999, 0, {}, {0, 0, 200, 100}},
      {"within its padding", 0, 0, 9999, 0, {10, 5, 20, 15}, {10, 5, 180, 85}},
      {"a fixed size at the top-left", 50, 30, 9999, 0, {2, 3, 0, 0}, {2, 3, 52, 33}},
      {"limited", 0, 0, 120, 150, {}, {0, 0, 120, 150}},
      {"paddings wider than the layout", 0, 0, 9999, 0, {150, 0, 150, 0}, {150, 0, 150, 100}},
  };
  for (const PlaceCase& c : cases) {
    SCOPED_TRACE(c.name);
    CTabLayoutUI tab;
    CControlUI* page = NewBox(L"page", c.fixedWidth, c.fixedHeight);
    page->SetMaxWidth(c.maxWidth);
    page->SetMinHeight(c.minHeight);
    page->SetPadding(c.padding);
    tab.Add(page);
    CControlUI* floating = NewBox(L"floating", 20, 10);
    floating->SetFloat(true);
    floating->SetFixedXY(SIZE{30, 40});
    tab.Add(floating);
    // The floating child is a page too, and hidden like any other.
    tab.GetItemAt(1)->SetVisible(true);
    tab.SetPos(RECT{0, 0, 200, 100});
    EXPECT_TRUE(RectIs(page->GetPos(), c.expected));
    EXPECT_TRUE(RectIs(floating->GetPos(), RECT{30, 40, 50, 50}));
  }
}

TEST(TabLayoutNames, ClassAndInterfaces) {
  CTabLayoutUI tab;
  EXPECT_STREQ(tab.GetClass(), L"TabLayoutUI");
  EXPECT_EQ(tab.GetInterface(L"TabLayout"), &tab);
  EXPECT_EQ(tab.GetInterface(L"Container"), &tab);
  EXPECT_NE(tab.GetInterface(L"IContainer"), nullptr);
  EXPECT_EQ(tab.GetInterface(L"TileLayout"), nullptr);
}

}  // namespace
