// The tags and escapes of the text markup, one line each, compared pixel by
// pixel with the same pieces drawn by plain GDI calls.

#include <windows.h>

#include <algorithm>
#include <cctype>
#include <functional>
#include <string>
#include <vector>

#include "gtest/gtest.h"
#include "tests/toolkit/controls/RenderCanvas.h"
#include "tests/toolkit/controls/TextTestSupport.h"
#include "toolkit/controls/RenderEngine.h"

namespace {

using SkinUI::CRenderEngine;
using test::Piece;
using test::RenderCanvas;

using test::kBlack;
using test::kBlue;
using test::kGreen;
using test::kRed;

using test::HtmlTextTest;

struct TagCase {
  const char* name;
  const wchar_t* markup;
  std::function<std::vector<Piece>(HtmlTextTest&, HDC)> pieces;
  UINT style = DT_SINGLELINE;
  // The line's height when the markup sets it; 0: the tallest piece's.
  std::function<int(HtmlTextTest&, HDC)> lineHeight = nullptr;
};

class HtmlTextTags : public HtmlTextTest, public ::testing::WithParamInterface<TagCase> {};

using Pieces = std::vector<Piece>;

std::vector<TagCase> TagCases() {
  using T = HtmlTextTest;
  return {
      {"plain", L"plain", [](T& t, HDC) { return Pieces{t.Plain(L"plain")}; }},
      {"bold", L"a<b>b</b>c",
       [](T& t, HDC) {
         return Pieces{t.Plain(L"a"), test::Text(t.Variant(true, false, false), L"b"),
                       t.Plain(L"c")};
       }},
      {"braces and colour", L"{c #FF0000}red{/c}",
       [](T& t, HDC) { return Pieces{t.Plain(L"red", kRed)}; }},
      {"colour with blanks, without #", L"<c  FF0000>x</c>y",
       [](T& t, HDC) {
         return Pieces{t.Plain(L"x", kRed), t.Plain(L"y")};
       }},
      {"underline", L"<u>u</u>v",
       [](T& t, HDC) {
         return Pieces{test::Text(t.Variant(false, true, false), L"u"), t.Plain(L"v")};
       }},
      {"italic", L"<i>it</i>x",
       [](T& t, HDC dc) {
         HFONT italic = t.Variant(false, false, true);
         Piece after = t.Plain(L"x");
         after.advance = t.ItalicGap(dc, italic);
         return Pieces{test::Text(italic, L"it"), after};
       }},
      {"font by index, mixed heights", L"<f 0>Big</f>small",
       [](T& t, HDC) {
         return Pieces{test::Text(t.Font(0), L"Big"), t.Plain(L"small")};
       }},
      {"font index out of range", L"<f 9>x</f>", [](T& t, HDC) { return Pieces{t.Plain(L"x")}; }},
      {"font by face and size", L"<f Tahoma 20 bold>x</f>y",
       [](T& t, HDC) {
         return Pieces{test::Text(t.Variant(true, false, false, 20), L"x"), t.Plain(L"y")};
       }},
      {"font face with the default size", L"<f Tahoma>x</f>",
       [](T& t, HDC) { return Pieces{test::Text(t.Variant(false, false, false, 10), L"x")}; }},
      {"font styles in any case", L"<f Tahoma 14 UNDERLINE Bold>x</f>",
       [](T& t, HDC) { return Pieces{test::Text(t.Variant(true, true, false, 14), L"x")}; }},
      {"move the pen", L"<x 10>a<x 3>b",
       [](T& t, HDC) {
         Piece a = t.Plain(L"a");
         a.advance = 10;
         Piece b = t.Plain(L"b");
         b.advance = 3;
         return Pieces{a, b};
       }},
      {"unknown tag is text", L"<z>", [](T& t, HDC) { return Pieces{t.Plain(L"<z>")}; }},
      {"escapes", L"a<{>b<}>c{<}d{>}e",
       [](T& t, HDC) {
         return Pieces{t.Plain(L"a"), t.Plain(L"{"), t.Plain(L"b"), t.Plain(L"}"), t.Plain(L"c"),
                       t.Plain(L"<"), t.Plain(L"d"), t.Plain(L">"), t.Plain(L"e")};
       }},
      {"spaces inside a run", L"a  b", [](T& t, HDC) { return Pieces{t.Plain(L"a  b")}; }},
      {"space on its own", L" <b> </b>a",
       [](T& t, HDC) {
         return Pieces{t.Plain(L" "), test::Text(t.Variant(true, false, false), L" "),
                       t.Plain(L"a")};
       }},
      {"raw", L"<r><b>x</b></r>y",
       [](T& t, HDC) {
         return Pieces{t.Plain(L"<b>x</b>"), t.Plain(L"y")};
       }},
      {"raw in braces", L"{r}<c #FF0000> {/r}",
       [](T& t, HDC) { return Pieces{t.Plain(L"<c #FF0000> ")}; }},
      {"stray closing tags", L"</b>a</c></a></p></f>",
       [](T& t, HDC) { return Pieces{t.Plain(L"a")}; }},
      {"a style already in effect keeps the stack balanced", L"<b>x<b>y</b>z</b>w",
       [](T& t, HDC) {
         HFONT bold = t.Variant(true, false, false);
         return Pieces{test::Text(bold, L"x"), test::Text(bold, L"y"), test::Text(bold, L"z"),
                       t.Plain(L"w")};
       }},
      {"nested colours restore", L"<c #FF0000>r<c #00FF00>g</c>r</c>d",
       [](T& t, HDC) {
         return Pieces{t.Plain(L"r", kRed), t.Plain(L"g", kGreen), t.Plain(L"r", kRed),
                       t.Plain(L"d")};
       }},
      {"opening tag at the end", L"x<b", [](T& t, HDC) { return Pieces{t.Plain(L"x<b")}; }},
      {"parameter without closer", L"<c #FF0000 red",
       [](T& t, HDC) { return Pieces{t.Plain(L"<c #FF0000 red")}; }},
      {"closing tag without closer", L"</b", [](T& t, HDC) { return Pieces{t.Plain(L"</b")}; }},
      {"no closing form", L"a</n>b",
       [](T& t, HDC) {
         return Pieces{t.Plain(L"a"), t.Plain(L"</n>b")};
       }},
      {"new line ignored on a single line", L"a<n>b",
       [](T& t, HDC) {
         return Pieces{t.Plain(L"a"), t.Plain(L"b")};
       }},
      {"selected", L"a<s>sel</s>b",
       [](T& t, HDC) {
         Piece selected = t.Plain(L"sel");
         selected.background = t.manager.GetDefaultSelectedBkColor();
         return Pieces{t.Plain(L"a"), selected, t.Plain(L"b")};
       }},
      {"link", L"<a target>link</a>b",
       [](T& t, HDC) {
         return Pieces{test::Text(t.Variant(false, true, false), L"link",
                                  t.manager.GetDefaultLinkFontColor()),
                       t.Plain(L"b")};
       }},
      {"link inside underlined text", L"<u><a t>l</a>m</u>n",
       [](T& t, HDC) {
         HFONT underline = t.Variant(false, true, false);
         return Pieces{test::Text(underline, L"l", t.manager.GetDefaultLinkFontColor()),
                       test::Text(underline, L"m"), t.Plain(L"n")};
       }},
      {"image", L"a<i red8>b",
       [](T& t, HDC) {
         return Pieces{t.Plain(L"a"), test::Image(8, 8, kRed), t.Plain(L"b")};
       }},
      {"image frame", L"<i rgb 3 1>", [](T&, HDC) { return Pieces{test::Image(8, 8, kGreen)}; }},
      {"image frame out of range", L"<i rgb 3 7>",
       [](T&, HDC) { return Pieces{test::Image(8, 8, kRed)}; }},
      {"image by description", L"<i file='rgb' 3 2>",
       [](T&, HDC) { return Pieces{test::Image(8, 8, kBlue)}; }},
      {"missing image takes no room", L"a<i nothing>b",
       [](T& t, HDC) {
         return Pieces{t.Plain(L"a"), t.Plain(L"b")};
       }},
      {"image taller than the line", L"a<i tall>b",
       [](T& t, HDC) {
         return Pieces{t.Plain(L"a"), test::Image(8, 30, kBlue), t.Plain(L"b")};
       }},
      {"line height", L"<y 30>x", [](T& t, HDC) { return Pieces{t.Plain(L"x")}; }, DT_SINGLELINE,
       [](T&, HDC) { return 30; }},
      {"paragraph spacing", L"<p 10>x</p>", [](T& t, HDC) { return Pieces{t.Plain(L"x")}; },
       DT_SINGLELINE, [](T& t, HDC dc) { return test::LineHeight(dc, t.DefaultFont()) + 10; }},
  };
}

TEST_P(HtmlTextTags, DrawLikeTheirPieces) {
  const TagCase& c = GetParam();
  RenderCanvas drawn(300, 50);
  RECT rc = {0, 0, 300, 50};
  int links = 0;
  CRenderEngine::DrawHtmlText(drawn.Dc(), &manager, rc, c.markup, kBlack, nullptr, nullptr, links,
                              c.style);

  RenderCanvas expected(300, 50);
  const Pieces pieces = c.pieces(*this, expected.Dc());
  int height = test::LineHeight(expected.Dc(), DefaultFont());
  for (const Piece& piece : pieces) {
    height = std::max(height, piece.imageWidth > 0 ? piece.imageHeight
                                                   : test::LineHeight(expected.Dc(), piece.font));
  }
  if (c.lineHeight) height = c.lineHeight(*this, expected.Dc());
  test::DrawReferenceLine(expected.Dc(), 0, 0, height, pieces);

  EXPECT_FALSE(test::IsEmpty(test::InkBounds(drawn))) << c.name;
  EXPECT_EQ(test::DifferentPixels(drawn, expected), 0)
      << c.name << ": " << test::FirstDifference(drawn, expected);
}

INSTANTIATE_TEST_SUITE_P(Table, HtmlTextTags, ::testing::ValuesIn(TagCases()),
                         [](const ::testing::TestParamInfo<TagCase>& info) {
                           std::string name;
                           for (const char* p = info.param.name; *p != '\0'; ++p) {
                             name += std::isalnum(static_cast<unsigned char>(*p)) ? *p : '_';
                           }
                           return name;
                         });

}  // namespace
