#include "toolkit/controls/TileLayoutUI.h"

#include <cwchar>

#include "toolkit/controls/AttributeValue.h"
#include "toolkit/controls/LayoutSizing.h"
#include "toolkit/controls/ScrollBarUI.h"

namespace SkinUI {
namespace {

using Row = TAttributeRow<CTileLayoutUI>;

const Row kTileLayoutAttributes[] = {
    {L"itemsize", [](CTileLayoutUI& c, LPCWSTR v) { c.SetItemSize(ParseSize(v)); }},
    {L"columns", [](CTileLayoutUI& c, LPCWSTR v) { c.SetColumns(ParseInt(v)); }},
};

// The height a child asks for when it may be as tall as it likes.
constexpr int kUnboundedHeight = 9999;

bool IsShown(const CScrollBarUI* bar) { return bar != nullptr && bar->IsVisible(); }

bool IsPlaced(const CControlUI* control) { return control->IsVisible() && !control->IsFloat(); }

}  // namespace

CTileLayoutUI::CTileLayoutUI() : m_szItem(), m_nColumns(1) {}

LPCWSTR CTileLayoutUI::GetClass() const { return L"TileLayoutUI"; }

LPVOID CTileLayoutUI::GetInterface(LPCWSTR pstrName) {
  if (pstrName != nullptr && std::wcscmp(pstrName, L"TileLayout") == 0) return this;
  return CContainerUI::GetInterface(pstrName);
}

SIZE CTileLayoutUI::GetItemSize() const { return m_szItem; }

void CTileLayoutUI::SetItemSize(SIZE szItem) {
  if (m_szItem.cx == szItem.cx && m_szItem.cy == szItem.cy) return;
  m_szItem = szItem;
  NeedUpdate();
}

int CTileLayoutUI::GetColumns() const { return m_nColumns; }

void CTileLayoutUI::SetColumns(int nCols) {
  if (nCols <= 0) return;
  m_nColumns = nCols;
  NeedUpdate();
}

void CTileLayoutUI::SetAttribute(LPCWSTR pstrName, LPCWSTR pstrValue) {
  if (ApplyAttributeRow(kTileLayoutAttributes, *this, pstrName, pstrValue)) return;
  CContainerUI::SetAttribute(pstrName, pstrValue);
}

void CTileLayoutUI::SetPos(RECT rc) {
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
  const bool horizontal = IsShown(m_pHorizontalScrollBar);
  if (vertical) rc.right -= m_pVerticalScrollBar->GetFixedWidth();
  if (horizontal) rc.bottom -= m_pHorizontalScrollBar->GetFixedHeight();

  if (m_szItem.cx > 0) m_nColumns = (rc.right - rc.left) / m_szItem.cx;
  if (m_nColumns <= 0) m_nColumns = 1;
  const int columns = m_nColumns;

  int contentWidth = rc.right - rc.left;
  if (horizontal) contentWidth += m_pHorizontalScrollBar->GetScrollRange();
  const int cellWidth = contentWidth / columns;
  // Neighbouring cells share the child padding; the outer edges of a row
  // have none.
  const int halfPadding = m_iChildPadding / 2;

  const int rowLeft = rc.left - (horizontal ? m_pHorizontalScrollBar->GetScrollPos() : 0);
  int x = rowLeft;
  int y = rc.top - (vertical ? m_pVerticalScrollBar->GetScrollPos() : 0);
  int rowHeight = 0;
  int placed = 0;
  int needed = 0;
  for (int i = 0; i < m_items.GetSize(); ++i) {
    auto* control = static_cast<CControlUI*>(m_items[i]);
    if (!control->IsVisible()) continue;
    if (control->IsFloat()) {
      SetFloatPos(i);
      continue;
    }

    const int column = placed % columns;
    if (column == 0) {
      // The row is as tall as its tallest child, each measured at the
      // width its own cell will give it.
      int member = 0;
      for (int j = i; j < m_items.GetSize() && member < columns; ++j) {
        auto* cell = static_cast<CControlUI*>(m_items[j]);
        if (!IsPlaced(cell)) continue;
        const RECT padding = cell->GetPadding();
        int width = cellWidth - padding.left - padding.right;
        const bool outer = member == 0 || member == columns - 1;
        width -= outer ? halfPadding : m_iChildPadding;
        width = ClampWidth(*cell, width);
        SIZE sz = cell->EstimateSize(SIZE{width, kUnboundedHeight});
        sz.cx = ClampWidth(*cell, sz.cx);
        sz.cy = ClampHeight(*cell, sz.cy);
        const int height = sz.cy + padding.top + padding.bottom;
        if (height > rowHeight) rowHeight = height;
        ++member;
      }
    }

    const RECT padding = control->GetPadding();
    RECT cell = {x + padding.left + halfPadding, y + padding.top,
                 x + cellWidth - padding.right - halfPadding, y + rowHeight};
    if (column == 0) cell.left -= halfPadding;
    if (column == columns - 1) cell.right += halfPadding;

    const SIZE cellSize = {cell.right - cell.left, cell.bottom - cell.top};
    SIZE sz = control->EstimateSize(cellSize);
    if (sz.cx == 0) sz.cx = cellSize.cx;
    if (sz.cy == 0) sz.cy = cellSize.cy;
    sz.cx = ClampWidth(*control, sz.cx);
    sz.cy = ClampHeight(*control, sz.cy);
    const int left = (cell.left + cell.right - sz.cx) / 2;
    const int top = (cell.top + cell.bottom - sz.cy) / 2;
    control->SetPos(RECT{left, top, left + sz.cx, top + sz.cy});

    ++placed;
    if (placed % columns == 0) {
      x = rowLeft;
      y += rowHeight + m_iChildPadding;
      rowHeight = 0;
    } else {
      x += cellWidth;
    }
    needed = cell.bottom - rc.top + (vertical ? m_pVerticalScrollBar->GetScrollPos() : 0);
  }
  ProcessScrollBar(rc, 0, needed);
}

}  // namespace SkinUI
