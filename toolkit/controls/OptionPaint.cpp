// How an option paints: while selected, its selected images (or its
// selected background colour) in place of the button's state images, and
// the selected text colour.

#include "toolkit/controls/OptionUI.h"
#include "toolkit/controls/RenderEngine.h"
#include "toolkit/core/PaintManagerUI.h"

namespace SkinUI {

void COptionUI::PaintStatusImage(HDC hDC) {
  bool filledBackground = false;
  if ((m_uButtonState & UISTATE_PUSHED) != 0 && m_bSelected && CanLoad(m_diSelectedPushed)) {
    if (!DrawImage(hDC, m_diSelectedPushed)) CButtonUI::PaintStatusImage(hDC);
  } else if ((m_uButtonState & UISTATE_HOT) != 0 && m_bSelected && CanLoad(m_diSelectedHot)) {
    if (!DrawImage(hDC, m_diSelectedHot)) CButtonUI::PaintStatusImage(hDC);
  } else if (m_bSelected) {
    if (CanLoad(m_diSelected)) {
      if (!DrawImage(hDC, m_diSelected)) CButtonUI::PaintStatusImage(hDC);
    } else if (m_dwSelectedBkColor != 0) {
      CRenderEngine::DrawColor(hDC, m_rcPaint, GetAdjustColor(m_dwSelectedBkColor));
      filledBackground = true;
    } else {
      CButtonUI::PaintStatusImage(hDC);
    }
  } else {
    CButtonUI::PaintStatusImage(hDC);
  }
  if (filledBackground) return;
  if (m_bSelected && CanLoad(m_diSelectedFore)) {
    DrawImage(hDC, m_diSelectedFore);
  } else if (CanLoad(m_diFore)) {
    DrawImage(hDC, m_diFore);
  }
}

void COptionUI::PaintText(HDC hDC) {
  if (!m_bSelected) {
    CButtonUI::PaintText(hDC);
    return;
  }
  if (m_pManager == nullptr) return;
  ResolveTextColors();
  // The selected colour stands in for the text colour; the hot, pushed and
  // focused colours of a button do not apply to a selected option.
  const DWORD enabledColour = m_dwSelectedTextColor != 0 ? m_dwSelectedTextColor : m_dwTextColor;
  const DWORD colour = IsEnabled() ? enabledColour : m_dwDisabledTextColor;
  if (m_sText.IsEmpty()) return;
  RECT rc = TextRect();
  if (m_bShowHtml) {
    int links = 0;
    CRenderEngine::DrawHtmlText(hDC, m_pManager, rc, m_sText, colour, nullptr, nullptr, links,
                                m_uTextStyle);
  } else {
    CRenderEngine::DrawTextW(hDC, m_pManager, rc, m_sText, colour, m_iFont, m_uTextStyle);
  }
}

}  // namespace SkinUI
