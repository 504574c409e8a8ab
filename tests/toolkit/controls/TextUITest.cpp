// Text controls in a real window: links found by painting, "link" with
// the link's index on a real click, the link cap, disabled text, the
// shadow, the size estimate and the layout a new text asks for.

#include <windows.h>

#include <string>
#include <vector>

#include "gtest/gtest.h"
#include "tests/toolkit/controls/ButtonTestSupport.h"
#include "tests/toolkit/controls/RenderCanvas.h"
#include "toolkit/controls/TextUI.h"
#include "toolkit/core/PaintManagerUI.h"
#include "util/UniqueHandle.h"

namespace {

using SkinUI::CTextUI;
using test::ControlStage;
using test::ControlWindow;
using test::Sent;

// A text control that shows where its links were found, so that the test
// can click on them.
class LinkText : public CTextUI {
 public:
  POINT LinkCentre(int i) const {
    const RECT& rc = m_rcLinks[i];
    return POINT{(rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2};
  }
  int HoverLink() const { return m_nHoverLink; }
};

class TextInWindow : public ControlWindow {
 protected:
  LinkText* PlaceText(const wchar_t* text, bool html = true) {
    auto* control = new LinkText;
    control->SetName(L"text");
    control->SetText(text);
    control->SetShowHtml(html);
    control->SetTextColor(0xFF000000);
    return Place(control, L"10,10,190,90");
  }
};

TEST_F(TextInWindow, PaintingFindsTheLinksAndTheirTargets) {
  LinkText* text = PlaceText(L"see <a page1>here</a>");
  ASSERT_EQ(text->GetLinkCount(), 1);
  ASSERT_NE(text->GetLinkContent(0), nullptr);
  EXPECT_EQ(*text->GetLinkContent(0), L"page1");
  EXPECT_EQ(text->GetLinkContent(1), nullptr);
  EXPECT_EQ(text->GetLinkContent(-1), nullptr);
  // The link lies behind "see ", inside the text.
  const POINT centre = text->LinkCentre(0);
  EXPECT_GT(centre.x, 20);
  EXPECT_LT(centre.x, 190);
  EXPECT_EQ(text->GetControlFlags(), SkinUI::ControlFlagSetCursor);
}

TEST_F(TextInWindow, ReleasingTheMouseOverALinkSendsLinkWithItsIndex) {
  LinkText* text = PlaceText(L"<a first>one</a> and <a second>two</a>");
  ASSERT_EQ(text->GetLinkCount(), 2);
  const POINT second = text->LinkCentre(1);
  Click(second.x, second.y);
  EXPECT_EQ(text->HoverLink(), 1);
  const POINT first = text->LinkCentre(0);
  Click(first.x, first.y);
  EXPECT_EQ(log.sent, (std::vector<Sent>{{L"link", L"text", 1}, {L"link", L"text", 0}}));
  EXPECT_EQ(*text->GetLinkContent(1), L"second");
}

TEST_F(TextInWindow, AReleaseAwayFromTheLinksSendsNothing) {
  LinkText* text = PlaceText(L"<a first>one</a> and more text");
  // Pressed on the link, released off it.
  const POINT link = text->LinkCentre(0);
  MoveTo(link.x, link.y);
  Press(link.x, link.y);
  Release(150, 80);
  // Clicked on plain text.
  Click(150, 80);
  EXPECT_TRUE(log.sent.empty());
  // Leaving the control forgets the hovered link.
  MoveTo(link.x, link.y);
  EXPECT_EQ(text->HoverLink(), 0);
  MoveTo(195, 95);
  EXPECT_EQ(text->HoverLink(), -1);
}

TEST_F(TextInWindow, ADisabledTextSendsNoLinks) {
  LinkText* text = PlaceText(L"<a first>one</a>");
  const POINT link = text->LinkCentre(0);
  text->SetEnabled(false);
  window.Paint();
  EXPECT_EQ(text->GetControlFlags(), 0u);
  Click(link.x, link.y);
  EXPECT_TRUE(log.sent.empty());
}

TEST_F(TextInWindow, AtMostEightLinksAreKept) {
  std::wstring markup;
  for (int i = 0; i < 10; ++i)
    markup += L"<a t" + std::to_wstring(i) + L">" + std::to_wstring(i) + L"</a> ";
  LinkText* text = PlaceText(markup.c_str());
  EXPECT_EQ(text->GetLinkCount(), 8);
  EXPECT_EQ(*text->GetLinkContent(7), L"t7");
  EXPECT_EQ(text->GetLinkContent(8), nullptr);
}

TEST_F(TextInWindow, LinksGoWithTheMarkupOrTheText) {
  LinkText* text = PlaceText(L"<a first>one</a>");
  ASSERT_EQ(text->GetLinkCount(), 1);
  // Plain text has no links, even with tags in it.
  text->SetShowHtml(false);
  window.Paint();
  EXPECT_EQ(text->GetLinkCount(), 0);
  text->SetShowHtml(true);
  window.Paint();
  ASSERT_EQ(text->GetLinkCount(), 1);
  text->SetText(L"");
  window.Paint();
  EXPECT_EQ(text->GetLinkCount(), 0);
  EXPECT_EQ(text->GetLinkContent(0), nullptr);
}

TEST_F(TextInWindow, AShadowIsDrawnOnePixelRightAndDown) {
  window.Manager().AddFont(L"Tahoma", 24, true, false, false);
  LinkText* text = PlaceText(L"HH", false);
  text->SetFont(0);
  // Reddish pixels, whose red stands out from their green and blue by a
  // quarter of the range: the shadow shows only as a one-pixel seam beside
  // the anti-aliased stems, where it blends with the white and the black.
  const auto reddish = [this]() {
    int n = 0;
    for (uint32_t pixel : Capture(RECT{10, 10, 190, 90})) {
      const int red = test::RedOf(pixel);
      n += red - test::GreenOf(pixel) >= 0x40 && red - test::BlueOf(pixel) >= 0x40 ? 1 : 0;
    }
    return n;
  };
  window.Paint();
  EXPECT_EQ(reddish(), 0);
  const RECT plain = InkBounds(RECT{10, 10, 190, 90});
  text->SetShadowColor(0xFFFF0000);
  text->Invalidate();
  // The shadow shows at the right and bottom edges of the stems.
  EXPECT_GT(reddish(), 10);
  const RECT shadowed = InkBounds(RECT{10, 10, 190, 90});
  EXPECT_EQ(shadowed.left, plain.left);
  EXPECT_EQ(shadowed.right, plain.right + 1);
  EXPECT_EQ(shadowed.bottom, plain.bottom + 1);
}

TEST_F(TextInWindow, TextWrapsByDefault) {
  window.Manager().AddFont(L"Tahoma", 16, false, false, false);
  LinkText* text = PlaceText(L"many words that wrap onto more than one line here", false);
  text->SetFont(0);
  const RECT ink = InkBounds(RECT{0, 0, 200, 100});
  ASSERT_FALSE(::IsRectEmpty(&ink));
  EXPECT_GT(ink.bottom - ink.top, 30);
  // The default padding keeps two pixels free on the left.
  EXPECT_GE(ink.left, 12);
}

TEST_F(TextInWindow, ANewTextAsksTheParentForALayout) {
  LinkText* text = PlaceText(L"one");
  window.Paint();
  ASSERT_FALSE(root->IsUpdateNeeded());
  text->SetText(L"one");
  EXPECT_FALSE(root->IsUpdateNeeded());
  text->SetText(L"two");
  EXPECT_TRUE(root->IsUpdateNeeded());
  EXPECT_EQ(text->GetText(), L"two");
}

TEST(TextEstimate, AnAutoCalculatedWidthFitsTheTextAndItsPadding) {
  ControlStage stage;
  stage.window.Manager().SetDefaultFont(L"Tahoma", 12, false, false, false);
  auto* text = new CTextUI;
  text->SetText(L"Hello, world");
  stage.root->Add(text);
  SIZE extent = {};
  {
    CGdiObject font(::CreateFontW(-12, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET, 0,
                                  0, 0, 0, L"Tahoma"));
    CWindowDc dc(stage.window.Get());
    CSelectObject select(dc.Get(), font.Get());
    ::GetTextExtentPoint32W(dc.Get(), L"Hello, world", 12, &extent);
  }
  // Without the flag: the fixed size, 0 x 0.
  SIZE size = text->EstimateSize(SIZE{300, 100});
  EXPECT_EQ(size.cx, 0);
  EXPECT_EQ(size.cy, 0);
  text->SetAutoCalcWidth(true);
  size = text->EstimateSize(SIZE{300, 100});
  // The default padding is 2 on either side.
  EXPECT_EQ(size.cx, extent.cx + 4);
  EXPECT_EQ(size.cy, 0);
  // As markup the text measures the same.
  text->SetShowHtml(true);
  EXPECT_NEAR(text->EstimateSize(SIZE{300, 100}).cx, extent.cx + 4, 1);
}

TEST(TextAttributes, DefaultsAndNames) {
  CTextUI text;
  EXPECT_STREQ(text.GetClass(), L"TextUI");
  EXPECT_EQ(text.GetInterface(L"Text"), &text);
  EXPECT_EQ(text.GetInterface(L"Label"), static_cast<SkinUI::CLabelUI*>(&text));
  EXPECT_EQ(text.GetTextStyle(), static_cast<UINT>(DT_WORDBREAK));
  const RECT padding = text.GetTextPadding();
  EXPECT_EQ(padding.left, 2);
  EXPECT_EQ(padding.right, 2);
  EXPECT_EQ(padding.top, 0);
  EXPECT_EQ(text.GetLinkCount(), 0);
  EXPECT_EQ(text.GetControlFlags(), 0u);
  text.SetAttribute(L"shadowcolor", L"#FF102030");
  EXPECT_EQ(text.GetShadowColor(), 0xFF102030u);
  text.SetAttribute(L"align", L"center");
  EXPECT_NE(text.GetTextStyle() & DT_CENTER, 0u);
}

}  // namespace
