// Labels in a real window: the alignment attributes and the style they
// leave, the size estimate, Chinese text drawn inside the label and
// nowhere else, alignment and padding read back from the pixels, and the
// colours.

#include <windows.h>

#include <cstdlib>
#include <cwchar>
#include <functional>
#include <string>

#include "gtest/gtest.h"
#include "tests/toolkit/controls/ButtonTestSupport.h"
#include "toolkit/controls/LabelUI.h"
#include "toolkit/core/PaintManagerUI.h"
#include "util/UniqueHandle.h"

namespace {

using SkinUI::CLabelUI;
using test::ControlStage;
using test::ControlWindow;

constexpr const wchar_t* kQuitQuestion = L"确定退出 Talmic 吗?";
// Wine ships Tahoma; the CJK font comes with the test system's fonts.
constexpr const wchar_t* kCjkFace = L"WenQuanYi Micro Hei";

CLabelUI* NewLabel(const wchar_t* text) {
  auto* label = new CLabelUI;
  label->SetName(L"label");
  label->SetText(text);
  label->SetTextColor(0xFF000000);
  return label;
}

// --- Attributes --------------------------------------------------------------

struct StyleCase {
  const wchar_t* name;
  const wchar_t* value;
  UINT before;
  UINT after;
};

const StyleCase kStyles[] = {
    {L"align", L"left", DT_CENTER | DT_SINGLELINE | DT_VCENTER, DT_VCENTER},
    {L"align", L"center", DT_RIGHT, DT_CENTER},
    {L"align", L"right", DT_CENTER | DT_SINGLELINE, DT_RIGHT},
    // Tested in order: "right" after "center" wins.
    {L"align", L"centerright", DT_SINGLELINE, DT_RIGHT},
    {L"align", L"nowhere", DT_CENTER, DT_CENTER},
    {L"valign", L"top", DT_VCENTER | DT_BOTTOM, DT_TOP | DT_SINGLELINE},
    {L"valign", L"center", DT_BOTTOM, DT_VCENTER | DT_SINGLELINE},
    {L"valign", L"bottom", DT_VCENTER, DT_BOTTOM | DT_SINGLELINE},
    {L"valign", L"Top", DT_VCENTER, DT_VCENTER},
    {L"endellipsis", L"true", DT_CENTER, DT_CENTER | DT_END_ELLIPSIS},
    {L"endellipsis", L"false", DT_CENTER | DT_END_ELLIPSIS, DT_CENTER},
};

TEST(LabelAttributes, AlignmentChangesTheTextStyle) {
  for (const StyleCase& c : kStyles) {
    CLabelUI label;
    label.SetTextStyle(c.before);
    label.SetAttribute(c.name, c.value);
    EXPECT_EQ(label.GetTextStyle(), c.after) << c.name << "=" << label.GetTextStyle();
  }
}

struct LabelAttributeCase {
  const wchar_t* name;
  const wchar_t* value;
  std::function<bool(CLabelUI&)> holds;
  const char* expectation;
};

const LabelAttributeCase kLabelAttributes[] = {
    {L"font", L"2", [](CLabelUI& l) { return l.GetFont() == 2; }, "font"},
    {L"textcolor", L"#FF102030", [](CLabelUI& l) { return l.GetTextColor() == 0xFF102030; },
     "textcolor"},
    {L"disabledtextcolor", L"80102030",
     [](CLabelUI& l) { return l.GetDisabledTextColor() == 0x80102030; }, "disabledtextcolor"},
    {L"textpadding", L"1,2,3,4",
     [](CLabelUI& l) {
       const RECT rc = l.GetTextPadding();
       return rc.left == 1 && rc.top == 2 && rc.right == 3 && rc.bottom == 4;
     },
     "textpadding"},
    {L"showhtml", L"true", [](CLabelUI& l) { return l.IsShowHtml(); }, "showhtml"},
    {L"showhtml", L"yes", [](CLabelUI& l) { return !l.IsShowHtml(); }, "only true is true"},
    {L"autocalcwidth", L"true", [](CLabelUI& l) { return l.GetAutoCalcWidth(); }, "autocalcwidth"},
    {L"text", L"abc", [](CLabelUI& l) { return l.GetText() == L"abc"; },
     "control attributes reach the label"},
};

TEST(LabelAttributes, EachAttributeSetsItsField) {
  for (const LabelAttributeCase& c : kLabelAttributes) {
    CLabelUI label;
    label.SetAttribute(c.name, c.value);
    EXPECT_TRUE(c.holds(label)) << c.expectation;
  }
}

TEST(LabelAttributes, DefaultsAndNames) {
  CLabelUI label;
  EXPECT_STREQ(label.GetClass(), L"LabelUI");
  EXPECT_EQ(label.GetInterface(L"Label"), &label);
  EXPECT_EQ(label.GetInterface(L"Control"), static_cast<SkinUI::CControlUI*>(&label));
  EXPECT_EQ(label.GetInterface(L"Button"), nullptr);
  EXPECT_EQ(label.GetTextStyle(), static_cast<UINT>(DT_VCENTER));
  EXPECT_EQ(label.GetFont(), -1);
  EXPECT_EQ(label.GetTextColor(), 0u);
  EXPECT_FALSE(label.IsShowHtml());
  EXPECT_FALSE(label.GetAutoCalcWidth());
}

// --- Size --------------------------------------------------------------------

// The metrics and the extent of a text in Tahoma of the given pixel size,
// measured here with plain GDI.
struct Measured {
  int height;
  int width;
};
Measured MeasureTahoma(HWND window, int size, const wchar_t* text) {
  CGdiObject font(::CreateFontW(-size, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET, 0,
                                0, 0, 0, L"Tahoma"));
  CWindowDc dc(window);
  CSelectObject select(dc.Get(), font.Get());
  TEXTMETRICW tm = {};
  ::GetTextMetricsW(dc.Get(), &tm);
  SIZE extent = {};
  ::GetTextExtentPoint32W(dc.Get(), text, static_cast<int>(std::wcslen(text)), &extent);
  return Measured{tm.tmHeight, extent.cx};
}

TEST(LabelEstimate, FontHeightPlusFourUnlessTheHeightIsFixed) {
  ControlStage stage;
  stage.window.Manager().SetDefaultFont(L"Tahoma", 12, false, false, false);
  CLabelUI* label = NewLabel(L"size");
  stage.root->Add(label);
  const Measured measured = MeasureTahoma(stage.window.Get(), 12, L"size");
  ASSERT_GT(measured.height, 0);
  label->SetFixedWidth(50);
  SIZE size = label->EstimateSize(SIZE{200, 100});
  EXPECT_EQ(size.cx, 50);
  EXPECT_EQ(size.cy, measured.height + 4);
  // A custom font counts by its own height.
  stage.window.Manager().AddFont(L"Tahoma", 20, false, false, false);
  label->SetFont(0);
  EXPECT_EQ(label->EstimateSize(SIZE{200, 100}).cy,
            MeasureTahoma(stage.window.Get(), 20, L"size").height + 4);
  label->SetFixedHeight(30);
  size = label->EstimateSize(SIZE{200, 100});
  EXPECT_EQ(size.cy, 30);
}

TEST(LabelEstimate, AnAutoCalculatedWidthIsTheTextPlusItsPadding) {
  ControlStage stage;
  stage.window.Manager().SetDefaultFont(L"Tahoma", 12, false, false, false);
  CLabelUI* label = NewLabel(L"Hello, world");
  stage.root->Add(label);
  label->ApplyAttributeList(L"textpadding=\"4,0,4,0\" autocalcwidth=\"true\" align=\"right\"");
  const Measured measured = MeasureTahoma(stage.window.Get(), 12, L"Hello, world");
  ASSERT_GT(measured.width, 0);
  EXPECT_EQ(label->EstimateSize(SIZE{20, 20}).cx, measured.width + 8);
  EXPECT_EQ(label->GetFixedWidth(), measured.width + 8);
  // Without text only the padding is left.
  label->SetText(L"");
  EXPECT_EQ(label->EstimateSize(SIZE{20, 20}).cx, 8);
  // Without the flag the fixed width stays what it was.
  label->SetAutoCalcWidth(false);
  label->SetText(L"Hello, world");
  EXPECT_EQ(label->EstimateSize(SIZE{20, 20}).cx, 8);
}

// --- Painting ----------------------------------------------------------------

TEST_F(ControlWindow, AChineseLabelDrawsInsideItsRectangleOnly) {
  window.Manager().AddFont(kCjkFace, 16, false, false, false);
  CLabelUI* label = NewLabel(kQuitQuestion);
  label->SetFont(0);
  label->SetAttribute(L"align", L"center");
  Place(label, L"10,20,190,50");
  const RECT inside = {10, 20, 190, 50};
  // Seven CJK glyphs and six Latin letters leave far more ink than a few
  // boxes or a single missing-glyph mark would.
  EXPECT_GT(InkIn(inside), 150);
  const RECT ink = InkBounds(RECT{0, 0, 200, 100});
  EXPECT_GE(ink.left, 10);
  EXPECT_GE(ink.top, 20);
  EXPECT_LE(ink.right, 190);
  EXPECT_LE(ink.bottom, 50);
  // Centred both ways: about as much room is left on either side.
  EXPECT_LE(std::abs((ink.left - 10) - (190 - ink.right)), 2);
  EXPECT_LE(std::abs((ink.top - 20) - (50 - ink.bottom)), 3);
  // The ink is more than a few glyphs wide: the whole line is drawn.
  EXPECT_GT(ink.right - ink.left, 100);
}

TEST(LabelPaint, AlignmentAndPaddingPlaceTheText) {
  struct AlignCase {
    const wchar_t* attributes;
    std::function<bool(const RECT&)> placed;
    const char* what;
  };
  // The label lies at (10, 10, 190, 90); its text is a short word.
  const AlignCase cases[] = {
      {L"align=\"left\" valign=\"top\"",
       [](const RECT& ink) { return ink.left < 14 && ink.top < 16; }, "left, top"},
      {L"align=\"right\" valign=\"bottom\"",
       [](const RECT& ink) { return ink.right > 186 && ink.bottom > 84; }, "right, bottom"},
      {L"align=\"center\" valign=\"center\"",
       [](const RECT& ink) {
         return std::abs((ink.left - 10) - (190 - ink.right)) <= 2 &&
                std::abs((ink.top - 10) - (90 - ink.bottom)) <= 3;
       },
       "centre, centre"},
      {L"align=\"left\" valign=\"top\" textpadding=\"30,20,0,0\"",
       [](const RECT& ink) { return ink.left >= 40 && ink.left < 44 && ink.top >= 30; },
       "padding moves the text in"},
      {L"align=\"right\" valign=\"center\" textpadding=\"0,0,40,0\"",
       [](const RECT& ink) { return ink.right <= 150 && ink.right > 146; },
       "right padding moves the text in"},
  };
  for (const AlignCase& c : cases) {
    ControlStage stage;
    stage.window.Manager().AddFont(L"Tahoma", 16, true, false, false);
    CLabelUI* label = NewLabel(L"Word");
    label->SetFont(0);
    label->ApplyAttributeList(c.attributes);
    stage.Place(label, L"10,10,190,90");
    const RECT ink = stage.InkBounds(RECT{0, 0, 200, 100});
    ASSERT_FALSE(::IsRectEmpty(&ink)) << c.what;
    EXPECT_TRUE(c.placed(ink)) << c.what << ": ink " << ink.left << "," << ink.top << ","
                               << ink.right << "," << ink.bottom;
  }
}

TEST_F(ControlWindow, ALabelDrawsOneLineWhateverItsStyle) {
  window.Manager().AddFont(L"Tahoma", 16, false, false, false);
  CLabelUI* label = NewLabel(L"many words that do not fit into the label at all");
  label->SetFont(0);
  // "right" removes single-line from the style and word break asks for
  // wrapping; the label paints one line all the same.
  label->ApplyAttributeList(L"align=\"right\" valign=\"top\"");
  label->SetTextStyle((label->GetTextStyle() & ~DT_SINGLELINE) | DT_WORDBREAK);
  Place(label, L"10,10,110,90");
  EXPECT_EQ(label->GetTextStyle() & DT_SINGLELINE, 0u);
  const RECT ink = InkBounds(RECT{0, 0, 200, 100});
  ASSERT_FALSE(::IsRectEmpty(&ink));
  EXPECT_LT(ink.bottom - ink.top, 22);
  EXPECT_LE(ink.right, 110);
}

TEST_F(ControlWindow, LabelColoursFollowTheEnabledState) {
  window.Manager().AddFont(L"Tahoma", 24, true, false, false);
  window.Manager().SetDefaultFontColor(0xFF2040C0);
  window.Manager().SetDefaultDisabledColor(0xFFA0A0A0);
  auto* label = new CLabelUI;
  label->SetText(L"HH");
  label->SetFont(0);
  Place(label, L"10,10,190,90");
  // Unset colours were taken from the window at the first paint.
  EXPECT_EQ(label->GetTextColor(), 0xFF2040C0u);
  const auto count = [this](uint32_t colour) {
    int n = 0;
    for (uint32_t pixel : Capture(RECT{10, 10, 190, 90})) n += pixel == colour ? 1 : 0;
    return n;
  };
  EXPECT_GT(count(0x2040C0), 20);
  EXPECT_EQ(count(0xA0A0A0), 0);
  label->SetEnabled(false);
  EXPECT_EQ(count(0x2040C0), 0);
  EXPECT_GT(count(0xA0A0A0), 20);
}

TEST_F(ControlWindow, MarkedUpLabelTextIsDrawnAsMarkup) {
  CLabelUI* label = NewLabel(L"<b><c #FF0000>red</c></b> and black");
  label->SetShowHtml(true);
  Place(label, L"10,10,190,90");
  int red = 0;
  for (uint32_t pixel : Capture(RECT{10, 10, 190, 90})) red += pixel == 0xFF0000 ? 1 : 0;
  EXPECT_GT(red, 5);
  // Without markup the tags are plain text, drawn black.
  label->SetShowHtml(false);
  red = 0;
  for (uint32_t pixel : Capture(RECT{10, 10, 190, 90})) red += pixel == 0xFF0000 ? 1 : 0;
  EXPECT_EQ(red, 0);
}

TEST_F(ControlWindow, AnEmptyLabelDrawsNothing) {
  Place(NewLabel(L""), L"10,10,190,90");
  EXPECT_EQ(InkIn(RECT{0, 0, 200, 100}), 0);
}

TEST_F(ControlWindow, TheFocusChangesNothingALabelDraws) {
  CLabelUI* label = Place(NewLabel(L"focus"), L"10,10,190,90");
  window.Validate();
  label->SetFocus();
  EXPECT_TRUE(label->IsFocused());
  RECT dirty = window.UpdateRect();
  EXPECT_TRUE(::IsRectEmpty(&dirty));
  window.Manager().SetFocus(nullptr);
  EXPECT_FALSE(label->IsFocused());
  dirty = window.UpdateRect();
  EXPECT_TRUE(::IsRectEmpty(&dirty));
}

}  // namespace
