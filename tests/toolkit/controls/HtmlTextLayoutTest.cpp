// The line layout of marked-up text: line heights with mixed fonts, line
// ends, alignment, word breaks, the end ellipsis, links across line wraps,
// the link under the mouse, measuring, and the device context afterwards.

#include <windows.h>

#include <string>
#include <vector>

#include "gtest/gtest.h"
#include "tests/toolkit/controls/RenderCanvas.h"
#include "tests/toolkit/controls/TextTestSupport.h"
#include "toolkit/controls/RenderEngine.h"
#include "toolkit/controls/SkinString.h"

namespace {

using SkinUI::CRenderEngine;
using SkinUI::CSkinString;
using test::kBlack;
using test::Piece;
using test::RenderCanvas;

class HtmlTextLayout : public test::HtmlTextTest {
 protected:
  // Draws (or measures) into `rc` without link tracking.
  RECT Html(RenderCanvas& canvas, RECT rc, const wchar_t* markup, UINT style) {
    int links = 0;
    CRenderEngine::DrawHtmlText(canvas.Dc(), &manager, rc, markup, kBlack, nullptr, nullptr, links,
                                style);
    return rc;
  }
  int Width(const std::wstring& text) { return test::TextWidth(dc(), DefaultFont(), text); }
  int Height() { return test::LineHeight(dc(), DefaultFont()); }
  HDC dc() { return m_measure.Dc(); }

  void ExpectSame(const RenderCanvas& drawn, const RenderCanvas& expected, const char* what) {
    EXPECT_FALSE(test::IsEmpty(test::InkBounds(drawn))) << what;
    EXPECT_EQ(test::DifferentPixels(drawn, expected), 0)
        << what << ": " << test::FirstDifference(drawn, expected);
  }

 private:
  RenderCanvas m_measure{4, 4};
};

TEST_F(HtmlTextLayout, LinesStackByTheirTallestFont) {
  RenderCanvas drawn(300, 120);
  Html(drawn, RECT{0, 0, 300, 120}, L"one\n<f 0>two</f>\nthree", 0);
  const int big = test::LineHeight(dc(), Font(0));
  ASSERT_GT(big, Height());
  RenderCanvas expected(300, 120);
  test::DrawReferenceLine(expected.Dc(), 0, 0, Height(), {Plain(L"one")});
  test::DrawReferenceLine(expected.Dc(), 0, Height(), big, {test::Text(Font(0), L"two")});
  test::DrawReferenceLine(expected.Dc(), 0, Height() + big, Height(), {Plain(L"three")});
  ExpectSame(drawn, expected, "three lines");
}

TEST_F(HtmlTextLayout, RunsSitOnTheBottomOfAMixedLine) {
  RenderCanvas drawn(300, 60);
  Html(drawn, RECT{0, 0, 300, 60}, L"low<f 0>HIGH</f>low\nnext", 0);
  const int big = test::LineHeight(dc(), Font(0));
  RenderCanvas expected(300, 60);
  test::DrawReferenceLine(expected.Dc(), 0, 0, big,
                          {Plain(L"low"), test::Text(Font(0), L"HIGH"), Plain(L"low")});
  test::DrawReferenceLine(expected.Dc(), 0, big, Height(), {Plain(L"next")});
  ExpectSame(drawn, expected, "mixed line");
}

struct MeasureCase {
  const char* name;
  const wchar_t* markup;
  UINT style;
  // In lines of the default font, plus pixels.
  int lines;
  int extra;
  // The widest line; nullptr: not checked here.
  const wchar_t* widest;
};

class HtmlTextMeasure : public HtmlTextLayout, public ::testing::WithParamInterface<MeasureCase> {};

TEST_P(HtmlTextMeasure, GivesTheSizeNeeded) {
  const MeasureCase& c = GetParam();
  RenderCanvas canvas(300, 100);
  const RECT rc = Html(canvas, RECT{5, 7, 305, 17}, c.markup, c.style | DT_CALCRECT);
  EXPECT_EQ(rc.left, 5) << c.name;
  EXPECT_EQ(rc.top, 7) << c.name;
  EXPECT_EQ(rc.bottom - rc.top, c.lines * Height() + c.extra) << c.name;
  if (c.widest != nullptr) {
    EXPECT_EQ(rc.right - rc.left, Width(c.widest)) << c.name;
  }
  // Measuring draws nothing.
  EXPECT_TRUE(test::IsEmpty(test::InkBounds(canvas))) << c.name;
}

INSTANTIATE_TEST_SUITE_P(
    Table, HtmlTextMeasure,
    ::testing::Values(MeasureCase{"one line", L"abc", 0, 1, 0, L"abc"},
                      MeasureCase{"the widest line counts", L"a\nbbb\ncc", 0, 3, 0, L"bbb"},
                      MeasureCase{"a line feed after <n> adds no line", L"a<n>\na", 0, 2, 0, L"a"},
                      MeasureCase{"empty lines count", L"a\n\na", 0, 3, 0, L"a"},
                      MeasureCase{"a final line feed adds no line", L"a\n", 0, 1, 0, L"a"},
                      MeasureCase{"single line stops at the first line end", L"ab\ncd",
                                  DT_SINGLELINE, 1, 0, L"ab"},
                      MeasureCase{"paragraph spacing", L"<p 5>x</p>\ny", 0, 2, 5, L"x"},
                      MeasureCase{"a paragraph starts a new line", L"ab<p 4>a</p>a", 0, 3, 4,
                                  L"ab"},
                      MeasureCase{"line height", L"<y 40>x", 0, 0, 40, L"x"},
                      MeasureCase{"an image taller than the line", L"a<i tall>", 0, 0, 30, nullptr},
                      MeasureCase{"too wide for the box",
                                  L"abcdefghijklmnopqrstuvwxyz abcdefghij"
                                  L"klmnopqrstuvwxyz abcdefghijklmnop",
                                  DT_SINGLELINE, 1, 0, nullptr}));

TEST_F(HtmlTextLayout, AnEllipsisTakesTheLineToTheRightEdge) {
  RenderCanvas canvas(300, 100);
  const RECT rc = Html(canvas, RECT{0, 0, 100, 10}, L"abcdefghijklmnopqrstuvwxyz",
                       DT_SINGLELINE | DT_END_ELLIPSIS | DT_CALCRECT);
  EXPECT_EQ(rc.right, 100);
}

TEST_F(HtmlTextLayout, TheWidestLineIncludesImagesAndMoves) {
  RenderCanvas canvas(300, 100);
  RECT rc = Html(canvas, RECT{0, 0, 300, 10}, L"a<i tall><x 7>", DT_CALCRECT);
  EXPECT_EQ(rc.right, Width(L"a") + 8 + 7);
  EXPECT_EQ(rc.bottom, 30);
}

struct AlignCase {
  const char* name;
  UINT style;
};

class HtmlTextAlign : public HtmlTextLayout, public ::testing::WithParamInterface<AlignCase> {};

TEST_P(HtmlTextAlign, PlacesASingleLine) {
  const AlignCase& c = GetParam();
  const RECT box = {20, 10, 220, 60};
  RenderCanvas drawn(240, 70);
  Html(drawn, box, L"ab<b>c</b>", c.style | DT_SINGLELINE);
  const int width = Width(L"ab") + test::TextWidth(dc(), Variant(true, false, false), L"c");
  const int height = std::max(Height(), test::LineHeight(dc(), Variant(true, false, false)));
  int x = box.left;
  if ((c.style & DT_CENTER) != 0) x = box.left + (200 - width) / 2;
  if ((c.style & DT_RIGHT) != 0) x = box.right - width;
  int top = box.top;
  if ((c.style & DT_VCENTER) != 0) top = box.top + (50 - height) / 2;
  if ((c.style & DT_BOTTOM) != 0) top = box.bottom - height;
  RenderCanvas expected(240, 70);
  test::DrawReferenceLine(expected.Dc(), x, top, height,
                          {Plain(L"ab"), test::Text(Variant(true, false, false), L"c")});
  ExpectSame(drawn, expected, c.name);
}

INSTANTIATE_TEST_SUITE_P(Table, HtmlTextAlign,
                         ::testing::Values(AlignCase{"left top", 0}, AlignCase{"centre", DT_CENTER},
                                           AlignCase{"right", DT_RIGHT},
                                           AlignCase{"vertical centre", DT_VCENTER},
                                           AlignCase{"bottom", DT_BOTTOM},
                                           AlignCase{"centre both ways", DT_CENTER | DT_VCENTER},
                                           AlignCase{"right bottom", DT_RIGHT | DT_BOTTOM}));

TEST_F(HtmlTextLayout, EachLineIsAlignedOnItsOwnInMultiLineText) {
  const RECT box = {0, 0, 200, 100};
  for (UINT style : {static_cast<UINT>(DT_CENTER), static_cast<UINT>(DT_RIGHT)}) {
    RenderCanvas drawn(200, 100);
    Html(drawn, box, L"a\nbbb", style);
    RenderCanvas expected(200, 100);
    auto x = [&](const wchar_t* text) {
      return style == DT_CENTER ? (200 - Width(text)) / 2 : 200 - Width(text);
    };
    test::DrawReferenceLine(expected.Dc(), x(L"a"), 0, Height(), {Plain(L"a")});
    test::DrawReferenceLine(expected.Dc(), x(L"bbb"), Height(), Height(), {Plain(L"bbb")});
    ExpectSame(drawn, expected, style == DT_CENTER ? "centre" : "right");
  }
}

TEST_F(HtmlTextLayout, VerticalCentringCountsWrappedLines) {
  // Four lines of "aaa " wrapped in a box that holds one of them: the block
  // of four lines is centred, not one unwrapped line.
  const int width = Width(L"aaa ") + 2;
  const RECT box = {0, 0, width, 200};
  RenderCanvas drawn(width, 200);
  Html(drawn, box, L"aaa aaa aaa aaa", DT_WORDBREAK | DT_VCENTER);
  const int top = (200 - 4 * Height()) / 2;
  RenderCanvas expected(width, 200);
  for (int line = 0; line < 4; ++line) {
    test::DrawReferenceLine(expected.Dc(), 0, top + line * Height(), Height(),
                            {Plain(line < 3 ? L"aaa " : L"aaa")});
  }
  ExpectSame(drawn, expected, "wrapped and centred");
}

struct WrapCase {
  const char* name;
  const wchar_t* markup;
  const wchar_t* fits;  // the box is this wide plus `slack` pixels
  UINT style;
  std::vector<std::wstring> lines;
  int slack = 1;
};

class HtmlTextWrap : public HtmlTextLayout, public ::testing::WithParamInterface<WrapCase> {};

TEST_P(HtmlTextWrap, BreaksLines) {
  const WrapCase& c = GetParam();
  const int width = Width(c.fits) + c.slack;
  RenderCanvas drawn(width + 20, 120);
  Html(drawn, RECT{0, 0, width, 120}, c.markup, c.style);
  RenderCanvas expected(width + 20, 120);
  // The layout clips its text to the box.
  ::IntersectClipRect(expected.Dc(), 0, 0, width, 120);
  int top = 0;
  for (const std::wstring& line : c.lines) {
    std::vector<Piece> pieces;
    // A space that starts a line is a piece of its own.
    if (!line.empty() && line[0] == L' ') {
      pieces.push_back(Plain(L" "));
      pieces.push_back(Plain(line.substr(1)));
    } else {
      pieces.push_back(Plain(line));
    }
    test::DrawReferenceLine(expected.Dc(), 0, top, Height(), pieces);
    top += Height();
  }
  ExpectSame(drawn, expected, c.name);
}

INSTANTIATE_TEST_SUITE_P(
    Table, HtmlTextWrap,
    ::testing::Values(
        WrapCase{"word break after a space", L"aaa bbb", L"aaa b", DT_WORDBREAK, {L"aaa ", L"bbb"}},
        WrapCase{
            "without word break a run is cut anywhere", L"aaa bbb", L"aaa b", 0, {L"aaa b", L"bb"}},
        WrapCase{"digits and punctuation are break points",
                 L"ab,cd9ef",
                 L"ab,cd9e",
                 DT_WORDBREAK,
                 {L"ab,cd9", L"ef"}},
        WrapCase{"a word longer than the line is cut",
                 L"abcdefgh",
                 L"abcde",
                 DT_WORDBREAK,
                 {L"abcde", L"fgh"}},
        WrapCase{"the pen at the right edge ends the line, with its line feed",
                 L"abc\ndef",
                 L"abc",
                 0,
                 {L"abc", L"def"},
                 0},
        WrapCase{"a character wider than the box still shows", L"WW", L"", 0, {L"W", L"W"}}));

TEST_F(HtmlTextLayout, ChineseTextBreaksBetweenAnyTwoCharacters) {
  manager.AddFont(test::kCjkFace, 20, false, false, false);
  const HFONT cjk = Font(2);
  const int width = test::TextWidth(dc(), cjk, L"\x4E2D\x6587") + 1;
  RenderCanvas drawn(width, 100);
  // 中文字体: two characters on each line.
  Html(drawn, RECT{0, 0, width, 100}, L"<f 2>\x4E2D\x6587\x5B57\x4F53</f>", DT_WORDBREAK);
  const int height = test::LineHeight(dc(), cjk);
  RenderCanvas expected(width, 100);
  test::DrawReferenceLine(expected.Dc(), 0, 0, height, {test::Text(cjk, L"\x4E2D\x6587")});
  test::DrawReferenceLine(expected.Dc(), 0, height, height, {test::Text(cjk, L"\x5B57\x4F53")});
  ExpectSame(drawn, expected, "Chinese");
}

TEST_F(HtmlTextLayout, AnEllipsisEndsAnOverflowingLine) {
  // "abcdef" fits; two characters make way for the dots, which follow the
  // text at the line's top.
  const int width = Width(L"abcdef") + 1;
  for (UINT align : {0u, static_cast<UINT>(DT_CENTER)}) {
    RenderCanvas drawn(width + 40, 40);
    Html(drawn, RECT{0, 0, width, 40}, L"abcdefghij", DT_SINGLELINE | DT_END_ELLIPSIS | align);
    RenderCanvas expected(width + 40, 40);
    ::IntersectClipRect(expected.Dc(), 0, 0, width, 40);
    // Centred text wider than its box starts at the left edge like any
    // other, so that its ellipsis stays in view.
    test::DrawReferenceLine(expected.Dc(), 0, 0, Height(), {Plain(L"abcd"), Plain(L"...")});
    ExpectSame(drawn, expected, align == 0 ? "left" : "centred");
  }
}

TEST_F(HtmlTextLayout, AnEllipsisOnEveryOverflowingLine) {
  // In multi-line text the dots stand for the characters they replace; the
  // next line goes on after them.
  const int width = Width(L"aaaa") + 1;
  RenderCanvas drawn(width + 40, 80);
  Html(drawn, RECT{0, 0, width, 80}, L"aaaaaaaaaaa", DT_END_ELLIPSIS);
  RenderCanvas expected(width + 40, 80);
  ::IntersectClipRect(expected.Dc(), 0, 0, width, 80);
  test::DrawReferenceLine(expected.Dc(), 0, 0, Height(), {Plain(L"aa"), Plain(L"...")});
  test::DrawReferenceLine(expected.Dc(), 0, Height(), Height(), {Plain(L"aa"), Plain(L"...")});
  test::DrawReferenceLine(expected.Dc(), 0, 2 * Height(), Height(), {Plain(L"aaa")});
  ExpectSame(drawn, expected, "three lines");
}

TEST_F(HtmlTextLayout, AnImageThatDoesNotFitStartsTheNextLine) {
  const int width = Width(L"abc") + 4;
  RenderCanvas drawn(width + 20, 60);
  Html(drawn, RECT{0, 0, width, 60}, L"abc<i red8>d", 0);
  RenderCanvas expected(width + 20, 60);
  test::DrawReferenceLine(expected.Dc(), 0, 0, Height(), {Plain(L"abc")});
  test::DrawReferenceLine(expected.Dc(), 0, Height(), Height(),
                          {test::Image(8, 8, test::kRed), Plain(L"d")});
  ExpectSame(drawn, expected, "image on the next line");
}

class HtmlTextLinks : public HtmlTextLayout {
 protected:
  static constexpr const wchar_t* kMarkup = L"see <a one>here</a> and <a two>there and more</a>";

  // The box is just too narrow for "m": the second link breaks after
  // "there and ".
  int BoxWidth() { return Width(L"see here and there and ") + Width(L"m") - 1; }

  int DrawLinks(RenderCanvas& canvas, RECT* rects, CSkinString* texts, int room, RECT box,
                UINT style = DT_WORDBREAK) {
    int count = room;
    CRenderEngine::DrawHtmlText(canvas.Dc(), &manager, box, kMarkup, kBlack, rects, texts, count,
                                style);
    return count;
  }
};

TEST_F(HtmlTextLinks, AWrappedLinkGetsARectangleOnEachLine) {
  RenderCanvas canvas(300, 100);
  RECT rects[4] = {};
  CSkinString texts[4];
  const int width = BoxWidth();
  ASSERT_EQ(DrawLinks(canvas, rects, texts, 3, RECT{0, 0, width, 100}), 3);
  const HFONT underline = Variant(false, true, false);
  auto underlined = [&](const wchar_t* text) { return test::TextWidth(dc(), underline, text); };
  const int h = Height();
  const int hereLeft = Width(L"see ");
  const int twoLeft = hereLeft + underlined(L"here") + Width(L" ") + Width(L"and ");
  const RECT expected[] = {
      {hereLeft, 0, hereLeft + underlined(L"here"), h},
      {twoLeft, 0, twoLeft + underlined(L"there and "), h},
      {0, h, underlined(L"more"), 2 * h},
  };
  const wchar_t* targets[] = {L"one", L"two", L"two"};
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(rects[i].left, expected[i].left) << i;
    EXPECT_EQ(rects[i].top, expected[i].top) << i;
    EXPECT_EQ(rects[i].right, expected[i].right) << i;
    EXPECT_EQ(rects[i].bottom, expected[i].bottom) << i;
    EXPECT_EQ(std::wstring(texts[i]), targets[i]) << i;
  }
  // Nothing is written beyond the room given.
  EXPECT_TRUE(test::IsEmpty(rects[3]));
  EXPECT_TRUE(texts[3].IsEmpty());
}

TEST_F(HtmlTextLinks, WithoutWordBreakALinkStillWraps) {
  // The second link is cut where the box ends rather than after a space.
  RenderCanvas canvas(300, 100);
  RECT rects[3] = {};
  CSkinString texts[3];
  const int width = BoxWidth();
  ASSERT_EQ(DrawLinks(canvas, rects, texts, 3, RECT{0, 0, width, 100}, 0), 3);
  EXPECT_LE(rects[1].right, width);
  EXPECT_GT(rects[1].right, width - Width(L"m"));
  EXPECT_EQ(rects[2].left, 0);
}

TEST_F(HtmlTextLinks, LinksBeyondTheRoomAreNotRecordedButDrawn) {
  RenderCanvas all(300, 100);
  RenderCanvas some(300, 100);
  RECT rects[3] = {};
  CSkinString texts[3];
  ASSERT_EQ(DrawLinks(all, rects, texts, 3, RECT{0, 0, BoxWidth(), 100}), 3);
  RECT fewer[3] = {};
  CSkinString fewerTexts[3];
  EXPECT_EQ(DrawLinks(some, fewer, fewerTexts, 2, RECT{0, 0, BoxWidth(), 100}), 2);
  EXPECT_TRUE(fewerTexts[2].IsEmpty());
  EXPECT_EQ(test::DifferentPixels(all, some), 0);
  // No arrays: no links, whatever count was passed.
  EXPECT_EQ(DrawLinks(some, nullptr, nullptr, 5, RECT{0, 0, BoxWidth(), 100}), 0);
  EXPECT_EQ(DrawLinks(some, rects, nullptr, 5, RECT{0, 0, BoxWidth(), 100}), 0);
}

TEST_F(HtmlTextLinks, DrawingStopsBelowTheBoxMeasuringDoesNot) {
  RenderCanvas canvas(300, 100);
  RECT rects[3] = {};
  CSkinString texts[3];
  // One line high: the second line is neither drawn nor its link piece
  // recorded; measuring lays out the whole text.
  EXPECT_EQ(DrawLinks(canvas, rects, texts, 3, RECT{0, 0, BoxWidth(), Height()}), 2);
  EXPECT_EQ(DrawLinks(canvas, rects, texts, 3, RECT{0, 0, BoxWidth(), Height()},
                      DT_WORDBREAK | DT_CALCRECT),
            3);
}

TEST_F(HtmlTextLinks, TheLinkUnderTheMouseHasTheHoverColour) {
  // The paint manager learns where the mouse is from its window's
  // messages.
  HWND window = ::CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 300, 100, nullptr, nullptr,
                                  nullptr, nullptr);
  ASSERT_NE(window, nullptr);
  manager.Init(window);
  RECT rects[3] = {};
  CSkinString texts[3];
  RenderCanvas first(300, 100);
  ASSERT_EQ(DrawLinks(first, rects, texts, 3, RECT{0, 0, BoxWidth(), 100}), 3);

  auto countColour = [](const RenderCanvas& canvas, DWORD colour) {
    return canvas.CountRgb(RECT{0, 0, canvas.Width(), canvas.Height()}, colour);
  };
  const DWORD link = manager.GetDefaultLinkFontColor();
  const DWORD hover = manager.GetDefaultLinkHoverFontColor();
  EXPECT_EQ(countColour(first, hover), 0);

  // Over the first piece of the second link: both its pieces change.
  LRESULT result = 0;
  const POINT over = {(rects[1].left + rects[1].right) / 2, (rects[1].top + rects[1].bottom) / 2};
  manager.MessageHandler(WM_MOUSEMOVE, 0, MAKELPARAM(over.x, over.y), result);
  RenderCanvas hovered(300, 100);
  ASSERT_EQ(DrawLinks(hovered, rects, texts, 3, RECT{0, 0, BoxWidth(), 100}), 3);
  EXPECT_GT(countColour(hovered, hover), 0);
  const RECT secondLine = {0, rects[2].top, 300, rects[2].bottom};
  EXPECT_GT(hovered.CountRgb(secondLine, hover), 0);
  EXPECT_EQ(hovered.CountRgb(secondLine, link), 0);
  // The first link keeps the link colour.
  EXPECT_GT(hovered.CountRgb(rects[0], link), 0);
  EXPECT_EQ(hovered.CountRgb(rects[0], hover), 0);

  manager.MessageHandler(WM_MOUSEMOVE, 0, MAKELPARAM(299, 99), result);
  RenderCanvas away(300, 100);
  DrawLinks(away, rects, texts, 3, RECT{0, 0, BoxWidth(), 100});
  EXPECT_EQ(test::DifferentPixels(away, first), 0);
  ::DestroyWindow(window);
}

TEST_F(HtmlTextLayout, TheDeviceContextGetsItsFontAndClipBack) {
  RenderCanvas canvas(300, 100);
  const HDC target = canvas.Dc();
  HGDIOBJ font = ::GetStockObject(ANSI_FIXED_FONT);
  ::SelectObject(target, font);
  // A clip that is not a rectangle: it must come back exactly.
  CGdiObject clip(::CreateEllipticRgn(0, 0, 200, 80));
  ::SelectClipRgn(target, static_cast<HRGN>(clip.Get()));
  Html(canvas, RECT{10, 10, 100, 40}, L"<b>bold <f 0>big</f></b>", 0);
  EXPECT_EQ(::GetCurrentObject(target, OBJ_FONT), font);
  CGdiObject after(::CreateRectRgn(0, 0, 0, 0));
  ASSERT_EQ(::GetClipRgn(target, static_cast<HRGN>(after.Get())), 1);
  EXPECT_TRUE(::EqualRgn(static_cast<HRGN>(after.Get()), static_cast<HRGN>(clip.Get())));
}

TEST_F(HtmlTextLayout, TextStaysInsideItsBox) {
  RenderCanvas canvas(300, 100);
  const RECT box = {20, 20, 80, 50};
  Html(canvas, box, L"<f 0>a long text that overflows the box</f>", DT_WORDBREAK);
  const RECT ink = test::InkBounds(canvas);
  ASSERT_FALSE(test::IsEmpty(ink));
  EXPECT_GE(ink.left, box.left);
  EXPECT_GE(ink.top, box.top);
  EXPECT_LE(ink.right, box.right);
  EXPECT_LE(ink.bottom, box.bottom);
}

TEST_F(HtmlTextLayout, NothingHappensWithoutTextManagerOrRoom) {
  RenderCanvas canvas(300, 100);
  RECT rects[2] = {};
  CSkinString texts[2];
  struct {
    const wchar_t* text;
    SkinUI::CPaintManagerUI* manager;
    RECT box;
  } cases[] = {
      {nullptr, &manager, RECT{0, 0, 100, 100}},
      {L"", &manager, RECT{0, 0, 100, 100}},
      {L"<a x>x</a>", nullptr, RECT{0, 0, 100, 100}},
      {L"<a x>x</a>", &manager, RECT{0, 0, 0, 100}},
      {L"<a x>x</a>", &manager, RECT{0, 50, 100, 50}},
  };
  for (auto& c : cases) {
    RECT rc = c.box;
    int count = 2;
    CRenderEngine::DrawHtmlText(canvas.Dc(), c.manager, rc, c.text, kBlack, rects, texts, count,
                                DT_CALCRECT);
    EXPECT_EQ(count, 0);
    EXPECT_EQ(rc.right, c.box.right);
    EXPECT_EQ(rc.bottom, c.box.bottom);
  }
  EXPECT_TRUE(test::IsEmpty(test::InkBounds(canvas)));
}

}  // namespace
