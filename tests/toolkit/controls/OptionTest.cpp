// Options and check boxes in a real window: groups and "selectchanged"
// through real clicks, ungrouped toggling, leaving a group, the selected
// images and colours read back as pixels, and the check box.

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "gtest/gtest.h"
#include "tests/toolkit/controls/ButtonTestSupport.h"
#include "toolkit/controls/CheckBoxUI.h"
#include "toolkit/controls/OptionUI.h"
#include "toolkit/core/PaintManagerUI.h"
#include "util/UniqueHandle.h"

namespace {

using SkinUI::CCheckBoxUI;
using SkinUI::COptionUI;
using test::ControlStage;
using test::ControlWindow;
using test::Sent;

COptionUI* NewOption(const wchar_t* name, const wchar_t* group = L"") {
  auto* option = new COptionUI;
  option->SetName(name);
  option->SetGroup(group);
  return option;
}

// Three options of the group "tabs" side by side, each 40 x 20.
class OptionGroup : public ControlWindow {
 protected:
  void SetUp() override {
    a = Place(NewOption(L"a", L"tabs"), L"10,10,50,30");
    b = Place(NewOption(L"b", L"tabs"), L"60,10,100,30");
    c = Place(NewOption(L"c", L"tabs"), L"110,10,150,30");
  }
  void ClickOn(COptionUI* option) {
    const RECT& rc = option->GetPos();
    Click((rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2);
  }
  std::vector<bool> Selection() const {
    return {a->IsSelected(), b->IsSelected(), c->IsSelected()};
  }

  COptionUI* a = nullptr;
  COptionUI* b = nullptr;
  COptionUI* c = nullptr;
};

TEST_F(OptionGroup, TheMembersJoinTheWindowsGroup) {
  SkinUI::CStdPtrArray* group = window.Manager().GetOptionGroup(L"tabs");
  ASSERT_NE(group, nullptr);
  EXPECT_EQ(group->GetSize(), 3);
  EXPECT_GE(group->Find(b), 0);
}

TEST_F(OptionGroup, SelectingOneDeselectsTheOthersWithOneNotification) {
  a->Selected(true);
  c->Selected(true);
  EXPECT_EQ(Selection(), (std::vector<bool>{false, false, true}));
  log.sent.clear();
  ClickOn(b);
  EXPECT_EQ(Selection(), (std::vector<bool>{false, true, false}));
  // "click" first, then the one "selectchanged"; none from the others.
  EXPECT_EQ(log.sent, (std::vector<Sent>{{L"click", L"b", 0}, {L"selectchanged", L"b", 0}}));
  EXPECT_EQ(c->GetButtonState() & SkinUI::UISTATE_SELECTED, 0u);
  EXPECT_NE(b->GetButtonState() & SkinUI::UISTATE_SELECTED, 0u);
}

TEST_F(OptionGroup, ClickingTheSelectedOptionAgainReportsAgainAndKeepsIt) {
  ClickOn(a);
  log.sent.clear();
  ClickOn(a);
  EXPECT_EQ(Selection(), (std::vector<bool>{true, false, false}));
  EXPECT_EQ(log.sent, (std::vector<Sent>{{L"click", L"a", 0}, {L"selectchanged", L"a", 0}}));
}

TEST_F(OptionGroup, DeselectingAMemberOnlyRepaints) {
  a->Selected(true);
  log.sent.clear();
  window.Validate();
  a->Selected(false);
  EXPECT_TRUE(log.sent.empty());
  const RECT dirty = window.UpdateRect();
  EXPECT_TRUE(::EqualRect(&dirty, &a->GetPos()));
}

TEST_F(OptionGroup, AnOptionThatChangesGroupLeavesTheOldOne) {
  a->Selected(true);
  a->SetGroup(L"other");
  EXPECT_EQ(window.Manager().GetOptionGroup(L"tabs")->Find(a), -1);
  ASSERT_NE(window.Manager().GetOptionGroup(L"other"), nullptr);
  ClickOn(b);
  EXPECT_TRUE(a->IsSelected());
  EXPECT_TRUE(b->IsSelected());
  // Setting the same group again changes nothing.
  log.sent.clear();
  a->SetGroup(L"other");
  EXPECT_TRUE(log.sent.empty());
  // Leaving every group makes it a toggle.
  a->SetGroup(L"");
  EXPECT_EQ(window.Manager().GetOptionGroup(L"other"), nullptr);
  ClickOn(a);
  EXPECT_FALSE(a->IsSelected());
}

TEST_F(OptionGroup, ADeletedOptionLeavesItsGroup) {
  root->Remove(b);
  // The root deletes what it removes once the window's queue gets there.
  window.Pump();
  SkinUI::CStdPtrArray* group = window.Manager().GetOptionGroup(L"tabs");
  ASSERT_NE(group, nullptr);
  EXPECT_EQ(group->GetSize(), 2);
  // Selecting a remaining member no longer reaches the deleted one (the
  // heap checks would report it).
  ClickOn(a);
  EXPECT_TRUE(a->IsSelected());
}

TEST_F(OptionGroup, AnOptionTakenToAnotherWindowLeavesTheGroupOfTheFirst) {
  COptionUI loose;
  loose.SetGroup(L"tabs");
  loose.SetManager(&window.Manager(), root, true);
  EXPECT_EQ(window.Manager().GetOptionGroup(L"tabs")->GetSize(), 4);
  test::SkinTestWindow other;
  loose.SetManager(&other.Manager(), nullptr, true);
  EXPECT_EQ(window.Manager().GetOptionGroup(L"tabs")->Find(&loose), -1);
  ASSERT_NE(other.Manager().GetOptionGroup(L"tabs"), nullptr);
  EXPECT_EQ(other.Manager().GetOptionGroup(L"tabs")->Find(&loose), 0);
  loose.SetManager(nullptr, nullptr, false);
  EXPECT_EQ(other.Manager().GetOptionGroup(L"tabs"), nullptr);
}

TEST_F(OptionGroup, ADisabledOptionKeepsItsSelectionAndIgnoresClicks) {
  ClickOn(b);
  MoveTo(75, 20);
  b->SetEnabled(false);
  EXPECT_EQ(b->GetButtonState(), static_cast<UINT>(SkinUI::UISTATE_SELECTED));
  log.sent.clear();
  ClickOn(b);
  EXPECT_TRUE(log.sent.empty());
  EXPECT_TRUE(b->IsSelected());
  a->SetEnabled(false);
  EXPECT_EQ(a->GetButtonState(), 0u);
}

TEST_F(ControlWindow, AnUngroupedOptionTogglesAndReportsEveryTime) {
  COptionUI* option = Place(NewOption(L"solo"), L"10,10,50,30");
  Click(30, 20);
  EXPECT_TRUE(option->IsSelected());
  Click(30, 20);
  EXPECT_FALSE(option->IsSelected());
  EXPECT_EQ(log.sent, (std::vector<Sent>{{L"click", L"solo", 0},
                                         {L"selectchanged", L"solo", 0},
                                         {L"click", L"solo", 0},
                                         {L"selectchanged", L"solo", 0}}));
  // Setting the same state again still reports.
  log.sent.clear();
  option->Selected(false);
  EXPECT_EQ(Of(L"selectchanged").size(), 1u);
}

TEST_F(ControlWindow, AnOptionBuiltBeforeItIsAttachedJoinsItsGroupWhenAttached) {
  // Built the way skins build options: attributes first, attached later.
  COptionUI* first = NewOption(L"first");
  first->SetAttribute(L"group", L"g");
  first->SetAttribute(L"selected", L"true");
  Place(first, L"10,10,50,30");
  COptionUI* second = NewOption(L"second", L"g");
  Place(second, L"60,10,100,30");
  EXPECT_TRUE(first->IsSelected());
  second->Selected(true);
  EXPECT_FALSE(first->IsSelected());
}

// --- Painting ------------------------------------------------------------------

constexpr POINT kBody = {30, 40};
constexpr POINT kForeSpot = {95, 25};
constexpr POINT kInside = {60, 35};

enum class Situation { Idle, Hot, Pushed };

struct SelectedImageCase {
  const char* what;
  const wchar_t* attributes;
  bool selected;
  Situation situation;
  uint32_t body;
  uint32_t fore;
};

#define STATE_IMAGES                                                                 \
  L"normalimage=\"normal.png\" hotimage=\"hot.png\" pushedimage=\"pushed.png\" "     \
  L"foreimage=\"file='fore.png' dest='70,0,80,10'\" selectedimage=\"selected.png\" " \
  L"selectedhotimage=\"selectedhot.png\" selectedpushedimage=\"selectedpushed.png\""
#define SELECTED_FORE L" selectedforeimage=\"file='selectedfore.png' dest='70,0,80,10'\""

const SelectedImageCase kSelectedImages[] = {
    {"not selected: the button rules", STATE_IMAGES, false, Situation::Idle, test::kNormal,
     test::kFore},
    {"not selected, hot", STATE_IMAGES, false, Situation::Hot, test::kHot, test::kFore},
    {"selected", STATE_IMAGES, true, Situation::Idle, test::kSelected, test::kFore},
    {"selected with its foreground", STATE_IMAGES SELECTED_FORE, true, Situation::Idle,
     test::kSelected, test::kSelectedFore},
    {"not selected: the selected foreground is not used", STATE_IMAGES SELECTED_FORE, false,
     Situation::Idle, test::kNormal, test::kFore},
    {"selected and hot", STATE_IMAGES, true, Situation::Hot, test::kSelectedHot, test::kFore},
    {"selected and pushed", STATE_IMAGES, true, Situation::Pushed, test::kSelectedPushed,
     test::kFore},
    {"selected and hot without a selected-hot image: selected",
     L"normalimage=\"normal.png\" hotimage=\"hot.png\" selectedimage=\"selected.png\"", true,
     Situation::Hot, test::kSelected, test::kSelected},
    {"selected without selected images: the selected colour and nothing more",
     L"normalimage=\"normal.png\" selectedbkcolor=\"#FF2040C0\" foreimage=\"file='fore.png' "
     L"dest='70,0,80,10'\"",
     true, Situation::Idle, 0x2040C0, 0x2040C0},
    {"selected with a broken selected image: the colour",
     L"normalimage=\"normal.png\" selectedimage=\"broken.png\" selectedbkcolor=\"#FF2040C0\"", true,
     Situation::Idle, 0x2040C0, 0x2040C0},
    {"selected without image or colour: the button rules",
     L"normalimage=\"normal.png\" hotimage=\"hot.png\" foreimage=\"file='fore.png' "
     L"dest='70,0,80,10'\"",
     true, Situation::Hot, test::kHot, test::kFore},
    {"selected image wins over the colour",
     L"selectedimage=\"selected.png\" selectedbkcolor=\"#FF2040C0\"", true, Situation::Idle,
     test::kSelected, test::kSelected},
};

TEST(OptionSelectedImages, SelectedImagesStandInForTheStateImages) {
  for (const SelectedImageCase& c : kSelectedImages) {
    ControlStage stage;
    COptionUI* option = stage.Place(NewOption(L"o"), L"20,20,100,50");
    option->ApplyAttributeList(c.attributes);
    option->Selected(c.selected);
    if (c.situation != Situation::Idle) stage.MoveTo(kInside.x, kInside.y);
    if (c.situation == Situation::Pushed) stage.Press(kInside.x, kInside.y);
    EXPECT_EQ(stage.PaintedPixel(kBody.x, kBody.y), c.body) << c.what;
    EXPECT_EQ(stage.PaintedPixel(kForeSpot.x, kForeSpot.y), c.fore) << c.what;
    EXPECT_EQ(stage.PaintedPixel(19, 35), test::kWindow) << c.what;
    stage.Release(150, 80);
  }
}

// Counts the pixels of each colour in the option's rectangle.
int CountOf(const std::vector<uint32_t>& pixels, uint32_t colour) {
  int count = 0;
  for (uint32_t pixel : pixels) count += pixel == colour ? 1 : 0;
  return count;
}

TEST(OptionTextColours, TheSelectedColourReplacesTheTextColourWhileSelected) {
  struct TextCase {
    const char* what;
    bool selected;
    bool enabled;
    bool hot;
    uint32_t expected;
  };
  const TextCase cases[] = {
      {"not selected", false, true, false, 0x100000},
      {"not selected and hot: the hot colour", false, true, true, 0x00C000},
      {"selected", true, true, false, 0x2040C0},
      {"selected and hot: no hot colour", true, true, true, 0x2040C0},
      {"selected and disabled", true, false, false, 0xA0A0A0},
  };
  const uint32_t all[] = {0x100000, 0x00C000, 0x2040C0, 0xA0A0A0};
  for (const TextCase& c : cases) {
    ControlStage stage;
    // A large bold font, so that the stems hold pixels of the exact
    // colour; anti-aliased edges blend with the white below.
    stage.window.Manager().AddFont(L"Tahoma", 24, true, false, false);
    COptionUI* option = stage.Place(NewOption(L"o"), L"20,20,100,50");
    option->ApplyAttributeList(
        L"font=\"0\" text=\"HH\" textcolor=\"#FF100000\" hottextcolor=\"#FF00C000\" "
        L"selectedtextcolor=\"#FF2040C0\" disabledtextcolor=\"#FFA0A0A0\"");
    option->Selected(c.selected);
    option->SetEnabled(c.enabled);
    if (c.hot) stage.MoveTo(kInside.x, kInside.y);
    const std::vector<uint32_t> pixels = stage.Capture(RECT{20, 20, 100, 50});
    for (uint32_t colour : all) {
      if (colour == c.expected) {
        EXPECT_GT(CountOf(pixels, colour), 20) << c.what;
      } else {
        EXPECT_EQ(CountOf(pixels, colour), 0) << c.what << ": colour " << std::hex << colour;
      }
    }
    // The text colour itself is kept for when the option is deselected.
    EXPECT_EQ(option->GetTextColor(), 0xFF100000u) << c.what;
  }
}

TEST_F(ControlWindow, TheSelectedTextColourDefaultsToTheWindowsFontColour) {
  window.Manager().SetDefaultFontColor(0xFF334455);
  COptionUI* option = Place(NewOption(L"o"), L"20,20,100,50");
  EXPECT_EQ(option->GetSelectedTextColor(), 0xFF334455u);
  window.Manager().SetDefaultFontColor(0xFF000000);
  EXPECT_EQ(option->GetSelectedTextColor(), 0xFF334455u);
  COptionUI loose;
  EXPECT_EQ(loose.GetSelectedTextColor(), 0u);
}

TEST(OptionEstimate, FontHeightPlusEightAndTheTextsWidthWhenAsked) {
  ControlStage stage;
  stage.window.Manager().SetDefaultFont(L"Tahoma", 12, false, false, false);
  COptionUI* option = NewOption(L"o");
  stage.root->Add(option);
  TEXTMETRICW tm = {};
  SIZE extent = {};
  {
    CGdiObject font(::CreateFontW(-12, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET, 0,
                                  0, 0, 0, L"Tahoma"));
    CWindowDc dc(stage.window.Get());
    CSelectObject select(dc.Get(), font.Get());
    ::GetTextMetricsW(dc.Get(), &tm);
    ::GetTextExtentPoint32W(dc.Get(), L"Options", 7, &extent);
  }
  ASSERT_GT(tm.tmHeight, 0);
  EXPECT_EQ(option->EstimateSize(SIZE{200, 100}).cy, tm.tmHeight + 8);
  option->ApplyAttributeList(L"text=\"Options\" textpadding=\"3,0,5,0\" autocalcwidth=\"true\"");
  const SIZE size = option->EstimateSize(SIZE{200, 100});
  EXPECT_EQ(size.cx, extent.cx + 8);
  EXPECT_EQ(option->GetFixedWidth(), extent.cx + 8);
}

// --- Attributes and names --------------------------------------------------------

struct OptionAttributeCase {
  const wchar_t* name;
  const wchar_t* value;
  std::function<bool(COptionUI&)> holds;
  const char* expectation;
};

const OptionAttributeCase kOptionAttributes[] = {
    {L"group", L"tabs", [](COptionUI& o) { return std::wstring(o.GetGroup()) == L"tabs"; },
     "group"},
    {L"selected", L"true", [](COptionUI& o) { return o.IsSelected(); }, "selected"},
    {L"selected", L"TRUE", [](COptionUI& o) { return !o.IsSelected(); }, "only exact true selects"},
    {L"selectedimage", L"selected.png",
     [](COptionUI& o) { return std::wstring(o.GetSelectedImage()) == L"selected.png"; },
     "selectedimage"},
    {L"selectedhotimage", L"selectedhot.png",
     [](COptionUI& o) { return std::wstring(o.GetSelectedHotImage()) == L"selectedhot.png"; },
     "selectedhotimage"},
    {L"selectedpushedimage", L"selectedpushed.png",
     [](COptionUI& o) { return std::wstring(o.GetSelectedPushedImage()) == L"selectedpushed.png"; },
     "selectedpushedimage"},
    {L"selectedforeimage", L"selectedfore.png",
     [](COptionUI& o) { return std::wstring(o.GetSelectedForedImage()) == L"selectedfore.png"; },
     "selectedforeimage"},
    {L"selectedbkcolor", L"#FF102030",
     [](COptionUI& o) { return o.GetSelectBkColor() == 0xFF102030; }, "selectedbkcolor"},
    {L"selectedtextcolor", L"FF102030",
     [](COptionUI& o) { return o.GetSelectedTextColor() == 0xFF102030; }, "selectedtextcolor"},
    {L"hotbkcolor", L"#FF102030", [](COptionUI& o) { return o.GetHotBkColor() == 0xFF102030; },
     "button attributes reach the option"},
};

TEST(OptionAttributes, EachAttributeSetsItsField) {
  for (const OptionAttributeCase& c : kOptionAttributes) {
    COptionUI option;
    option.SetAttribute(c.name, c.value);
    EXPECT_TRUE(c.holds(option)) << c.expectation;
  }
}

TEST(OptionAttributes, NamesOfOptionsAndCheckBoxes) {
  COptionUI option;
  EXPECT_STREQ(option.GetClass(), L"OptionUI");
  EXPECT_EQ(option.GetInterface(L"Option"), &option);
  EXPECT_EQ(option.GetInterface(L"Button"), static_cast<SkinUI::CButtonUI*>(&option));
  EXPECT_FALSE(option.IsSelected());
  EXPECT_STREQ(option.GetGroup(), L"");
  CCheckBoxUI box;
  EXPECT_STREQ(box.GetClass(), L"CheckBoxUI");
  EXPECT_EQ(box.GetInterface(L"Option"), static_cast<COptionUI*>(&box));
  EXPECT_EQ(box.GetInterface(L"CheckBox"), nullptr);
}

TEST_F(ControlWindow, ACheckBoxIsCheckedByClicksAndByItsSetter) {
  auto* box = new CCheckBoxUI;
  box->SetName(L"box");
  Place(box, L"10,10,30,30");
  EXPECT_FALSE(box->GetCheck());
  Click(20, 20);
  EXPECT_TRUE(box->GetCheck());
  EXPECT_TRUE(box->IsSelected());
  Click(20, 20);
  EXPECT_FALSE(box->GetCheck());
  box->SetCheck(true);
  EXPECT_TRUE(box->GetCheck());
  EXPECT_EQ(Of(L"selectchanged").size(), 3u);
  EXPECT_EQ(Of(L"click").size(), 2u);
}

}  // namespace
