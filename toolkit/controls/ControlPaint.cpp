// How the control base paints: background colour or gradient, background
// image, state images and text (both left to subclasses), then the border.

#include "toolkit/controls/ControlUI.h"
#include "toolkit/controls/RenderClip.h"
#include "toolkit/controls/RenderEngine.h"
#include "toolkit/core/PaintManagerUI.h"

namespace SkinUI {
namespace {

constexpr int kHalfGradientSteps = 8;
constexpr int kFullGradientSteps = 16;

bool IsOpaque(DWORD color) { return (color & 0xFF000000) == 0xFF000000; }

// An empty slot is not worth a trip to the image table.
bool Load(CImageAttribute& image, CPaintManagerUI* manager) {
  return !image.GetAttributeString().IsEmpty() && image.LoadImageW(manager);
}

}  // namespace

void CControlUI::DoPaint(HDC hDC, const RECT& rcPaint) {
  if (!::IntersectRect(&m_rcPaint, &rcPaint, &m_rcItem)) return;
  CRenderClip roundClip;
  if (m_cxyBorderRound.cx > 0 || m_cxyBorderRound.cy > 0) {
    CRenderClip::GenerateRoundClip(hDC, m_rcPaint, m_rcItem, m_cxyBorderRound.cx,
                                   m_cxyBorderRound.cy, roundClip);
  }
  PaintBkColor(hDC);
  PaintBkImage(hDC);
  PaintStatusImage(hDC);
  PaintText(hDC);
  PaintBorder(hDC);
}

void CControlUI::PaintBkColor(HDC hDC) {
  if (m_dwBackColor == 0) return;
  if (m_dwBackColor2 != 0) {
    if (m_dwBackColor3 != 0) {
      RECT upper = m_rcItem;
      upper.bottom = (m_rcItem.top + m_rcItem.bottom) / 2;
      CRenderEngine::DrawGradient(hDC, upper, GetAdjustColor(m_dwBackColor),
                                  GetAdjustColor(m_dwBackColor2), true, kHalfGradientSteps);
      RECT lower = m_rcItem;
      lower.top = upper.bottom;
      CRenderEngine::DrawGradient(hDC, lower, GetAdjustColor(m_dwBackColor2),
                                  GetAdjustColor(m_dwBackColor3), true, kHalfGradientSteps);
    } else {
      CRenderEngine::DrawGradient(hDC, m_rcItem, GetAdjustColor(m_dwBackColor),
                                  GetAdjustColor(m_dwBackColor2), true, kFullGradientSteps);
    }
    return;
  }
  // An opaque colour covers whatever lies below, so only the dirty part
  // needs filling.
  CRenderEngine::DrawColor(hDC, IsOpaque(m_dwBackColor) ? m_rcPaint : m_rcItem,
                           GetAdjustColor(m_dwBackColor));
}

void CControlUI::PaintBkImage(HDC hDC) { DrawImage(hDC, m_diBk); }

void CControlUI::PaintStatusImage(HDC /*hDC*/) {}

void CControlUI::PaintText(HDC /*hDC*/) {}

void CControlUI::PaintBorder(HDC hDC) {
  if (m_dwBorderColor == 0 && m_dwFocusBorderColor == 0) return;
  const bool focusColour = IsFocused() && m_dwFocusBorderColor != 0;
  if (m_nBorderSize > 0 && (m_cxyBorderRound.cx > 0 || m_cxyBorderRound.cy > 0)) {
    CRenderEngine::DrawRoundRect(
        hDC, m_rcItem, m_nBorderSize, m_cxyBorderRound.cx, m_cxyBorderRound.cy,
        GetAdjustColor(focusColour ? m_dwFocusBorderColor : m_dwBorderColor));
    return;
  }
  if (focusColour && m_nBorderSize > 0) {
    CRenderEngine::DrawRect(hDC, m_rcItem, m_nBorderSize, GetAdjustColor(m_dwFocusBorderColor));
    return;
  }
  const RECT& sides = m_rcBorderSize;
  if (sides.left <= 0 && sides.top <= 0 && sides.right <= 0 && sides.bottom <= 0) {
    if (m_nBorderSize > 0) {
      CRenderEngine::DrawRect(hDC, m_rcItem, m_nBorderSize, GetAdjustColor(m_dwBorderColor));
    }
    return;
  }
  // Each side is a line of its own width lying inside the control: the
  // pen is centred on the line, so the line runs half a width in from
  // the edge.  The right and bottom edges are exclusive, so their lines
  // lie one pixel further in.
  const DWORD colour = GetAdjustColor(m_dwBorderColor);
  const RECT& rc = m_rcItem;
  if (sides.left > 0) {
    const int x = rc.left + sides.left / 2;
    CRenderEngine::DrawLine(hDC, RECT{x, rc.top, x, rc.bottom}, sides.left, colour, m_nBorderStyle);
  }
  if (sides.top > 0) {
    const int y = rc.top + sides.top / 2;
    CRenderEngine::DrawLine(hDC, RECT{rc.left, y, rc.right, y}, sides.top, colour, m_nBorderStyle);
  }
  if (sides.right > 0) {
    const int x = rc.right - 1 - (sides.right - 1) / 2;
    CRenderEngine::DrawLine(hDC, RECT{x, rc.top, x, rc.bottom}, sides.right, colour,
                            m_nBorderStyle);
  }
  if (sides.bottom > 0) {
    const int y = rc.bottom - 1 - (sides.bottom - 1) / 2;
    CRenderEngine::DrawLine(hDC, RECT{rc.left, y, rc.right, y}, sides.bottom, colour,
                            m_nBorderStyle);
  }
}

bool CControlUI::DrawImage(HDC hDC, CImageAttribute& image) {
  if (!Load(image, m_pManager)) return false;
  return CRenderEngine::DrawImage(hDC, m_pManager, m_rcItem, m_rcPaint, image);
}

bool CControlUI::DrawImage(HDC hDC, CImageAttribute& image, LPCWSTR pStrModify) {
  if (!Load(image, m_pManager)) return false;
  CImageAttribute variant(image);
  variant.ModifyAttribute(pStrModify);
  return CRenderEngine::DrawImage(hDC, m_pManager, m_rcItem, m_rcPaint, variant);
}

bool CControlUI::DrawImage(HDC hDC, CImageAttribute& image, const RECT& rcDest) {
  if (!Load(image, m_pManager)) return false;
  if (::IsRectEmpty(&rcDest)) {
    return CRenderEngine::DrawImage(hDC, m_pManager, m_rcItem, m_rcPaint, image);
  }
  CImageAttribute variant(image);
  variant.SetDest(rcDest);
  return CRenderEngine::DrawImage(hDC, m_pManager, m_rcItem, m_rcPaint, variant);
}

DWORD CControlUI::GetAdjustColor(DWORD dwColor) const {
  if (!m_bColorHSL) return dwColor;
  short H = 0;
  short S = 0;
  short L = 0;
  CPaintManagerUI::GetHSL(&H, &S, &L);
  return CRenderEngine::AdjustColor(dwColor, H, S, L);
}

}  // namespace SkinUI
