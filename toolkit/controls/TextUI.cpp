#include "toolkit/controls/TextUI.h"

#include <cwchar>

#include "toolkit/controls/AttributeValue.h"
#include "toolkit/controls/RenderEngine.h"
#include "toolkit/core/PaintManagerUI.h"

namespace SkinUI {
namespace {

// Wrapped text is measured in a box this large, less the padding.
constexpr LONG kMeasureExtent = 9999;
constexpr int kDefaultSidePadding = 2;

using Row = TAttributeRow<CTextUI>;

const Row kTextAttributes[] = {
    {L"shadowcolor", [](CTextUI& c, LPCWSTR v) { c.SetShadowColor(ParseColor(v)); }},
};

}  // namespace

CTextUI::CTextUI() : m_nLinks(0), m_rcLinks(), m_nHoverLink(-1), m_dwShadowColor(0) {
  m_uTextStyle = DT_WORDBREAK;
  m_rcTextPadding.left = kDefaultSidePadding;
  m_rcTextPadding.right = kDefaultSidePadding;
}

LPCWSTR CTextUI::GetClass() const { return L"TextUI"; }

LPVOID CTextUI::GetInterface(LPCWSTR pstrName) {
  if (pstrName != nullptr && std::wcscmp(pstrName, L"Text") == 0) {
    return static_cast<CTextUI*>(this);
  }
  return CLabelUI::GetInterface(pstrName);
}

UINT CTextUI::GetControlFlags() const {
  if (IsEnabled() && m_nLinks > 0) return ControlFlagSetCursor;
  return 0;
}

void CTextUI::SetText(LPCWSTR pstrText) {
  if (m_sText == pstrText) return;
  CLabelUI::SetText(pstrText);
  if (m_pParent != nullptr) m_pParent->NeedUpdate();
}

CSkinString* CTextUI::GetLinkContent(int iIndex) {
  if (iIndex < 0 || iIndex >= m_nLinks) return nullptr;
  return &m_sLinks[iIndex];
}

int CTextUI::GetLinkCount() const { return m_nLinks; }

void CTextUI::SetShadowColor(DWORD dwColor) { m_dwShadowColor = dwColor; }

DWORD CTextUI::GetShadowColor() const { return m_dwShadowColor; }

int CTextUI::LinkAt(POINT pt) const {
  for (int i = 0; i < m_nLinks; ++i) {
    if (::PtInRect(&m_rcLinks[i], pt)) return i;
  }
  return -1;
}

void CTextUI::DoEvent(TEventUI& event) {
  if (!IsMouseEnabled() && IsMouseEvent(event.Type)) {
    if (m_pParent != nullptr) {
      m_pParent->DoEvent(event);
    } else {
      CLabelUI::DoEvent(event);
    }
    return;
  }
  switch (event.Type) {
    case EventSetCursor:
      if (LinkAt(event.ptMouse) >= 0) {
        ::SetCursor(::LoadCursorW(nullptr, IDC_HAND));
        return;
      }
      break;
    case EventButtonDown:
    case EventDblClick:
      // Pressing a link only shows it pressed; it reports when released.
      if ((event.Type == EventButtonDown || IsEnabled()) && LinkAt(event.ptMouse) >= 0) {
        Invalidate();
        return;
      }
      break;
    case EventButtonUp: {
      const int link = LinkAt(event.ptMouse);
      if (link >= 0 && IsEnabled()) {
        if (m_pManager != nullptr) m_pManager->SendNotify(this, L"link", link, 0);
        return;
      }
      break;
    }
    case EventContextMenu:
      return;
    case EventMouseMove:
      if (m_nLinks > 0 && IsEnabled()) {
        const int hover = LinkAt(event.ptMouse);
        if (hover != m_nHoverLink) {
          m_nHoverLink = hover;
          Invalidate();
        }
        return;
      }
      break;
    case EventMouseLeave:
      if (m_nLinks > 0 && IsEnabled()) {
        m_nHoverLink = -1;
        Invalidate();
        return;
      }
      break;
    default:
      break;
  }
  CLabelUI::DoEvent(event);
}

SIZE CTextUI::EstimateSize(SIZE /*szAvailable*/) {
  if (m_bAutoCalcWidth && m_pManager != nullptr) {
    RECT measured = {m_rcTextPadding.left, 0, kMeasureExtent - m_rcTextPadding.right,
                     kMeasureExtent};
    const UINT style = m_uTextStyle | DT_CALCRECT;
    if (m_bShowHtml) {
      int links = 0;
      CRenderEngine::DrawHtmlText(m_pManager->GetPaintDC(), m_pManager, measured, m_sText,
                                  m_dwTextColor, nullptr, nullptr, links, style);
    } else {
      CRenderEngine::DrawTextW(m_pManager->GetPaintDC(), m_pManager, measured, m_sText,
                               m_dwTextColor, m_iFont, style);
    }
    // Stored directly: the estimate runs inside the layout pass.
    m_cxyFixed.cx = measured.right - measured.left + m_rcTextPadding.left + m_rcTextPadding.right;
  }
  return m_cxyFixed;
}

void CTextUI::SetAttribute(LPCWSTR pstrName, LPCWSTR pstrValue) {
  if (ApplyAttributeRow(kTextAttributes, *this, pstrName, pstrValue)) return;
  CLabelUI::SetAttribute(pstrName, pstrValue);
}

void CTextUI::PaintText(HDC hDC) {
  if (m_pManager == nullptr) return;
  ResolveTextColors();
  if (m_sText.IsEmpty()) {
    m_nLinks = 0;
    return;
  }
  RECT rc = TextRect();
  const DWORD colour = IsEnabled() ? m_dwTextColor : m_dwDisabledTextColor;
  if (m_bShowHtml) {
    // The links are found anew on every painting; the rectangles of the
    // last one tell the markup which link the mouse is over.
    m_nLinks = kMaxLinks;
    CRenderEngine::DrawHtmlText(hDC, m_pManager, rc, m_sText, colour, m_rcLinks, m_sLinks, m_nLinks,
                                m_uTextStyle);
    return;
  }
  m_nLinks = 0;
  if (m_dwShadowColor != 0) {
    RECT shadow = rc;
    ::OffsetRect(&shadow, 1, 1);
    CRenderEngine::DrawTextW(hDC, m_pManager, shadow, m_sText, m_dwShadowColor, m_iFont,
                             m_uTextStyle);
  }
  CRenderEngine::DrawTextW(hDC, m_pManager, rc, m_sText, colour, m_iFont, m_uTextStyle);
}

}  // namespace SkinUI
