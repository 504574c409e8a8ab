#include "tests/toolkit/controls/TextTestSupport.h"

#include <algorithm>
#include <sstream>

#include "util/UniqueHandle.h"

namespace test {

RECT InkBounds(const RenderCanvas& canvas, uint32_t background) {
  return InkBounds(canvas, RECT{0, 0, canvas.Width(), canvas.Height()}, background);
}

RECT InkBounds(const RenderCanvas& canvas, const RECT& area, uint32_t background) {
  RECT ink = {area.right, area.bottom, area.left, area.top};
  bool any = false;
  for (int y = area.top; y < area.bottom; ++y) {
    for (int x = area.left; x < area.right; ++x) {
      if (Rgb(canvas.At(x, y)) == Rgb(background)) continue;
      any = true;
      ink.left = std::min<LONG>(ink.left, x);
      ink.top = std::min<LONG>(ink.top, y);
      ink.right = std::max<LONG>(ink.right, x + 1);
      ink.bottom = std::max<LONG>(ink.bottom, y + 1);
    }
  }
  return any ? ink : RECT{};
}

bool IsEmpty(const RECT& rect) { return rect.right <= rect.left || rect.bottom <= rect.top; }

int DifferentPixels(const RenderCanvas& a, const RenderCanvas& b) {
  int count = 0;
  for (int y = 0; y < a.Height(); ++y) {
    for (int x = 0; x < a.Width(); ++x) count += Rgb(a.At(x, y)) != Rgb(b.At(x, y)) ? 1 : 0;
  }
  return count;
}

std::string FirstDifference(const RenderCanvas& a, const RenderCanvas& b) {
  for (int y = 0; y < a.Height(); ++y) {
    for (int x = 0; x < a.Width(); ++x) {
      if (Rgb(a.At(x, y)) == Rgb(b.At(x, y))) continue;
      std::ostringstream out;
      out << "first difference at (" << x << ", " << y << "): " << std::hex << a.At(x, y)
          << " against " << b.At(x, y);
      return out.str();
    }
  }
  return "no difference";
}

TEXTMETRICW Metrics(HDC dc, HFONT font) {
  TEXTMETRICW tm = {};
  CSelectObject selected(dc, font);
  ::GetTextMetricsW(dc, &tm);
  return tm;
}

int TextWidth(HDC dc, HFONT font, const std::wstring& text) {
  SIZE size = {};
  CSelectObject selected(dc, font);
  ::GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
  return size.cx;
}

int LineHeight(HDC dc, HFONT font) {
  const TEXTMETRICW tm = Metrics(dc, font);
  return tm.tmHeight + tm.tmExternalLeading;
}

Piece Text(HFONT font, const std::wstring& text, DWORD colour) {
  Piece piece;
  piece.font = font;
  piece.text = text;
  piece.colour = colour;
  return piece;
}

Piece Image(int width, int height, DWORD colour) {
  Piece piece;
  piece.imageWidth = width;
  piece.imageHeight = height;
  piece.colour = colour;
  return piece;
}

int DrawReferenceLine(HDC dc, int x, int top, int height, const std::vector<Piece>& pieces) {
  for (const Piece& piece : pieces) {
    x += piece.advance;
    const COLORREF colour =
        RGB((piece.colour >> 16) & 0xFF, (piece.colour >> 8) & 0xFF, piece.colour & 0xFF);
    if (piece.imageWidth > 0) {
      int imageTop = top + height - piece.imageHeight;
      if (piece.imageHeight < height) imageTop -= (height - piece.imageHeight) / 2;
      CGdiObject brush(::CreateSolidBrush(colour));
      const RECT block = {x, imageTop, x + piece.imageWidth, imageTop + piece.imageHeight};
      ::FillRect(dc, &block, static_cast<HBRUSH>(brush.Get()));
      x += piece.imageWidth;
      continue;
    }
    const TEXTMETRICW tm = Metrics(dc, piece.font);
    CSelectObject selected(dc, piece.font);
    ::SetTextColor(dc, colour);
    if (piece.background != 0) {
      ::SetBkMode(dc, OPAQUE);
      const DWORD bk = piece.background;
      ::SetBkColor(dc, RGB((bk >> 16) & 0xFF, (bk >> 8) & 0xFF, bk & 0xFF));
    } else {
      ::SetBkMode(dc, TRANSPARENT);
    }
    ::TextOutW(dc, x, top + height - tm.tmHeight - tm.tmExternalLeading, piece.text.c_str(),
               static_cast<int>(piece.text.size()));
    x += TextWidth(dc, piece.font, piece.text);
  }
  return x;
}

TextTest::TextTest() {
  manager.SetDefaultFont(kLatinFace, 16, false, false, false);
  manager.AddFont(kLatinFace, 24, false, false, false);
  manager.AddFont(kLatinFace, 12, false, false, false);
}

HFONT TextTest::Variant(bool bold, bool underline, bool italic, int size) {
  HFONT font = manager.GetFont(kLatinFace, size, bold, underline, italic);
  if (font == nullptr) font = manager.AddFont(kLatinFace, size, bold, underline, italic);
  return font;
}

HtmlTextTest::HtmlTextTest() {
  AddPlainImage(L"red8", 8, 8, [](int) { return kRed; });
  AddPlainImage(L"rgb", 24, 8, [](int x) { return x < 8 ? kRed : x < 16 ? kGreen : kBlue; });
  AddPlainImage(L"tall", 8, 30, [](int) { return kBlue; });
}

void HtmlTextTest::AddPlainImage(const wchar_t* name, int width, int height,
                                 DWORD (*colourAt)(int x)) {
  HBITMAP bitmap = MakeBitmap(width, height, [&](int x, int) { return colourAt(x); });
  manager.AddImage(name, bitmap, width, height, false);
}

Piece HtmlTextTest::Plain(const std::wstring& text, DWORD colour) {
  return Text(DefaultFont(), text, colour);
}

int HtmlTextTest::ItalicGap(HDC dc, HFONT italic) {
  CSelectObject selected(dc, italic);
  ABC abc = {};
  ::GetCharABCWidthsW(dc, L' ', L' ', &abc);
  return abc.abcC / 2;
}

}  // namespace test
