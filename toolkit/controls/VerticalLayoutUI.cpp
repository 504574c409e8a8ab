#include "toolkit/controls/VerticalLayoutUI.h"

#include <cwchar>

#include "toolkit/controls/AttributeValue.h"
#include "toolkit/controls/LayoutSizing.h"
#include "toolkit/controls/ScrollBarUI.h"

namespace SkinUI {
namespace {

using Row = TAttributeRow<CVerticalLayoutUI>;

const Row kVerticalLayoutAttributes[] = {
    {L"sepheight", [](CVerticalLayoutUI& c, LPCWSTR v) { c.SetSepHeight(ParseInt(v)); }},
    {L"sepimm", [](CVerticalLayoutUI& c, LPCWSTR v) { c.SetSepImmMode(ParseBool(v)); }},
};

bool IsShown(const CScrollBarUI* bar) { return bar != nullptr && bar->IsVisible(); }

}  // namespace

CVerticalLayoutUI::CVerticalLayoutUI()
    : m_separator(*this, m_rcItem, m_cxyFixed, CLayoutSeparator::Axis::Vertical) {}

LPCWSTR CVerticalLayoutUI::GetClass() const { return L"VerticalLayoutUI"; }

LPVOID CVerticalLayoutUI::GetInterface(LPCWSTR pstrName) {
  if (pstrName != nullptr && std::wcscmp(pstrName, L"VerticalLayout") == 0) return this;
  return CContainerUI::GetInterface(pstrName);
}

UINT CVerticalLayoutUI::GetControlFlags() const { return m_separator.GetControlFlags(); }

void CVerticalLayoutUI::SetSepHeight(int iHeight) { m_separator.SetSize(iHeight); }

int CVerticalLayoutUI::GetSepHeight() const { return m_separator.GetSize(); }

void CVerticalLayoutUI::SetSepImmMode(bool bImmediately) { m_separator.SetImmMode(bImmediately); }

bool CVerticalLayoutUI::IsSepImmMode() const { return m_separator.IsImmMode(); }

RECT CVerticalLayoutUI::GetThumbRect(bool bUseTracking) const {
  return m_separator.GetThumbRect(bUseTracking);
}

void CVerticalLayoutUI::SetAttribute(LPCWSTR pstrName, LPCWSTR pstrValue) {
  if (ApplyAttributeRow(kVerticalLayoutAttributes, *this, pstrName, pstrValue)) return;
  CContainerUI::SetAttribute(pstrName, pstrValue);
}

void CVerticalLayoutUI::DoEvent(TEventUI& event) {
  if (m_separator.DoEvent(event)) return;
  CContainerUI::DoEvent(event);
}

void CVerticalLayoutUI::DoPostPaint(HDC hDC, const RECT& /*rcPaint*/) {
  m_separator.DoPostPaint(hDC);
}

void CVerticalLayoutUI::SetPos(RECT rc) {
  CControlUI::SetPos(rc);
  rc = m_rcItem;
  rc.left += m_rcInset.left;
  rc.top += m_rcInset.top;
  rc.right -= m_rcInset.right;
  rc.bottom -= m_rcInset.bottom;
  const bool vertical = IsShown(m_pVerticalScrollBar);
  const bool horizontal = IsShown(m_pHorizontalScrollBar);
  if (vertical) rc.right -= m_pVerticalScrollBar->GetFixedWidth();
  if (horizontal) rc.bottom -= m_pHorizontalScrollBar->GetFixedHeight();

  if (m_items.GetSize() == 0) {
    ProcessScrollBar(rc, 0, 0);
    return;
  }

  // Content may be wider than the layout by what the horizontal bar
  // scrolls.
  SIZE available = {rc.right - rc.left, rc.bottom - rc.top};
  if (horizontal) available.cx += m_pHorizontalScrollBar->GetScrollRange();

  // What the children with a height of their own take, and how many
  // share the rest.
  int stretchables = 0;
  int64_t fixedSum = 0;
  int placed = 0;
  for (int i = 0; i < m_items.GetSize(); ++i) {
    auto* control = static_cast<CControlUI*>(m_items[i]);
    if (!control->IsVisible() || control->IsFloat()) continue;
    SIZE sz = control->EstimateSize(available);
    if (sz.cy == 0) {
      ++stretchables;
    } else {
      sz.cy = ClampHeight(*control, sz.cy);
    }
    const RECT padding = control->GetPadding();
    fixedSum += int64_t{sz.cy} + padding.top + padding.bottom;
    ++placed;
  }
  const int64_t paddingSum = placed > 0 ? int64_t{m_iChildPadding} * (placed - 1) : 0;

  // The pixels the division leaves over stay empty at the bottom.
  int stretch = 0;
  if (stretchables > 0) {
    stretch = ToCoordinate((available.cy - paddingSum - fixedSum) / stretchables);
    if (stretch < 0) stretch = 0;
  }

  int64_t x = rc.left;
  int64_t y = rc.top;
  if (horizontal) x -= m_pHorizontalScrollBar->GetScrollPos();
  if (vertical) y -= m_pVerticalScrollBar->GetScrollPos();
  int64_t remaining = available.cy;
  int64_t needed = 0;
  for (int i = 0; i < m_items.GetSize(); ++i) {
    auto* control = static_cast<CControlUI*>(m_items[i]);
    if (!control->IsVisible()) continue;
    if (control->IsFloat()) {
      SetFloatPos(i);
      continue;
    }
    const RECT padding = control->GetPadding();
    remaining -= padding.top;
    SIZE sz = control->EstimateSize(SIZE{available.cx, ToCoordinate(remaining)});
    if (sz.cy == 0) sz.cy = stretch;
    sz.cy = ClampHeight(*control, sz.cy);

    sz.cx = control->GetFixedWidth();
    if (sz.cx == 0) {
      sz.cx = ToCoordinate(int64_t{available.cx} - padding.left - padding.right);
    }
    if (sz.cx < 0) sz.cx = 0;
    sz.cx = ClampWidth(*control, sz.cx);

    const int left = ToCoordinate(x + padding.left);
    const int top = ToCoordinate(y + padding.top);
    control->SetPos(
        RECT{left, top, ToCoordinate(int64_t{left} + sz.cx), ToCoordinate(int64_t{top} + sz.cy)});

    y += int64_t{sz.cy} + m_iChildPadding + padding.top + padding.bottom;
    needed += int64_t{sz.cy} + padding.top + padding.bottom;
    remaining -= int64_t{sz.cy} + m_iChildPadding + padding.bottom;
  }
  needed += paddingSum;
  ProcessScrollBar(rc, 0, ToCoordinate(needed));
}

}  // namespace SkinUI
