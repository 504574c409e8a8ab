#include "toolkit/controls/LabelUI.h"

#include <cwchar>

#include "toolkit/controls/AttributeValue.h"
#include "toolkit/controls/RenderEngine.h"
#include "toolkit/core/PaintManagerUI.h"

namespace SkinUI {
namespace {

// A label's text is one line; without a fixed height it is as tall as its
// font plus this margin.
constexpr int kLabelHeightMargin = 4;

bool Contains(LPCWSTR text, LPCWSTR word) { return std::wcsstr(text, word) != nullptr; }

void ApplyAlign(CLabelUI& label, LPCWSTR value) {
  UINT style = label.GetTextStyle();
  if (Contains(value, L"left")) {
    style &= ~(DT_CENTER | DT_RIGHT | DT_SINGLELINE);
    style |= DT_LEFT;
  }
  if (Contains(value, L"center")) {
    style &= ~DT_RIGHT;
    style |= DT_CENTER;
  }
  if (Contains(value, L"right")) {
    style &= ~(DT_CENTER | DT_SINGLELINE);
    style |= DT_RIGHT;
  }
  label.SetTextStyle(style);
}

// Top, centre and bottom alignment only work on a single line, so each of
// them turns single-line on.
void ApplyVAlign(CLabelUI& label, LPCWSTR value) {
  UINT style = label.GetTextStyle();
  if (Contains(value, L"top")) {
    style &= ~(DT_VCENTER | DT_BOTTOM);
    style |= DT_TOP | DT_SINGLELINE;
  }
  if (Contains(value, L"center")) {
    style &= ~DT_BOTTOM;
    style |= DT_VCENTER | DT_SINGLELINE;
  }
  if (Contains(value, L"bottom")) {
    style &= ~DT_VCENTER;
    style |= DT_BOTTOM | DT_SINGLELINE;
  }
  label.SetTextStyle(style);
}

using Row = TAttributeRow<CLabelUI>;

const Row kLabelAttributes[] = {
    {L"align", ApplyAlign},
    {L"valign", ApplyVAlign},
    {L"endellipsis",
     [](CLabelUI& c, LPCWSTR v) {
       const UINT style = c.GetTextStyle();
       c.SetTextStyle(ParseBool(v) ? style | DT_END_ELLIPSIS : style & ~DT_END_ELLIPSIS);
     }},
    {L"font", [](CLabelUI& c, LPCWSTR v) { c.SetFont(ParseInt(v)); }},
    {L"textcolor", [](CLabelUI& c, LPCWSTR v) { c.SetTextColor(ParseColor(v)); }},
    {L"disabledtextcolor", [](CLabelUI& c, LPCWSTR v) { c.SetDisabledTextColor(ParseColor(v)); }},
    {L"textpadding", [](CLabelUI& c, LPCWSTR v) { c.SetTextPadding(ParseRect(v)); }},
    {L"showhtml", [](CLabelUI& c, LPCWSTR v) { c.SetShowHtml(ParseBool(v)); }},
    {L"autocalcwidth", [](CLabelUI& c, LPCWSTR v) { c.SetAutoCalcWidth(ParseBool(v)); }},
};

}  // namespace

CLabelUI::CLabelUI()
    : m_dwTextColor(0),
      m_dwDisabledTextColor(0),
      m_iFont(-1),
      m_uTextStyle(DT_VCENTER),
      m_rcTextPadding(),
      m_bShowHtml(false),
      m_bAutoCalcWidth(false) {}

LPCWSTR CLabelUI::GetClass() const { return L"LabelUI"; }

LPVOID CLabelUI::GetInterface(LPCWSTR pstrName) {
  if (pstrName != nullptr && std::wcscmp(pstrName, L"Label") == 0) {
    return static_cast<CLabelUI*>(this);
  }
  return CControlUI::GetInterface(pstrName);
}

void CLabelUI::SetTextStyle(UINT uStyle) {
  m_uTextStyle = uStyle;
  Invalidate();
}

UINT CLabelUI::GetTextStyle() const { return m_uTextStyle; }

void CLabelUI::SetTextColor(DWORD dwTextColor) {
  m_dwTextColor = dwTextColor;
  Invalidate();
}

DWORD CLabelUI::GetTextColor() const { return m_dwTextColor; }

void CLabelUI::SetDisabledTextColor(DWORD dwTextColor) {
  m_dwDisabledTextColor = dwTextColor;
  Invalidate();
}

DWORD CLabelUI::GetDisabledTextColor() const { return m_dwDisabledTextColor; }

void CLabelUI::SetFont(int index) {
  m_iFont = index;
  Invalidate();
}

int CLabelUI::GetFont() const { return m_iFont; }

RECT CLabelUI::GetTextPadding() const { return m_rcTextPadding; }

void CLabelUI::SetTextPadding(RECT rc) {
  m_rcTextPadding = rc;
  Invalidate();
}

bool CLabelUI::IsShowHtml() const { return m_bShowHtml; }

void CLabelUI::SetShowHtml(bool bShowHtml) {
  if (m_bShowHtml == bShowHtml) return;
  m_bShowHtml = bShowHtml;
  Invalidate();
}

bool CLabelUI::GetAutoCalcWidth() const { return m_bAutoCalcWidth; }

void CLabelUI::SetAutoCalcWidth(bool bAutoCalcWidth) { m_bAutoCalcWidth = bAutoCalcWidth; }

void CLabelUI::UpdateAutoWidth() {
  if (!m_bAutoCalcWidth || m_pManager == nullptr) return;
  // Measured on one line from the left edge, whatever the alignment.
  RECT measured = {0, 0, 0, 0};
  CRenderEngine::DrawTextW(m_pManager->GetPaintDC(), m_pManager, measured, m_sText, 0, m_iFont,
                           DT_CALCRECT | (m_uTextStyle & ~(DT_CENTER | DT_RIGHT)));
  // Stored directly: the estimate runs inside the layout pass, which must
  // not be asked for again.
  m_cxyFixed.cx = measured.right - measured.left + m_rcTextPadding.left + m_rcTextPadding.right;
}

int CLabelUI::FontHeight() const {
  if (m_pManager == nullptr) return 0;
  return m_pManager->GetFontInfo(m_iFont)->tm.tmHeight;
}

RECT CLabelUI::TextRect() const {
  RECT rc = m_rcItem;
  rc.left += m_rcTextPadding.left;
  rc.right -= m_rcTextPadding.right;
  rc.top += m_rcTextPadding.top;
  rc.bottom -= m_rcTextPadding.bottom;
  return rc;
}

void CLabelUI::ResolveTextColors() {
  if (m_pManager == nullptr) return;
  if (m_dwTextColor == 0) m_dwTextColor = m_pManager->GetDefaultFontColor();
  if (m_dwDisabledTextColor == 0) m_dwDisabledTextColor = m_pManager->GetDefaultDisabledColor();
}

SIZE CLabelUI::EstimateSize(SIZE /*szAvailable*/) {
  UpdateAutoWidth();
  if (m_cxyFixed.cy != 0) return m_cxyFixed;
  return SIZE{m_cxyFixed.cx, FontHeight() + kLabelHeightMargin};
}

void CLabelUI::DoEvent(TEventUI& event) {
  // The focus changes nothing a label draws.
  if (event.Type == EventSetFocus) {
    m_bFocused = true;
    return;
  }
  if (event.Type == EventKillFocus) {
    m_bFocused = false;
    return;
  }
  CControlUI::DoEvent(event);
}

void CLabelUI::SetAttribute(LPCWSTR pstrName, LPCWSTR pstrValue) {
  if (ApplyAttributeRow(kLabelAttributes, *this, pstrName, pstrValue)) return;
  CControlUI::SetAttribute(pstrName, pstrValue);
}

void CLabelUI::PaintText(HDC hDC) {
  if (m_pManager == nullptr) return;
  ResolveTextColors();
  if (m_sText.IsEmpty()) return;
  RECT rc = TextRect();
  const DWORD colour = IsEnabled() ? m_dwTextColor : m_dwDisabledTextColor;
  // Whatever the alignment attributes left, a label draws one line.
  const UINT style = m_uTextStyle | DT_SINGLELINE;
  if (m_bShowHtml) {
    int links = 0;
    CRenderEngine::DrawHtmlText(hDC, m_pManager, rc, m_sText, colour, nullptr, nullptr, links,
                                style);
  } else {
    CRenderEngine::DrawTextW(hDC, m_pManager, rc, m_sText, colour, m_iFont, style);
  }
}

}  // namespace SkinUI
