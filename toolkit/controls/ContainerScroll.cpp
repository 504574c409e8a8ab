// Scrolling a container's content with its scroll bars.

#include <cstdlib>
#include <new>

#include "toolkit/controls/ContainerUI.h"
#include "toolkit/controls/ScrollBarUI.h"
#include "toolkit/core/PaintManagerUI.h"

namespace SkinUI {
namespace {

// Without a manager or a font, lines are this many pixels.
constexpr int kDefaultLineStep = 8;

bool IsShown(const CScrollBarUI* bar) { return bar != nullptr && bar->IsVisible(); }

// A bar of the container, attached to its manager but to no parent yet,
// styled by the skin's default list for bars of its direction.
CScrollBarUI* NewScrollBar(CContainerUI* owner, CPaintManagerUI* manager, bool horizontal) {
  auto* bar = new (std::nothrow) CScrollBarUI;
  if (bar == nullptr) return nullptr;
  if (horizontal) bar->SetHorizontal(true);
  bar->SetOwner(owner);
  bar->SetManager(manager, nullptr, false);
  if (manager != nullptr) {
    LPCWSTR style = manager->GetDefaultAttributeList(horizontal ? L"HScrollBar" : L"VScrollBar");
    if (style != nullptr) bar->ApplyAttributeList(style);
  }
  return bar;
}

}  // namespace

SIZE CContainerUI::GetScrollPos() const {
  SIZE sz = {};
  if (IsShown(m_pHorizontalScrollBar)) sz.cx = m_pHorizontalScrollBar->GetScrollPos();
  if (IsShown(m_pVerticalScrollBar)) sz.cy = m_pVerticalScrollBar->GetScrollPos();
  return sz;
}

SIZE CContainerUI::GetScrollRange() const {
  SIZE sz = {};
  if (IsShown(m_pHorizontalScrollBar)) sz.cx = m_pHorizontalScrollBar->GetScrollRange();
  if (IsShown(m_pVerticalScrollBar)) sz.cy = m_pVerticalScrollBar->GetScrollRange();
  return sz;
}

void CContainerUI::SetScrollPos(SIZE szPos) {
  int cx = 0;
  int cy = 0;
  if (IsShown(m_pVerticalScrollBar)) {
    const int old = m_pVerticalScrollBar->GetScrollPos();
    m_pVerticalScrollBar->SetScrollPos(szPos.cy);
    cy = m_pVerticalScrollBar->GetScrollPos() - old;
  }
  if (IsShown(m_pHorizontalScrollBar)) {
    const int old = m_pHorizontalScrollBar->GetScrollPos();
    m_pHorizontalScrollBar->SetScrollPos(szPos.cx);
    cx = m_pHorizontalScrollBar->GetScrollPos() - old;
  }
  if (cx == 0 && cy == 0) return;
  // Floating children stay where they are.
  for (int i = 0; i < m_items.GetSize(); ++i) {
    auto* control = static_cast<CControlUI*>(m_items[i]);
    if (!control->IsVisible() || control->IsFloat()) continue;
    RECT rc = control->GetPos();
    ::OffsetRect(&rc, -cx, -cy);
    control->SetPos(rc);
  }
  Invalidate();
}

void CContainerUI::SetScrollStepSize(int nSize) {
  if (nSize > 0) m_nScrollStepSize = nSize;
}

int CContainerUI::GetScrollStepSize() const { return m_nScrollStepSize; }

void CContainerUI::LineUp() {
  int step = m_nScrollStepSize;
  if (step == 0) {
    step = kDefaultLineStep;
    if (m_pManager != nullptr) {
      const TFontInfo* font = m_pManager->GetDefaultFontInfo();
      if (font != nullptr) step = font->tm.tmHeight + kDefaultLineStep;
    }
  }
  SIZE sz = GetScrollPos();
  sz.cy -= step;
  SetScrollPos(sz);
}

void CContainerUI::LineDown() {
  int step = m_nScrollStepSize;
  if (step == 0) {
    step = kDefaultLineStep;
    if (m_pManager != nullptr) {
      const TFontInfo* font = m_pManager->GetDefaultFontInfo();
      if (font != nullptr) step = font->tm.tmHeight + kDefaultLineStep;
    }
  }
  SIZE sz = GetScrollPos();
  sz.cy += step;
  SetScrollPos(sz);
}

void CContainerUI::PageUp() {
  SIZE sz = GetScrollPos();
  const RECT page = GetInnerRect();
  sz.cy -= page.bottom - page.top;
  SetScrollPos(sz);
}

void CContainerUI::PageDown() {
  SIZE sz = GetScrollPos();
  const RECT page = GetInnerRect();
  sz.cy += page.bottom - page.top;
  SetScrollPos(sz);
}

void CContainerUI::HomeUp() {
  SIZE sz = GetScrollPos();
  sz.cy = 0;
  SetScrollPos(sz);
}

void CContainerUI::EndDown() {
  SIZE sz = GetScrollPos();
  sz.cy = GetScrollRange().cy;
  SetScrollPos(sz);
}

void CContainerUI::LineLeft() {
  SIZE sz = GetScrollPos();
  sz.cx -= m_nScrollStepSize != 0 ? m_nScrollStepSize : kDefaultLineStep;
  SetScrollPos(sz);
}

void CContainerUI::LineRight() {
  SIZE sz = GetScrollPos();
  sz.cx += m_nScrollStepSize != 0 ? m_nScrollStepSize : kDefaultLineStep;
  SetScrollPos(sz);
}

void CContainerUI::PageLeft() {
  SIZE sz = GetScrollPos();
  const RECT page = GetInnerRect();
  sz.cx -= page.right - page.left;
  SetScrollPos(sz);
}

void CContainerUI::PageRight() {
  SIZE sz = GetScrollPos();
  const RECT page = GetInnerRect();
  sz.cx += page.right - page.left;
  SetScrollPos(sz);
}

void CContainerUI::HomeLeft() {
  SIZE sz = GetScrollPos();
  sz.cx = 0;
  SetScrollPos(sz);
}

void CContainerUI::EndRight() {
  SIZE sz = GetScrollPos();
  sz.cx = GetScrollRange().cx;
  SetScrollPos(sz);
}

void CContainerUI::EnableScrollBar(bool bEnableVertical, bool bEnableHorizontal) {
  if (bEnableVertical && m_pVerticalScrollBar == nullptr) {
    m_pVerticalScrollBar = NewScrollBar(this, m_pManager, false);
  } else if (!bEnableVertical && m_pVerticalScrollBar != nullptr) {
    delete m_pVerticalScrollBar;
    m_pVerticalScrollBar = nullptr;
  }
  if (bEnableHorizontal && m_pHorizontalScrollBar == nullptr) {
    m_pHorizontalScrollBar = NewScrollBar(this, m_pManager, true);
  } else if (!bEnableHorizontal && m_pHorizontalScrollBar != nullptr) {
    delete m_pHorizontalScrollBar;
    m_pHorizontalScrollBar = nullptr;
  }
  NeedUpdate();
}

CScrollBarUI* CContainerUI::GetVerticalScrollBar() const { return m_pVerticalScrollBar; }

CScrollBarUI* CContainerUI::GetHorizontalScrollBar() const { return m_pHorizontalScrollBar; }

void CContainerUI::ProcessScrollBar(RECT rc, int /*cxRequired*/, int cyRequired) {
  if (IsShown(m_pHorizontalScrollBar)) {
    m_pHorizontalScrollBar->SetPos(
        RECT{rc.left, rc.bottom, rc.right, rc.bottom + m_pHorizontalScrollBar->GetFixedHeight()});
  }
  if (m_pVerticalScrollBar == nullptr) return;

  const int excess = cyRequired - (rc.bottom - rc.top);
  if (excess > 0 && !m_pVerticalScrollBar->IsVisible()) {
    // Showing the bar narrows the content: lay it out again with the bar.
    m_pVerticalScrollBar->SetVisible(true);
    m_pVerticalScrollBar->SetScrollRange(excess);
    m_pVerticalScrollBar->SetScrollPos(0);
    m_bScrollProcess = true;
    SetPos(m_rcItem);
    m_bScrollProcess = false;
    return;
  }
  if (!m_pVerticalScrollBar->IsVisible()) return;

  if (excess <= 0 && !m_bScrollProcess) {
    m_pVerticalScrollBar->SetVisible(false);
    m_pVerticalScrollBar->SetScrollPos(0);
    m_pVerticalScrollBar->SetScrollRange(0);
    SetPos(m_rcItem);
    return;
  }

  m_pVerticalScrollBar->SetPos(
      RECT{rc.right, rc.top, rc.right + m_pVerticalScrollBar->GetFixedWidth(), rc.bottom});
  if (m_pVerticalScrollBar->GetScrollRange() != excess) {
    const int oldPos = m_pVerticalScrollBar->GetScrollPos();
    m_pVerticalScrollBar->SetScrollRange(std::abs(excess));
    if (m_pVerticalScrollBar->GetScrollRange() == 0) {
      m_pVerticalScrollBar->SetVisible(false);
      m_pVerticalScrollBar->SetScrollPos(0);
    }
    if (oldPos > m_pVerticalScrollBar->GetScrollPos()) SetPos(m_rcItem);
  }
}

}  // namespace SkinUI
