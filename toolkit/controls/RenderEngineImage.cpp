// Image drawing: the nine-grid of a bitmap with hole, tiling and fade.

#include <algorithm>
#include <cstdint>
#include <optional>

#include "toolkit/controls/ImageAttribute.h"
#include "toolkit/controls/RenderEngine.h"
#include "toolkit/core/PaintManagerUI.h"
#include "util/UniqueHandle.h"

namespace SkinUI {
namespace {

bool IsZero(const RECT& rect) {
  return rect.left == 0 && rect.top == 0 && rect.right == 0 && rect.bottom == 0;
}

bool Meets(const RECT& a, const RECT& b) {
  RECT common;
  return ::IntersectRect(&common, &a, &b) != FALSE;
}

int Width(const RECT& rect) { return rect.right - rect.left; }
int Height(const RECT& rect) { return rect.bottom - rect.top; }

// Puts source rectangles of the selected bitmap onto the target, either
// blended (per-pixel alpha and the fade) or copied.
class CImageBlitter {
 public:
  CImageBlitter(HDC target, HDC source, bool blend, BYTE fade)
      : m_target(target), m_source(source), m_blend(blend), m_fade(fade) {}

  void Draw(const RECT& dest, const RECT& src) const {
    if (Width(dest) <= 0 || Height(dest) <= 0 || Width(src) <= 0 || Height(src) <= 0) return;
    if (m_blend) {
      BLENDFUNCTION blend = {AC_SRC_OVER, 0, m_fade, AC_SRC_ALPHA};
      ::AlphaBlend(m_target, dest.left, dest.top, Width(dest), Height(dest), m_source, src.left,
                   src.top, Width(src), Height(src), blend);
    } else {
      ::StretchBlt(m_target, dest.left, dest.top, Width(dest), Height(dest), m_source, src.left,
                   src.top, Width(src), Height(src), SRCCOPY);
    }
  }

 private:
  HDC m_target;
  HDC m_source;
  bool m_blend;
  BYTE m_fade;
};

// Half-tone stretching for the scope of one image, then the caller's mode.
class CStretchMode {
 public:
  explicit CStretchMode(HDC dc) : m_dc(dc), m_previous(::SetStretchBltMode(dc, HALFTONE)) {
    // Half-tone mode wants the brush origin set after it is chosen.
    ::SetBrushOrgEx(dc, 0, 0, &m_origin);
  }
  ~CStretchMode() {
    ::SetBrushOrgEx(m_dc, m_origin.x, m_origin.y, nullptr);
    if (m_previous != 0) ::SetStretchBltMode(m_dc, m_previous);
  }
  CStretchMode(const CStretchMode&) = delete;
  CStretchMode& operator=(const CStretchMode&) = delete;

 private:
  HDC m_dc;
  int m_previous;
  POINT m_origin = {};
};

// The range of tiles [first, last) along one direction of the middle part
// that meets [paintLow, paintHigh): a destination far larger than the
// window costs only the tiles that can be seen.
void VisibleTiles(int destLow, int destHigh, int tile, int paintLow, int paintHigh, int& first,
                  int& last) {
  const int64_t count = (static_cast<int64_t>(destHigh) - destLow + tile - 1) / tile;
  const int64_t from = (static_cast<int64_t>(paintLow) - destLow) / tile;
  const int64_t to = (static_cast<int64_t>(paintHigh) - destLow + tile - 1) / tile;
  first = static_cast<int>(std::clamp<int64_t>(from, 0, count));
  last = static_cast<int>(std::clamp<int64_t>(to, first, count));
}

// The middle part, tiled instead of stretched in one or both directions.
// Tiles keep the source middle's size along a tiled direction and the last
// one is cut at the middle's edge together with its source.
void DrawTiledMiddle(const CImageBlitter& blitter, const RECT& dest, const RECT& src,
                     const RECT& paint, bool xtiled, bool ytiled) {
  const int tileWidth = Width(src);
  const int tileHeight = Height(src);
  if (tileWidth <= 0 || tileHeight <= 0) return;
  int firstColumn = 0;
  int lastColumn = 1;
  int firstRow = 0;
  int lastRow = 1;
  if (xtiled)
    VisibleTiles(dest.left, dest.right, tileWidth, paint.left, paint.right, firstColumn,
                 lastColumn);
  if (ytiled)
    VisibleTiles(dest.top, dest.bottom, tileHeight, paint.top, paint.bottom, firstRow, lastRow);
  for (int row = firstRow; row < lastRow; ++row) {
    RECT tile;
    RECT part;
    if (ytiled) {
      tile.top = dest.top + row * tileHeight;
      tile.bottom = std::min(tile.top + tileHeight, dest.bottom);
      part.top = src.top;
      part.bottom = src.top + (tile.bottom - tile.top);
    } else {
      tile.top = dest.top;
      tile.bottom = dest.bottom;
      part.top = src.top;
      part.bottom = src.bottom;
    }
    for (int column = firstColumn; column < lastColumn; ++column) {
      if (xtiled) {
        tile.left = dest.left + column * tileWidth;
        tile.right = std::min(tile.left + tileWidth, dest.right);
        part.left = src.left;
        part.right = src.left + (tile.right - tile.left);
      } else {
        tile.left = dest.left;
        tile.right = dest.right;
        part.left = src.left;
        part.right = src.right;
      }
      if (Meets(tile, paint)) blitter.Draw(tile, part);
    }
  }
}

// Rectangles reaching the drawing routines are kept within this distance
// of the origin.  Skin numbers are bounded already (AttributeValue.h); this
// covers rectangles a program computes itself, so that the nine-grid's sums
// of a rectangle and its corners, and the tile arithmetic, stay in 32 bits.
constexpr int kMaxCoordinate = 1 << 26;

RECT Bounded(const RECT& rect) {
  auto bound = [](LONG value) { return std::clamp<LONG>(value, -kMaxCoordinate, kMaxCoordinate); };
  return RECT{bound(rect.left), bound(rect.top), bound(rect.right), bound(rect.bottom)};
}

}  // namespace

bool CRenderEngine::DrawImage(HDC hDC, CPaintManagerUI* pManager, const RECT& rcItem,
                              const RECT& rcPaint, const CImageAttribute& image) {
  if (pManager == nullptr || hDC == nullptr) return false;
  const TImageInfo* info = image.GetImageInfo();
  if (image.GetImageName().IsEmpty() || info == nullptr) return false;

  const RECT item = Bounded(rcItem);
  RECT dest = item;
  const RECT relative = Bounded(image.GetDest());
  if (!IsZero(relative)) {
    dest.left = item.left + relative.left;
    dest.top = item.top + relative.top;
    dest.right = std::min(item.left + relative.right, item.right);
    dest.bottom = std::min(item.top + relative.bottom, item.bottom);
  }
  if (!Meets(dest, item)) return true;
  if (Meets(dest, rcPaint)) {
    const bool alpha = pManager->IsLayeredWindow() || info->alphaChannel;
    DrawImage(hDC, info->hBitmap, dest, rcPaint, image.GetSource(), image.GetCorner(), alpha,
              image.GetFade(), image.IsHole(), image.IsTiledX(), image.IsTiledY());
  }
  return true;
}

void CRenderEngine::DrawImage(HDC hDC, HBITMAP hBitmap, const RECT& rc, const RECT& rcPaint,
                              const RECT& rcBmpPart, const RECT& rcCorners, bool alphaChannel,
                              BYTE uFade, bool hole, bool xtiled, bool ytiled) {
  if (hDC == nullptr || hBitmap == nullptr) return;
  CMemoryDc source(::CreateCompatibleDC(hDC));
  if (!source) return;
  CSelectObject selected(source.Get(), hBitmap);
  const bool blend = alphaChannel || uFade < 255;
  CImageBlitter blitter(hDC, source.Get(), blend, uFade);

  const RECT d = Bounded(rc);
  const RECT s = Bounded(rcBmpPart);
  const RECT c = Bounded(rcCorners);
  // Only what the paint rectangle and the device context's clip let
  // through is ever drawn; tiling counts its tiles within that.
  RECT paint = Bounded(rcPaint);
  RECT clip = {};
  const int clipKind = ::GetClipBox(hDC, &clip);
  if (clipKind == NULLREGION) return;
  if (clipKind != ERROR && !::IntersectRect(&paint, &paint, &clip)) return;

  if (!blend) {
    // An opaque image at its natural size without borders is copied as it
    // is, and only where the paint rectangle needs it.
    if (!hole && IsZero(c) && Width(d) == Width(s) && Height(d) == Height(s)) {
      RECT visible;
      if (::IntersectRect(&visible, &d, &paint)) {
        ::BitBlt(hDC, visible.left, visible.top, Width(visible), Height(visible), source.Get(),
                 s.left + visible.left - d.left, s.top + visible.top - d.top, SRCCOPY);
      }
      return;
    }
  }
  std::optional<CStretchMode> halftone;
  if (!blend) halftone.emplace(hDC);

  struct Part {
    bool drawn;
    RECT dest;
    RECT src;
  };
  const Part border[] = {
      // left-top, top, right-top
      {c.left > 0 && c.top > 0,
       {d.left, d.top, d.left + c.left, d.top + c.top},
       {s.left, s.top, s.left + c.left, s.top + c.top}},
      {c.top > 0,
       {d.left + c.left, d.top, d.right - c.right, d.top + c.top},
       {s.left + c.left, s.top, s.right - c.right, s.top + c.top}},
      {c.right > 0 && c.top > 0,
       {d.right - c.right, d.top, d.right, d.top + c.top},
       {s.right - c.right, s.top, s.right, s.top + c.top}},
      // left, right
      {c.left > 0,
       {d.left, d.top + c.top, d.left + c.left, d.bottom - c.bottom},
       {s.left, s.top + c.top, s.left + c.left, s.bottom - c.bottom}},
      {c.right > 0,
       {d.right - c.right, d.top + c.top, d.right, d.bottom - c.bottom},
       {s.right - c.right, s.top + c.top, s.right, s.bottom - c.bottom}},
      // left-bottom, bottom, right-bottom
      {c.left > 0 && c.bottom > 0,
       {d.left, d.bottom - c.bottom, d.left + c.left, d.bottom},
       {s.left, s.bottom - c.bottom, s.left + c.left, s.bottom}},
      {c.bottom > 0,
       {d.left + c.left, d.bottom - c.bottom, d.right - c.right, d.bottom},
       {s.left + c.left, s.bottom - c.bottom, s.right - c.right, s.bottom}},
      {c.right > 0 && c.bottom > 0,
       {d.right - c.right, d.bottom - c.bottom, d.right, d.bottom},
       {s.right - c.right, s.bottom - c.bottom, s.right, s.bottom}},
  };

  if (!hole) {
    const RECT middle = {d.left + c.left, d.top + c.top, d.right - c.right, d.bottom - c.bottom};
    const RECT middleSource = {s.left + c.left, s.top + c.top, s.right - c.right,
                               s.bottom - c.bottom};
    if (Meets(middle, paint)) {
      if (xtiled || ytiled) {
        DrawTiledMiddle(blitter, middle, middleSource, paint, xtiled, ytiled);
      } else {
        blitter.Draw(middle, middleSource);
      }
    }
  }
  for (const Part& part : border) {
    if (part.drawn && Meets(part.dest, paint)) blitter.Draw(part.dest, part.src);
  }
}

}  // namespace SkinUI
