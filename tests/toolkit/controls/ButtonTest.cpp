// Buttons in a real window: clicks and keys through the message path, the
// state machine, state images and their fallbacks read back as pixels,
// text colours by state, attributes, and the bound tab page.

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "gtest/gtest.h"
#include "tests/toolkit/controls/ButtonTestSupport.h"
#include "toolkit/controls/ButtonUI.h"
#include "toolkit/controls/LabelUI.h"
#include "toolkit/controls/TabLayoutUI.h"
#include "toolkit/core/PaintManagerUI.h"
#include "util/UniqueHandle.h"

namespace {

using SkinUI::CButtonUI;
using SkinUI::CTabLayoutUI;
using test::ControlStage;
using test::ControlWindow;
using test::Sent;

// The button of most tests, and points inside and outside it.
constexpr const wchar_t* kButtonPos = L"20,20,100,50";
constexpr POINT kInside = {60, 35};
constexpr POINT kOutside = {150, 70};
// Where the body of the state image shows, and where the foreground
// image drawn into the button's top-right corner shows.
constexpr POINT kBody = {30, 40};
constexpr POINT kForeSpot = {95, 25};
constexpr const wchar_t* kFore = L"foreimage=\"file='fore.png' dest='70,0,80,10'\"";

CButtonUI* NewButton(const wchar_t* name = L"ok") {
  auto* button = new CButtonUI;
  button->SetName(name);
  return button;
}

class ButtonInWindow : public ControlWindow {
 protected:
  void SetUp() override { button = Place(NewButton(), kButtonPos); }
  CButtonUI* button = nullptr;
};

// --- Clicks and keys ---------------------------------------------------------

TEST_F(ButtonInWindow, AClickSendsClickOnce) {
  Click(kInside.x, kInside.y);
  EXPECT_EQ(log.sent, (std::vector<Sent>{{L"click", L"ok", 0}}));
  EXPECT_EQ(button->GetButtonState() & (SkinUI::UISTATE_PUSHED | SkinUI::UISTATE_CAPTURED), 0u);
}

TEST_F(ButtonInWindow, PressedDraggedOffAndReleasedSendsNothing) {
  MoveTo(kInside.x, kInside.y);
  Press(kInside.x, kInside.y);
  EXPECT_EQ(button->GetButtonState() & (SkinUI::UISTATE_PUSHED | SkinUI::UISTATE_CAPTURED),
            SkinUI::UISTATE_PUSHED | SkinUI::UISTATE_CAPTURED);
  MoveTo(kOutside.x, kOutside.y);
  // Still captured, no longer pushed.
  EXPECT_EQ(button->GetButtonState() & (SkinUI::UISTATE_PUSHED | SkinUI::UISTATE_CAPTURED),
            SkinUI::UISTATE_CAPTURED);
  Release(kOutside.x, kOutside.y);
  EXPECT_TRUE(Of(L"click").empty());
  EXPECT_EQ(button->GetButtonState() & (SkinUI::UISTATE_PUSHED | SkinUI::UISTATE_CAPTURED), 0u);
}

TEST_F(ButtonInWindow, DraggedOffAndBackInsideStillClicks) {
  MoveTo(kInside.x, kInside.y);
  Press(kInside.x, kInside.y);
  MoveTo(kOutside.x, kOutside.y);
  MoveTo(kInside.x + 5, kInside.y);
  EXPECT_NE(button->GetButtonState() & SkinUI::UISTATE_PUSHED, 0u);
  Release(kInside.x + 5, kInside.y);
  EXPECT_EQ(Of(L"click").size(), 1u);
}

TEST_F(ButtonInWindow, AReleaseWithoutAPressDoesNothing) {
  MoveTo(kInside.x, kInside.y);
  Release(kInside.x, kInside.y);
  // Pressed outside, released inside: the press went to the root.
  Press(kOutside.x, kOutside.y);
  MoveTo(kInside.x, kInside.y);
  Release(kInside.x, kInside.y);
  EXPECT_TRUE(Of(L"click").empty());
}

TEST_F(ButtonInWindow, SpaceAndEnterOnTheFocusedButtonClick) {
  struct KeyCase {
    WPARAM key;
    bool keyboard;
    size_t clicks;
  };
  const KeyCase cases[] = {
      {VK_SPACE, true, 1},  {VK_RETURN, true, 1}, {'A', true, 0},
      {VK_ESCAPE, true, 0}, {VK_SPACE, false, 0}, {VK_RETURN, false, 0},
  };
  for (const KeyCase& c : cases) {
    log.sent.clear();
    button->SetKeyboardEnabled(c.keyboard);
    button->SetFocus();
    ASSERT_EQ(window.Manager().GetFocus(), button);
    Key(c.key);
    EXPECT_EQ(Of(L"click").size(), c.clicks) << "key " << c.key << " keyboard " << c.keyboard;
  }
}

TEST_F(ButtonInWindow, ADisabledButtonSendsNothing) {
  log.withHover = true;
  MoveTo(kInside.x, kInside.y);
  ASSERT_NE(button->GetButtonState() & SkinUI::UISTATE_HOT, 0u);
  button->SetEnabled(false);
  // Disabling clears every state bit.
  EXPECT_EQ(button->GetButtonState(), 0u);
  log.sent.clear();
  MoveTo(kOutside.x, kOutside.y);
  Click(kInside.x, kInside.y);
  MoveTo(kOutside.x, kOutside.y);
  EXPECT_FALSE(button->Activate());
  button->SetFocus();
  EXPECT_NE(window.Manager().GetFocus(), button);
  Key(VK_SPACE);
  EXPECT_TRUE(log.sent.empty()) << log.sent.front();
  // Enabled again, it works again.
  button->SetEnabled(true);
  Click(kInside.x, kInside.y);
  EXPECT_EQ(Of(L"click").size(), 1u);
}

TEST_F(ButtonInWindow, TheMouseComingAndGoingIsReported) {
  log.withHover = true;
  MoveTo(kInside.x, kInside.y);
  EXPECT_NE(button->GetButtonState() & SkinUI::UISTATE_HOT, 0u);
  MoveTo(kOutside.x, kOutside.y);
  EXPECT_EQ(button->GetButtonState() & SkinUI::UISTATE_HOT, 0u);
  EXPECT_EQ(log.sent, (std::vector<Sent>{{L"mouseenter", L"ok", 0}, {L"mouseleave", L"ok", 0}}));
}

TEST_F(ButtonInWindow, ADoubleClickSendsDbclickAndClicksTwice) {
  DoubleClick(kInside.x, kInside.y);
  EXPECT_EQ(log.sent, (std::vector<Sent>{
                          {L"click", L"ok", 0}, {L"dbclick", L"ok", 0}, {L"click", L"ok", 0}}));
}

TEST_F(ButtonInWindow, AContextMenuIsReportedOnlyWithTheMenuFlag) {
  for (bool menu : {false, true}) {
    log.sent.clear();
    button->SetContextMenuUsed(menu);
    MoveTo(kInside.x, kInside.y);
    window.PostMouse(WM_RBUTTONDOWN, kInside.x, kInside.y, MK_RBUTTON);
    POINT screen = kInside;
    ::ClientToScreen(window.Get(), &screen);
    ::PostMessageW(window.Get(), WM_CONTEXTMENU, reinterpret_cast<WPARAM>(window.Get()),
                   MAKELPARAM(screen.x, screen.y));
    window.Pump();
    EXPECT_EQ(Of(L"menu").size(), menu ? 1u : 0u) << "menu flag " << menu;
    EXPECT_TRUE(Of(L"click").empty());
  }
}

TEST_F(ButtonInWindow, TheCursorIsTheHandUnlessTurnedOff) {
  SkinUI::TEventUI event;
  event.Type = SkinUI::EventSetCursor;
  event.ptMouse = kInside;
  button->Event(event);
  EXPECT_EQ(::GetCursor(), ::LoadCursorW(nullptr, IDC_HAND));
  button->SetCursorHand(false);
  button->Event(event);
  EXPECT_EQ(::GetCursor(), ::LoadCursorW(nullptr, IDC_ARROW));
}

TEST_F(ButtonInWindow, FlagsFollowEnabledAndKeyboard) {
  EXPECT_EQ(button->GetControlFlags(), SkinUI::ControlFlagSetCursor | SkinUI::ControlFlagTabStop);
  button->SetKeyboardEnabled(false);
  EXPECT_EQ(button->GetControlFlags(), SkinUI::ControlFlagSetCursor);
  button->SetEnabled(false);
  EXPECT_EQ(button->GetControlFlags(), 0u);
}

// --- State images ---------------------------------------------------------------

enum class Situation { Idle, Hot, Pushed, PushedOff, Focused, FocusedHot, Disabled };

// Brings the button into the situation through the window's input, or
// through its own setters where input has no say.
void Enter(ControlStage& stage, CButtonUI* button, Situation situation) {
  switch (situation) {
    case Situation::Idle:
      break;
    case Situation::Hot:
      stage.MoveTo(kInside.x, kInside.y);
      break;
    case Situation::Pushed:
      stage.MoveTo(kInside.x, kInside.y);
      stage.Press(kInside.x, kInside.y);
      break;
    case Situation::PushedOff:
      stage.MoveTo(kInside.x, kInside.y);
      stage.Press(kInside.x, kInside.y);
      stage.MoveTo(kOutside.x, kOutside.y);
      break;
    case Situation::Focused:
      button->SetFocus();
      break;
    case Situation::FocusedHot:
      button->SetFocus();
      stage.MoveTo(kInside.x, kInside.y);
      break;
    case Situation::Disabled:
      button->SetEnabled(false);
      break;
  }
}

struct StateImageCase {
  const char* what;
  const wchar_t* images;  // an attribute list
  Situation situation;
  uint32_t body;
  uint32_t fore;
};

#define ALL_IMAGES                                                                            \
  L"normalimage=\"normal.png\" hotimage=\"hot.png\" pushedimage=\"pushed.png\" "              \
  L"focusedimage=\"focused.png\" disabledimage=\"disabled.png\" foreimage=\"file='fore.png' " \
  L"dest='70,0,80,10'\""

const StateImageCase kStateImages[] = {
    {"idle: normal", ALL_IMAGES, Situation::Idle, test::kNormal, test::kFore},
    {"hot: hot", ALL_IMAGES, Situation::Hot, test::kHot, test::kFore},
    {"hot with its own foreground",
     ALL_IMAGES L" hotforeimage=\"file='hotfore.png' dest='70,0,80,10'\"", Situation::Hot,
     test::kHot, test::kHotFore},
    {"pushed: pushed", ALL_IMAGES, Situation::Pushed, test::kPushed, test::kFore},
    {"pushed with its own foreground",
     ALL_IMAGES L" pushedforeimage=\"file='pushedfore.png' dest='70,0,80,10'\"", Situation::Pushed,
     test::kPushed, test::kPushedFore},
    {"pushed without a pushed image: normal, not hot",
     L"normalimage=\"normal.png\" hotimage=\"hot.png\" foreimage=\"file='fore.png' "
     L"dest='70,0,80,10'\"",
     Situation::Pushed, test::kNormal, test::kFore},
    {"pushed with a pushed image that does not load: normal",
     L"normalimage=\"normal.png\" pushedimage=\"broken.png\"", Situation::Pushed, test::kNormal,
     test::kNormal},
    {"pushed then dragged off: focused by the press", ALL_IMAGES, Situation::PushedOff,
     test::kFocused, test::kFore},
    {"pushed then dragged off without a focused image: normal",
     L"normalimage=\"normal.png\" hotimage=\"hot.png\" pushedimage=\"pushed.png\"",
     Situation::PushedOff, test::kNormal, test::kNormal},
    {"focused: focused", ALL_IMAGES, Situation::Focused, test::kFocused, test::kFore},
    {"focused without a focused image: normal", L"normalimage=\"normal.png\"", Situation::Focused,
     test::kNormal, test::kNormal},
    {"focused and hot without hot image or colour: normal, not focused",
     L"normalimage=\"normal.png\" focusedimage=\"focused.png\"", Situation::FocusedHot,
     test::kNormal, test::kNormal},
    {"focused and hot: hot wins", ALL_IMAGES, Situation::FocusedHot, test::kHot, test::kFore},
    {"disabled: disabled", ALL_IMAGES, Situation::Disabled, test::kDisabled, test::kFore},
    {"disabled without a disabled image: normal",
     L"normalimage=\"normal.png\" hotimage=\"hot.png\" foreimage=\"file='fore.png' "
     L"dest='70,0,80,10'\"",
     Situation::Disabled, test::kNormal, test::kFore},
    {"disabled with a missing disabled image: normal",
     L"normalimage=\"normal.png\" disabledimage=\"missing.png\"", Situation::Disabled,
     test::kNormal, test::kNormal},
    {"hot without hot image: the hot colour and nothing more",
     L"normalimage=\"normal.png\" hotbkcolor=\"#FF0080FF\" foreimage=\"file='fore.png' "
     L"dest='70,0,80,10'\"",
     Situation::Hot, 0x0080FF, 0x0080FF},
    {"hot with hot image and colour: the image", ALL_IMAGES L" hotbkcolor=\"#FF0080FF\"",
     Situation::Hot, test::kHot, test::kFore},
    {"idle with a hot colour: normal", ALL_IMAGES L" hotbkcolor=\"#FF0080FF\"", Situation::Idle,
     test::kNormal, test::kFore},
    {"no images at all: the window shows through", L"", Situation::Hot, test::kWindow,
     test::kWindow},
};

TEST(ButtonStateImages, TheFirstStateThatHoldsChoosesTheImage) {
  for (const StateImageCase& c : kStateImages) {
    ControlStage stage;
    CButtonUI* button = stage.Place(NewButton(), kButtonPos);
    button->ApplyAttributeList(c.images);
    Enter(stage, button, c.situation);
    EXPECT_EQ(stage.PaintedPixel(kBody.x, kBody.y), c.body) << c.what;
    EXPECT_EQ(stage.PaintedPixel(kForeSpot.x, kForeSpot.y), c.fore) << c.what;
    // Nothing is drawn outside the button.
    EXPECT_EQ(stage.PaintedPixel(19, 35), test::kWindow) << c.what;
    EXPECT_EQ(stage.PaintedPixel(100, 35), test::kWindow) << c.what;
    stage.Release(kOutside.x, kOutside.y);
  }
}

TEST_F(ButtonInWindow, TheImageFollowsTheMouseThroughAClick) {
  button->ApplyAttributeList(ALL_IMAGES);
  EXPECT_EQ(PaintedPixel(kBody.x, kBody.y), test::kNormal);
  MoveTo(kInside.x, kInside.y);
  EXPECT_EQ(PaintedPixel(kBody.x, kBody.y), test::kHot);
  Press(kInside.x, kInside.y);
  EXPECT_EQ(PaintedPixel(kBody.x, kBody.y), test::kPushed);
  Release(kInside.x, kInside.y);
  // Released inside, the mouse is still over it; the click focused it.
  EXPECT_EQ(PaintedPixel(kBody.x, kBody.y), test::kHot);
  MoveTo(kOutside.x, kOutside.y);
  EXPECT_EQ(PaintedPixel(kBody.x, kBody.y), test::kFocused);
  window.Manager().SetFocus(nullptr);
  EXPECT_EQ(PaintedPixel(kBody.x, kBody.y), test::kNormal);
}

// --- Text colours ------------------------------------------------------------

struct TextColourCase {
  const char* what;
  const wchar_t* colours;
  Situation situation;
  uint32_t expected;
};

#define ALL_COLOURS                                                                    \
  L"textcolor=\"#FF100000\" hottextcolor=\"#FF00C000\" pushedtextcolor=\"#FF0000C0\" " \
  L"focusedtextcolor=\"#FFC0C000\" disabledtextcolor=\"#FFA0A0A0\""

const TextColourCase kTextColours[] = {
    {"idle", ALL_COLOURS, Situation::Idle, 0x100000},
    {"hot", ALL_COLOURS, Situation::Hot, 0x00C000},
    {"pushed", ALL_COLOURS, Situation::Pushed, 0x0000C0},
    {"pushed off: focused by the press", ALL_COLOURS, Situation::PushedOff, 0xC0C000},
    {"pushed off without a focused colour: the text colour",
     L"textcolor=\"#FF100000\" hottextcolor=\"#FF00C000\" pushedtextcolor=\"#FF0000C0\"",
     Situation::PushedOff, 0x100000},
    {"focused", ALL_COLOURS, Situation::Focused, 0xC0C000},
    {"focused and hot: hot", ALL_COLOURS, Situation::FocusedHot, 0x00C000},
    {"disabled", ALL_COLOURS, Situation::Disabled, 0xA0A0A0},
    {"pushed without a pushed colour: hot", L"textcolor=\"#FF100000\" hottextcolor=\"#FF00C000\"",
     Situation::Pushed, 0x00C000},
    {"hot without a hot colour: the text colour", L"textcolor=\"#FF100000\"", Situation::Hot,
     0x100000},
};

TEST(ButtonTextColours, TheColourOfTheStrongestStateThatHasOne) {
  const uint32_t all[] = {0x100000, 0x00C000, 0x0000C0, 0xC0C000, 0xA0A0A0};
  for (const TextColourCase& c : kTextColours) {
    ControlStage stage;
    // A large bold font, so that the stems hold pixels of the exact
    // colour; anti-aliased edges blend with the white below.
    stage.window.Manager().AddFont(L"Tahoma", 24, true, false, false);
    CButtonUI* button = stage.Place(NewButton(), kButtonPos);
    button->SetFont(0);
    button->SetText(L"HH");
    button->ApplyAttributeList(c.colours);
    Enter(stage, button, c.situation);
    const std::vector<uint32_t> pixels = stage.Capture(RECT{20, 20, 100, 50});
    for (uint32_t colour : all) {
      int count = 0;
      for (uint32_t pixel : pixels) count += pixel == colour ? 1 : 0;
      if (colour == c.expected) {
        EXPECT_GT(count, 20) << c.what;
      } else {
        EXPECT_EQ(count, 0) << c.what << ": colour " << std::hex << colour;
      }
    }
    stage.Release(kOutside.x, kOutside.y);
  }
}

TEST_F(ControlWindow, UnsetButtonColoursComeFromTheWindowAtTheFirstPaint) {
  window.Manager().SetDefaultFontColor(0xFF123456);
  window.Manager().SetDefaultDisabledColor(0xFF654321);
  CButtonUI* button = NewButton();
  button->SetTextColor(0xFF000001);
  Place(button, kButtonPos);
  EXPECT_EQ(button->GetTextColor(), 0xFF000001u);
  EXPECT_EQ(button->GetDisabledTextColor(), 0xFF654321u);
  // Once taken, a colour stays even when the window's default changes.
  window.Manager().SetDefaultDisabledColor(0xFF111111);
  button->Invalidate();
  window.Paint();
  EXPECT_EQ(button->GetDisabledTextColor(), 0xFF654321u);
}

// --- Size and attributes -------------------------------------------------------

TEST(ButtonEstimate, FontHeightPlusEightUnlessTheHeightIsFixed) {
  ControlStage stage;
  stage.window.Manager().SetDefaultFont(L"Tahoma", 12, false, false, false);
  auto* button = new CButtonUI;
  stage.root->Add(button);
  // The height of the same font, measured here.
  TEXTMETRICW tm = {};
  {
    CGdiObject font(::CreateFontW(-12, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET, 0,
                                  0, 0, 0, L"Tahoma"));
    CWindowDc dc(stage.window.Get());
    CSelectObject select(dc.Get(), font.Get());
    ::GetTextMetricsW(dc.Get(), &tm);
  }
  const int fontHeight = tm.tmHeight;
  ASSERT_GT(fontHeight, 0);
  button->SetFixedWidth(70);
  SIZE size = button->EstimateSize(SIZE{200, 100});
  EXPECT_EQ(size.cx, 70);
  EXPECT_EQ(size.cy, fontHeight + 8);
  button->SetFixedHeight(33);
  size = button->EstimateSize(SIZE{200, 100});
  EXPECT_EQ(size.cy, 33);
}

struct ButtonAttributeCase {
  const wchar_t* name;
  const wchar_t* value;
  std::function<bool(CButtonUI&)> holds;
  const char* expectation;
};

const ButtonAttributeCase kButtonAttributes[] = {
    {L"hotbkcolor", L"#FF102030", [](CButtonUI& b) { return b.GetHotBkColor() == 0xFF102030; },
     "hotbkcolor"},
    {L"hottextcolor", L"FF102030", [](CButtonUI& b) { return b.GetHotTextColor() == 0xFF102030; },
     "hottextcolor without #"},
    {L"pushedtextcolor", L"#FF102030",
     [](CButtonUI& b) { return b.GetPushedTextColor() == 0xFF102030; }, "pushedtextcolor"},
    {L"focusedtextcolor", L"#FF102030",
     [](CButtonUI& b) { return b.GetFocusedTextColor() == 0xFF102030; }, "focusedtextcolor"},
    {L"hotforeimage", L"hotfore.png",
     [](CButtonUI& b) { return std::wstring(b.GetHotForeImage()) == L"hotfore.png"; },
     "hotforeimage"},
    {L"pushedforeimage", L"pushedfore.png",
     [](CButtonUI& b) { return std::wstring(b.GetPushedForeImage()) == L"pushedfore.png"; },
     "pushedforeimage"},
    {L"bindtabindex", L"2", [](CButtonUI& b) { return b.GetBindTabLayoutIndex() == 2; },
     "bindtabindex"},
    {L"bindtabindex", L"-3", [](CButtonUI& b) { return b.GetBindTabLayoutIndex() == -1; },
     "a negative bindtabindex is ignored"},
    {L"bindtablayoutname", L"switch",
     [](CButtonUI& b) { return b.GetBindTabLayoutName() == L"switch"; }, "bindtablayoutname"},
    {L"multiline", L"true",
     [](CButtonUI& b) {
       return (b.GetTextStyle() & DT_WORDBREAK) != 0 && (b.GetTextStyle() & DT_SINGLELINE) == 0;
     },
     "multiline on"},
    {L"multiline", L"false",
     [](CButtonUI& b) {
       return (b.GetTextStyle() & DT_WORDBREAK) == 0 && (b.GetTextStyle() & DT_SINGLELINE) != 0;
     },
     "multiline off"},
    {L"textcolor", L"#FF445566", [](CButtonUI& b) { return b.GetTextColor() == 0xFF445566; },
     "label attributes reach the button"},
    {L"width", L"40", [](CButtonUI& b) { return b.GetFixedWidth() == 40; },
     "control attributes reach the button"},
};

TEST(ButtonAttributes, EachAttributeSetsItsField) {
  for (const ButtonAttributeCase& c : kButtonAttributes) {
    CButtonUI button;
    button.SetAttribute(c.name, c.value);
    EXPECT_TRUE(c.holds(button)) << c.expectation;
  }
}

TEST(ButtonAttributes, DefaultsAndNames) {
  CButtonUI button;
  EXPECT_STREQ(button.GetClass(), L"ButtonUI");
  EXPECT_EQ(button.GetInterface(L"Button"), &button);
  EXPECT_EQ(button.GetInterface(L"Label"), static_cast<SkinUI::CLabelUI*>(&button));
  EXPECT_EQ(button.GetInterface(L"Control"), static_cast<SkinUI::CControlUI*>(&button));
  EXPECT_EQ(button.GetInterface(L"Option"), nullptr);
  EXPECT_EQ(button.GetTextStyle(), static_cast<UINT>(DT_SINGLELINE | DT_VCENTER | DT_CENTER));
  EXPECT_EQ(button.GetBindTabLayoutIndex(), -1);
  EXPECT_TRUE(button.GetBindTabLayoutName().IsEmpty());
  EXPECT_EQ(button.GetButtonState(), 0u);
  // Without a window there is nobody to click for.
  EXPECT_TRUE(button.Activate());
}

// --- The bound tab page ---------------------------------------------------------

class BoundTabs : public ControlWindow {
 protected:
  void SetUp() override {
    tabs = new CTabLayoutUI;
    tabs->SetName(L"switch");
    for (const wchar_t* page : {L"page0", L"page1", L"page2"}) {
      auto* label = new SkinUI::CLabelUI;
      label->SetName(page);
      tabs->Add(label);
    }
    Place(tabs, L"0,60,200,100");
    button = Place(NewButton(), kButtonPos);
    watch.tabs = tabs;
    window.Manager().AddNotifier(&watch);
  }
  void TearDown() override { window.Manager().RemoveNotifier(&watch); }

  // The selected page at the time of each "click".
  struct Watch : SkinUI::INotifyUI {
    void Notify(SkinUI::TNotifyUI& msg) override {
      if (msg.sType == L"click") pageAtClick.push_back(tabs->GetCurSel());
    }
    CTabLayoutUI* tabs = nullptr;
    std::vector<int> pageAtClick;
  } watch;

  CTabLayoutUI* tabs = nullptr;
  CButtonUI* button = nullptr;
};

TEST_F(BoundTabs, AClickSelectsTheBoundPageAfterSendingClick) {
  ASSERT_EQ(tabs->GetCurSel(), 0);
  button->SetAttribute(L"bindtablayoutname", L"switch");
  button->SetAttribute(L"bindtabindex", L"2");
  Click(kInside.x, kInside.y);
  EXPECT_EQ(watch.pageAtClick, (std::vector<int>{0}));
  EXPECT_EQ(tabs->GetCurSel(), 2);
  EXPECT_TRUE(window.Manager().FindControl(L"page2")->IsVisible());
  EXPECT_FALSE(window.Manager().FindControl(L"page0")->IsVisible());
}

TEST_F(BoundTabs, AnExplicitIndexWinsOverTheBoundOne) {
  button->BindTabLayoutName(L"switch");
  button->BindTriggerTabSel(1);
  EXPECT_EQ(tabs->GetCurSel(), 1);
  button->BindTabIndex(2);
  button->BindTriggerTabSel();
  EXPECT_EQ(tabs->GetCurSel(), 2);
  button->BindTriggerTabSel(0);
  EXPECT_EQ(tabs->GetCurSel(), 0);
}

TEST_F(BoundTabs, WithoutATabLayoutOrAnIndexNothingIsSelected) {
  struct BindCase {
    const wchar_t* name;
    int index;
    const char* what;
  };
  const BindCase cases[] = {
      {L"page1", 2, "the name of a control that is no tab layout"},
      {L"nosuch", 2, "the name of no control"},
      {L"", 2, "no name"},
      {L"switch", -1, "no index"},
  };
  for (const BindCase& c : cases) {
    tabs->SelectItem(0);
    button->RemoveBindTabIndex();
    button->BindTabLayoutName(c.name);
    button->BindTabIndex(c.index);
    Click(kInside.x, kInside.y);
    EXPECT_EQ(tabs->GetCurSel(), 0) << c.what;
  }
  EXPECT_EQ(Of(L"click").size(), 4u);
}

TEST_F(BoundTabs, RemovingTheBindingForgetsNameAndIndex) {
  button->BindTabLayoutName(L"switch");
  button->BindTabIndex(2);
  button->RemoveBindTabIndex();
  EXPECT_EQ(button->GetBindTabLayoutIndex(), -1);
  EXPECT_TRUE(button->GetBindTabLayoutName().IsEmpty());
  Click(kInside.x, kInside.y);
  EXPECT_EQ(tabs->GetCurSel(), 0);
}

}  // namespace
