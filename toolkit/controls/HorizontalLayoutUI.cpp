#include "toolkit/controls/HorizontalLayoutUI.h"

#include <cwchar>

#include "toolkit/controls/AttributeValue.h"
#include "toolkit/controls/LayoutSizing.h"
#include "toolkit/controls/ScrollBarUI.h"

namespace SkinUI {
namespace {

using Row = TAttributeRow<CHorizontalLayoutUI>;

const Row kHorizontalLayoutAttributes[] = {
    {L"sepwidth", [](CHorizontalLayoutUI& c, LPCWSTR v) { c.SetSepWidth(ParseInt(v)); }},
    {L"sepimm", [](CHorizontalLayoutUI& c, LPCWSTR v) { c.SetSepImmMode(ParseBool(v)); }},
};

bool IsShown(const CScrollBarUI* bar) { return bar != nullptr && bar->IsVisible(); }

}  // namespace

CHorizontalLayoutUI::CHorizontalLayoutUI()
    : m_separator(*this, m_rcItem, m_cxyFixed, CLayoutSeparator::Axis::Horizontal) {}

LPCWSTR CHorizontalLayoutUI::GetClass() const { return L"HorizontalLayoutUI"; }

LPVOID CHorizontalLayoutUI::GetInterface(LPCWSTR pstrName) {
  if (pstrName != nullptr && std::wcscmp(pstrName, L"HorizontalLayout") == 0) return this;
  return CContainerUI::GetInterface(pstrName);
}

UINT CHorizontalLayoutUI::GetControlFlags() const { return m_separator.GetControlFlags(); }

void CHorizontalLayoutUI::SetSepWidth(int iWidth) { m_separator.SetSize(iWidth); }

int CHorizontalLayoutUI::GetSepWidth() const { return m_separator.GetSize(); }

void CHorizontalLayoutUI::SetSepImmMode(bool bImmediately) { m_separator.SetImmMode(bImmediately); }

bool CHorizontalLayoutUI::IsSepImmMode() const { return m_separator.IsImmMode(); }

RECT CHorizontalLayoutUI::GetThumbRect(bool bUseTracking) const {
  return m_separator.GetThumbRect(bUseTracking);
}

void CHorizontalLayoutUI::SetAttribute(LPCWSTR pstrName, LPCWSTR pstrValue) {
  if (ApplyAttributeRow(kHorizontalLayoutAttributes, *this, pstrName, pstrValue)) return;
  CContainerUI::SetAttribute(pstrName, pstrValue);
}

void CHorizontalLayoutUI::DoEvent(TEventUI& event) {
  if (m_separator.DoEvent(event)) return;
  CContainerUI::DoEvent(event);
}

void CHorizontalLayoutUI::DoPostPaint(HDC hDC, const RECT& /*rcPaint*/) {
  m_separator.DoPostPaint(hDC);
}

void CHorizontalLayoutUI::SetPos(RECT rc) {
  CControlUI::SetPos(rc);
  rc = m_rcItem;
  rc.left += m_rcInset.left;
  rc.top += m_rcInset.top;
  rc.right -= m_rcInset.right;
  rc.bottom -= m_rcInset.bottom;

  if (m_items.GetSize() == 0) {
    ProcessScrollBar(rc, 0, 0);
    return;
  }

  const bool vertical = IsShown(m_pVerticalScrollBar);
  if (vertical) rc.right -= m_pVerticalScrollBar->GetFixedWidth();
  if (IsShown(m_pHorizontalScrollBar)) rc.bottom -= m_pHorizontalScrollBar->GetFixedHeight();

  // Content may be taller than the layout by what the vertical bar
  // scrolls.
  SIZE available = {rc.right - rc.left, rc.bottom - rc.top};
  if (vertical) available.cy += m_pVerticalScrollBar->GetScrollRange();

  // What the children with a width of their own take, and how many share
  // the rest.
  int stretchables = 0;
  int64_t fixedSum = 0;
  int placed = 0;
  for (int i = 0; i < m_items.GetSize(); ++i) {
    auto* control = static_cast<CControlUI*>(m_items[i]);
    if (!control->IsVisible() || control->IsFloat()) continue;
    SIZE sz = control->EstimateSize(available);
    if (sz.cx == 0) {
      ++stretchables;
    } else {
      sz.cx = ClampWidth(*control, sz.cx);
    }
    const RECT padding = control->GetPadding();
    fixedSum += int64_t{sz.cx} + padding.left + padding.right;
    ++placed;
  }
  const int64_t paddingSum = placed > 0 ? int64_t{m_iChildPadding} * (placed - 1) : 0;

  // The pixels the division leaves over stay empty at the right.
  int stretch = 0;
  if (stretchables > 0) {
    stretch = ToCoordinate((available.cx - paddingSum - fixedSum) / stretchables);
    if (stretch < 0) stretch = 0;
  }

  int64_t x = rc.left;
  if (IsShown(m_pHorizontalScrollBar)) x -= m_pHorizontalScrollBar->GetScrollPos();
  int64_t remaining = available.cx;
  int64_t needed = 0;
  for (int i = 0; i < m_items.GetSize(); ++i) {
    auto* control = static_cast<CControlUI*>(m_items[i]);
    if (!control->IsVisible()) continue;
    if (control->IsFloat()) {
      SetFloatPos(i);
      continue;
    }
    const RECT padding = control->GetPadding();
    remaining -= padding.left;
    SIZE sz = control->EstimateSize(SIZE{ToCoordinate(remaining), available.cy});
    if (sz.cx == 0) sz.cx = stretch;
    sz.cx = ClampWidth(*control, sz.cx);

    sz.cy = control->GetFixedHeight();
    if (sz.cy == 0) {
      sz.cy = ToCoordinate(int64_t{rc.bottom} - rc.top - padding.top - padding.bottom);
    }
    if (sz.cy < 0) sz.cy = 0;
    sz.cy = ClampHeight(*control, sz.cy);

    const int left = ToCoordinate(x + padding.left);
    const int top = ToCoordinate(int64_t{rc.top} + padding.top);
    control->SetPos(
        RECT{left, top, ToCoordinate(int64_t{left} + sz.cx), ToCoordinate(int64_t{top} + sz.cy)});

    x += int64_t{sz.cx} + m_iChildPadding + padding.left + padding.right;
    needed += int64_t{sz.cx} + padding.left + padding.right;
    remaining -= int64_t{sz.cx} + m_iChildPadding + padding.right;
  }
  needed += paddingSum;

  // The horizontal bar is this layout's own business: the container only
  // fits the vertical one.  Showing or hiding it changes the height the
  // children were just given, so the next layout pass places them again.
  if (m_pHorizontalScrollBar != nullptr) {
    const int width = rc.right - rc.left;
    if (needed > width) {
      if (!m_pHorizontalScrollBar->IsVisible()) {
        m_pHorizontalScrollBar->SetVisible(true);
        m_pHorizontalScrollBar->SetScrollPos(0);
        rc.bottom -= m_pHorizontalScrollBar->GetFixedHeight();
        NeedUpdate();
      }
      m_pHorizontalScrollBar->SetScrollRange(ToCoordinate(needed - width));
    } else if (m_pHorizontalScrollBar->IsVisible()) {
      m_pHorizontalScrollBar->SetVisible(false);
      m_pHorizontalScrollBar->SetScrollRange(0);
      m_pHorizontalScrollBar->SetScrollPos(0);
      rc.bottom += m_pHorizontalScrollBar->GetFixedHeight();
      NeedUpdate();
    }
  }
  ProcessScrollBar(rc, ToCoordinate(needed), 0);
}

}  // namespace SkinUI
