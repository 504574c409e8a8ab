// Plain text: drawn with GDI, or with GDI+ where the alpha channel of the
// target matters, and measured on one line.

#include <windows.h>
// GDI+ needs the COM declarations that WIN32_LEAN_AND_MEAN leaves out.
#include <objidl.h>

#include <gdiplus.h>

#include <cwchar>
#include <optional>

#include "toolkit/controls/RenderEngine.h"
#include "toolkit/core/PaintManagerUI.h"
#include "util/UniqueHandle.h"

namespace SkinUI {
namespace {

// GDI+ text keeps this opacity.  A fully opaque brush lets GDI+ hand the
// text to GDI, which leaves the alpha byte of a 32-bit target at 0 and so
// makes the text invisible in a layered window; one step below opaque
// keeps it in GDI+, which writes the alpha of every glyph pixel.
constexpr BYTE kGdiplusTextAlpha = 0xFE;

COLORREF GdiColor(DWORD color) {
  return RGB((color >> 16) & 0xFF, (color >> 8) & 0xFF, color & 0xFF);
}

// The GDI+ string format for the DrawText style bits.  The format flags are
// exactly the ones the style asks for, so text is clipped to its box unless
// DT_NOCLIP says otherwise, as with GDI.
void ApplyStyle(Gdiplus::StringFormat& format, UINT uStyle) {
  if ((uStyle & DT_END_ELLIPSIS) != 0) format.SetTrimming(Gdiplus::StringTrimmingEllipsisCharacter);
  INT flags = 0;
  if ((uStyle & DT_NOCLIP) != 0) flags |= Gdiplus::StringFormatFlagsNoClip;
  if ((uStyle & DT_SINGLELINE) != 0) flags |= Gdiplus::StringFormatFlagsNoWrap;
  format.SetFormatFlags(flags);
  if ((uStyle & DT_CENTER) != 0) {
    format.SetAlignment(Gdiplus::StringAlignmentCenter);
  } else if ((uStyle & DT_RIGHT) != 0) {
    format.SetAlignment(Gdiplus::StringAlignmentFar);
  } else {
    format.SetAlignment(Gdiplus::StringAlignmentNear);
  }
  if ((uStyle & DT_VCENTER) != 0) {
    format.SetLineAlignment(Gdiplus::StringAlignmentCenter);
  } else if ((uStyle & DT_BOTTOM) != 0) {
    format.SetLineAlignment(Gdiplus::StringAlignmentFar);
  } else {
    format.SetLineAlignment(Gdiplus::StringAlignmentNear);
  }
}

void DrawGdiplusText(HDC hDC, const Gdiplus::Font& font, RECT& rc, LPCWSTR pstrText,
                     DWORD dwTextColor, UINT uStyle) {
  Gdiplus::Graphics graphics(hDC);
  Gdiplus::StringFormat format(Gdiplus::StringFormat::GenericTypographic());
  ApplyStyle(format, uStyle);
  const Gdiplus::RectF box(static_cast<Gdiplus::REAL>(rc.left), static_cast<Gdiplus::REAL>(rc.top),
                           static_cast<Gdiplus::REAL>(rc.right - rc.left),
                           static_cast<Gdiplus::REAL>(rc.bottom - rc.top));
  const INT length = static_cast<INT>(std::wcslen(pstrText));
  if ((uStyle & DT_CALCRECT) != 0) {
    Gdiplus::RectF bounds;
    if (graphics.MeasureString(pstrText, length, &font, box, &format, &bounds) != Gdiplus::Ok) {
      return;
    }
    rc.right = rc.left + static_cast<LONG>(bounds.Width) + 1;
    rc.bottom = rc.top + static_cast<LONG>(bounds.Height) + 1;
    return;
  }
  // GDI+ stops a line where the box's width ends but lays out a line
  // taller than the box whole, and leaves the glyphs below the box; the box
  // is made the clip, as GDI's text output does, unless DT_NOCLIP says
  // otherwise.
  if ((uStyle & DT_NOCLIP) == 0) graphics.SetClip(box, Gdiplus::CombineModeIntersect);
  Gdiplus::SolidBrush brush(Gdiplus::Color(kGdiplusTextAlpha, (dwTextColor >> 16) & 0xFF,
                                           (dwTextColor >> 8) & 0xFF, dwTextColor & 0xFF));
  graphics.DrawString(pstrText, length, &font, box, &format, &brush);
}

}  // namespace

void CRenderEngine::DrawTextW(HDC hDC, CPaintManagerUI* pManager, RECT& rc, LPCWSTR pstrText,
                              DWORD dwTextColor, int iFont, UINT uStyle) {
  if (hDC == nullptr || pManager == nullptr || pstrText == nullptr || *pstrText == L'\0') return;
  HFONT hFont = pManager->GetFont(iFont);
  if (pManager->IsLayeredWindow() || pManager->IsUseGdiplusText()) {
    LOGFONTW lf = {};
    if (hFont != nullptr && ::GetObjectW(hFont, sizeof lf, &lf) == sizeof lf) {
      Gdiplus::Font font(hDC, &lf);
      DrawGdiplusText(hDC, font, rc, pstrText, dwTextColor, uStyle);
    } else {
      Gdiplus::Font font(hDC);
      DrawGdiplusText(hDC, font, rc, pstrText, dwTextColor, uStyle);
    }
    return;
  }
  ::SetBkMode(hDC, TRANSPARENT);
  ::SetTextColor(hDC, GdiColor(dwTextColor));
  // Selecting a font costs even when it is the current one: the platform
  // prepares it again for the next text.  Painting keeps the default font
  // selected, so that most texts find theirs in place.
  std::optional<CSelectObject> selected;
  if (hFont != nullptr && ::GetCurrentObject(hDC, OBJ_FONT) != hFont) selected.emplace(hDC, hFont);
  ::DrawTextW(hDC, pstrText, -1, &rc, uStyle | DT_NOPREFIX);
}

SIZE CRenderEngine::GetTextSize(HDC hDC, CPaintManagerUI* pManager, LPCWSTR pstrText, int iFont,
                                UINT /*uStyle*/) {
  SIZE size = {0, 0};
  if (hDC == nullptr || pManager == nullptr || pstrText == nullptr || *pstrText == L'\0') {
    return size;
  }
  CSelectObject selected(hDC, pManager->GetFont(iFont));
  if (!::GetTextExtentPoint32W(hDC, pstrText, static_cast<int>(std::wcslen(pstrText)), &size)) {
    size = SIZE{0, 0};
  }
  return size;
}

}  // namespace SkinUI
