// How a button paints its state: one state image chosen by the first state
// that holds (disabled, pushed, hot, focused), each falling back to the
// normal image, and the text in the colour of that state.

#include "toolkit/controls/ButtonUI.h"
#include "toolkit/controls/RenderEngine.h"
#include "toolkit/core/PaintManagerUI.h"

namespace SkinUI {

void CButtonUI::RefreshStateBits() {
  if (IsFocused()) {
    m_uButtonState |= UISTATE_FOCUSED;
  } else {
    m_uButtonState &= ~UISTATE_FOCUSED;
  }
  if (!IsEnabled()) {
    m_uButtonState |= UISTATE_DISABLED;
  } else {
    m_uButtonState &= ~UISTATE_DISABLED;
  }
}

bool CButtonUI::CanLoad(CImageAttribute& image) {
  return !image.GetAttributeString().IsEmpty() && image.LoadImageW(m_pManager);
}

void CButtonUI::DrawForeImage(HDC hDC, CImageAttribute& image) {
  DrawImage(hDC, CanLoad(image) ? image : m_diFore);
}

void CButtonUI::PaintStatusImage(HDC hDC) {
  RefreshStateBits();
  if ((m_uButtonState & UISTATE_DISABLED) != 0) {
    DrawImage(hDC, CanLoad(m_diDisabled) ? m_diDisabled : m_diNormal);
    DrawImage(hDC, m_diFore);
    return;
  }
  if ((m_uButtonState & UISTATE_PUSHED) != 0) {
    if (CanLoad(m_diPushed)) {
      DrawImage(hDC, m_diPushed);
      DrawForeImage(hDC, m_diPushedFore);
      return;
    }
  } else if ((m_uButtonState & UISTATE_HOT) != 0) {
    if (CanLoad(m_diHot)) {
      DrawImage(hDC, m_diHot);
      DrawForeImage(hDC, m_diHotFore);
      return;
    }
    if (m_dwHotBkColor != 0) {
      CRenderEngine::DrawColor(hDC, m_rcPaint, GetAdjustColor(m_dwHotBkColor));
      return;
    }
  } else if ((m_uButtonState & UISTATE_FOCUSED) != 0) {
    if (CanLoad(m_diFocused)) {
      DrawImage(hDC, m_diFocused);
      DrawImage(hDC, m_diFore);
      return;
    }
  }
  DrawImage(hDC, m_diNormal);
  DrawImage(hDC, m_diFore);
}

DWORD CButtonUI::StateTextColor() const {
  if ((m_uButtonState & UISTATE_PUSHED) != 0 && m_dwPushedTextColor != 0) {
    return m_dwPushedTextColor;
  }
  if ((m_uButtonState & UISTATE_HOT) != 0 && m_dwHotTextColor != 0) return m_dwHotTextColor;
  if ((m_uButtonState & UISTATE_FOCUSED) != 0 && m_dwFocusedTextColor != 0) {
    return m_dwFocusedTextColor;
  }
  return IsEnabled() ? m_dwTextColor : m_dwDisabledTextColor;
}

void CButtonUI::PaintText(HDC hDC) {
  RefreshStateBits();
  if (m_pManager == nullptr) return;
  ResolveTextColors();
  if (m_sText.IsEmpty()) return;
  RECT rc = TextRect();
  const DWORD colour = StateTextColor();
  if (m_bShowHtml) {
    int links = 0;
    CRenderEngine::DrawHtmlText(hDC, m_pManager, rc, m_sText, colour, nullptr, nullptr, links,
                                m_uTextStyle);
  } else {
    CRenderEngine::DrawTextW(hDC, m_pManager, rc, m_sText, colour, m_iFont, m_uTextStyle);
  }
}

}  // namespace SkinUI
