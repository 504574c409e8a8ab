// Solid fills, gradients, lines and outlines.  Colours keep their alpha,
// which plain GDI cannot draw, so fills and pens go through GDI+ — except
// opaque fills and borders on targets without an alpha channel, which
// plain GDI draws with the same pixels many times faster.

#include <windows.h>
// GDI+ needs the COM declarations that WIN32_LEAN_AND_MEAN leaves out.
#include <objidl.h>

#include <gdiplus.h>

#include "toolkit/controls/RenderEngine.h"
#include "util/UniqueHandle.h"

namespace SkinUI {
namespace {

BYTE Alpha(DWORD color) { return static_cast<BYTE>(color >> 24); }

COLOR16 Channel(DWORD color, int shift) {
  return static_cast<COLOR16>(((color >> shift) & 0xFF) << 8);
}

// Borders are drawn with an inset pen: a pen of width w covers the w
// pixels inside the outline.  The inset is applied to the outline here
// rather than left to the pen's alignment, which not every GDI+ honours
// (Wine's centres every pen); a centred pen on the outline moved inwards by
// (w - 1) / 2 covers the same pixels.
Gdiplus::REAL Inset(int width) {
  return width > 1 ? static_cast<Gdiplus::REAL>(width - 1) / 2.0f : 0.0f;
}

// True when the device context draws into a 32-bit DIB section: a layered
// window's frame or a bitmap that is blended later, whose alpha byte is
// read.  GDI writes 0 there, so such targets are left to GDI+.  Window DCs
// and the compatible bitmaps of double-buffered painting have no alpha.
bool TargetHasAlpha(HDC dc) {
  HGDIOBJ bitmap = ::GetCurrentObject(dc, OBJ_BITMAP);
  DIBSECTION dib = {};
  if (bitmap == nullptr || ::GetObjectW(bitmap, sizeof dib, &dib) != sizeof dib) return false;
  return dib.dsBm.bmBitsPixel == 32;
}

// A plain GDI fill with the DC's own brush, which needs no brush object.
void FillOpaque(HDC dc, const RECT& rc, DWORD color) {
  const COLORREF previous =
      ::SetDCBrushColor(dc, RGB((color >> 16) & 0xFF, (color >> 8) & 0xFF, color & 0xFF));
  ::FillRect(dc, &rc, static_cast<HBRUSH>(::GetStockObject(DC_BRUSH)));
  ::SetDCBrushColor(dc, previous);
}

// The linear two-colour fill from `first` to `second` over the rectangle,
// colours without their alpha.
void FillGradient(HDC dc, const RECT& rc, DWORD first, DWORD second, bool vertical) {
  TRIVERTEX vertices[2] = {};
  vertices[0].x = rc.left;
  vertices[0].y = rc.top;
  vertices[0].Red = Channel(first, 16);
  vertices[0].Green = Channel(first, 8);
  vertices[0].Blue = Channel(first, 0);
  vertices[0].Alpha = 0xFF00;
  vertices[1].x = rc.right;
  vertices[1].y = rc.bottom;
  vertices[1].Red = Channel(second, 16);
  vertices[1].Green = Channel(second, 8);
  vertices[1].Blue = Channel(second, 0);
  vertices[1].Alpha = 0xFF00;
  GRADIENT_RECT mesh = {0, 1};
  ::GradientFill(dc, vertices, 2, &mesh, 1, vertical ? GRADIENT_FILL_RECT_V : GRADIENT_FILL_RECT_H);
}

}  // namespace

void CRenderEngine::DrawColor(HDC hDC, const RECT& rc, DWORD color) {
  if (hDC == nullptr || Alpha(color) == 0) return;
  if (rc.right <= rc.left || rc.bottom <= rc.top) return;
  if (Alpha(color) == 0xFF && !TargetHasAlpha(hDC)) {
    FillOpaque(hDC, rc, color);
    return;
  }
  Gdiplus::Graphics graphics(hDC);
  Gdiplus::SolidBrush brush{Gdiplus::Color(color)};
  graphics.FillRectangle(&brush, static_cast<INT>(rc.left), static_cast<INT>(rc.top),
                         static_cast<INT>(rc.right - rc.left),
                         static_cast<INT>(rc.bottom - rc.top));
}

void CRenderEngine::DrawGradient(HDC hDC, const RECT& rc, DWORD dwFirst, DWORD dwSecond,
                                 bool bVertical, int /*nSteps*/) {
  // The step count is for drawing the gradient in bands where the
  // platform has no gradient fill; msimg32 is linked in, so it always has.
  if (hDC == nullptr) return;
  const BYTE opacity = static_cast<BYTE>((Alpha(dwFirst) + Alpha(dwSecond)) / 2);
  if (opacity == 0) return;
  const int width = rc.right - rc.left;
  const int height = rc.bottom - rc.top;
  if (width <= 0 || height <= 0) return;
  if (opacity == 255) {
    FillGradient(hDC, rc, dwFirst, dwSecond, bVertical);
    return;
  }
  // A translucent gradient is drawn off-screen and blended on at the
  // average opacity.
  CMemoryDc memory(::CreateCompatibleDC(hDC));
  if (!memory) return;
  DWORD* bits = nullptr;
  CGdiObject bitmap(CreateBitmap(hDC, width, height, &bits));
  if (!bitmap) return;
  CSelectObject selected(memory.Get(), bitmap.Get());
  FillGradient(memory.Get(), RECT{0, 0, width, height}, dwFirst, dwSecond, bVertical);
  BLENDFUNCTION blend = {AC_SRC_OVER, 0, opacity, 0};
  ::AlphaBlend(hDC, rc.left, rc.top, width, height, memory.Get(), 0, 0, width, height, blend);
}

void CRenderEngine::DrawLine(HDC hDC, const RECT& rc, int nSize, DWORD dwPenColor, int nStyle) {
  if (hDC == nullptr) return;
  Gdiplus::Graphics graphics(hDC);
  Gdiplus::Pen pen(Gdiplus::Color(dwPenColor), static_cast<Gdiplus::REAL>(nSize));
  // The pen styles PS_SOLID ... PS_DASHDOTDOT have the values of the GDI+
  // dash styles of the same names.
  if (nStyle >= PS_SOLID && nStyle <= PS_DASHDOTDOT) {
    pen.SetDashStyle(static_cast<Gdiplus::DashStyle>(nStyle));
  }
  graphics.DrawLine(&pen, static_cast<INT>(rc.left), static_cast<INT>(rc.top),
                    static_cast<INT>(rc.right), static_cast<INT>(rc.bottom));
}

void CRenderEngine::DrawRect(HDC hDC, const RECT& rc, int nSize, DWORD dwPenColor) {
  if (hDC == nullptr) return;
  // An opaque border on a target without alpha is four strips of the pen's
  // width inside the rectangle; where they would meet, the whole rectangle.
  if (Alpha(dwPenColor) == 0xFF && nSize >= 1 && rc.right > rc.left && rc.bottom > rc.top &&
      !TargetHasAlpha(hDC)) {
    if (rc.right - rc.left <= 2 * nSize || rc.bottom - rc.top <= 2 * nSize) {
      FillOpaque(hDC, rc, dwPenColor);
      return;
    }
    FillOpaque(hDC, RECT{rc.left, rc.top, rc.right, rc.top + nSize}, dwPenColor);
    FillOpaque(hDC, RECT{rc.left, rc.bottom - nSize, rc.right, rc.bottom}, dwPenColor);
    FillOpaque(hDC, RECT{rc.left, rc.top + nSize, rc.left + nSize, rc.bottom - nSize}, dwPenColor);
    FillOpaque(hDC, RECT{rc.right - nSize, rc.top + nSize, rc.right, rc.bottom - nSize},
               dwPenColor);
    return;
  }
  Gdiplus::Graphics graphics(hDC);
  Gdiplus::Pen pen(Gdiplus::Color(dwPenColor), static_cast<Gdiplus::REAL>(nSize));
  const Gdiplus::REAL inset = Inset(nSize);
  graphics.DrawRectangle(&pen, rc.left + inset, rc.top + inset,
                         static_cast<Gdiplus::REAL>(rc.right - rc.left - 1) - 2 * inset,
                         static_cast<Gdiplus::REAL>(rc.bottom - rc.top - 1) - 2 * inset);
}

void CRenderEngine::DrawRoundRect(HDC hDC, const RECT& rc, int nSize, int width, int height,
                                  DWORD dwPenColor) {
  if (hDC == nullptr) return;
  Gdiplus::Graphics graphics(hDC);
  Gdiplus::Pen pen(Gdiplus::Color(dwPenColor), static_cast<Gdiplus::REAL>(nSize));
  using Gdiplus::REAL;
  const REAL inset = Inset(nSize);
  const REAL left = rc.left + inset;
  const REAL top = rc.top + inset;
  const REAL right = rc.right - inset;
  const REAL bottom = rc.bottom - inset;
  const REAL rx = static_cast<REAL>(width);
  const REAL ry = static_cast<REAL>(height);
  Gdiplus::GraphicsPath path;
  path.AddLine(left, bottom - ry, left, top + ry);
  path.AddArc(left, top, rx * 2, ry * 2, 180.0f, 90.0f);
  path.AddLine(left + rx, top, right - rx, top);
  path.AddArc(right - rx * 2 - 1, top, rx * 2, ry * 2, 270.0f, 90.0f);
  path.AddLine(right - 1, top + ry, right - 1, bottom - ry);
  path.AddArc(right - rx * 2 - 1, bottom - ry * 2 - 1, rx * 2, ry * 2, 0.0f, 90.0f);
  path.AddLine(right - rx, bottom - 1, left + rx, bottom - 1);
  path.AddArc(left, bottom - ry * 2 - 1, rx * 2, ry * 2, 90.0f, 90.0f);
  path.CloseFigure();
  graphics.DrawPath(&pen, &path);
}

}  // namespace SkinUI
