// What the text drawing tests share: a paint manager with known fonts, the
// bounds of what was drawn, and a reference drawing of text pieces made
// with plain GDI calls to compare the markup layout against.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "gtest/gtest.h"
#include "tests/toolkit/controls/RenderCanvas.h"
#include "toolkit/core/PaintManagerUI.h"

namespace test {

constexpr uint32_t kWhite = 0xFFFFFFFF;
constexpr DWORD kBlack = 0xFF000000;
constexpr DWORD kRed = 0xFFFF0000;
constexpr DWORD kGreen = 0xFF00FF00;
constexpr DWORD kBlue = 0xFF0000FF;
// Wine ships Tahoma; the CJK font comes with the test system's fonts.
constexpr const wchar_t* kLatinFace = L"Tahoma";
constexpr const wchar_t* kCjkFace = L"WenQuanYi Micro Hei";

// The smallest rectangle holding every pixel whose red, green or blue
// differs from `background`; empty (all 0) when there is none.
RECT InkBounds(const RenderCanvas& canvas, uint32_t background = kWhite);
RECT InkBounds(const RenderCanvas& canvas, const RECT& area, uint32_t background = kWhite);
bool IsEmpty(const RECT& rect);
// How many pixels of the two canvases differ in red, green or blue.
int DifferentPixels(const RenderCanvas& a, const RenderCanvas& b);
// The first differing pixel, for failure messages.
std::string FirstDifference(const RenderCanvas& a, const RenderCanvas& b);

TEXTMETRICW Metrics(HDC dc, HFONT font);
int TextWidth(HDC dc, HFONT font, const std::wstring& text);
// Font height plus external leading: the height of a line in that font.
int LineHeight(HDC dc, HFONT font);

// One piece of a reference line: text in a font and colour, or a block of
// one colour standing for an inline image.
struct Piece {
  HFONT font = nullptr;
  DWORD colour = 0;
  std::wstring text;
  int imageWidth = 0;
  int imageHeight = 0;
  // Pixels the pen moves before the piece.
  int advance = 0;
  // Text drawn on an opaque background of this colour (0: transparent).
  DWORD background = 0;
};

Piece Text(HFONT font, const std::wstring& text, DWORD colour = 0xFF000000);
Piece Image(int width, int height, DWORD colour);

// Draws the pieces one after another from x on the line from `top` of
// `height` pixels: text sits on the line's bottom, images lower than the
// line are centred.  Returns the x behind the last piece.
int DrawReferenceLine(HDC dc, int x, int top, int height, const std::vector<Piece>& pieces);

// A paint manager with a Tahoma default font of 16 pixels and two custom
// fonts: 0 is Tahoma 24, 1 is Tahoma 12.
// Its members are public so that tables of cases can use them.
class TextTest : public ::testing::Test {
 public:
  TextTest();

  HFONT DefaultFont() { return manager.GetDefaultFontInfo()->hFont; }
  HFONT Variant(bool bold, bool underline, bool italic, int size = 16);

  SkinUI::CPaintManagerUI manager;
};

// The same with images the markup can name: "red8" (8 x 8), "rgb" (three
// frames of 8 x 8 side by side: red, green, blue) and "tall" (8 x 30,
// blue, taller than a line).
class HtmlTextTest : public TextTest {
 public:
  HtmlTextTest();

  HFONT Font(int index) { return manager.GetFont(index); }
  Piece Plain(const std::wstring& text, DWORD colour = kBlack);
  // Half the trailing width of a space in an italic font: where upright
  // text continues after it.
  int ItalicGap(HDC dc, HFONT italic);
  void AddPlainImage(const wchar_t* name, int width, int height, DWORD (*colourAt)(int x));
};

}  // namespace test
