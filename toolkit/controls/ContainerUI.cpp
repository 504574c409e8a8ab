#include "toolkit/controls/ContainerUI.h"

#include <cstdint>
#include <cwchar>

#include "toolkit/controls/LayoutSizing.h"
#include "toolkit/controls/RenderClip.h"
#include "toolkit/controls/ScrollBarUI.h"
#include "toolkit/core/PaintManagerUI.h"

namespace SkinUI {
namespace {

bool Meets(const RECT& a, const RECT& b) {
  RECT common;
  return ::IntersectRect(&common, &a, &b) != FALSE;
}

}  // namespace

CContainerUI::CContainerUI()
    : m_rcInset(),
      m_iChildPadding(0),
      m_bAutoDestroy(true),
      m_bDelayedDestroy(true),
      m_bMouseChildEnabled(true),
      m_bScrollProcess(false),
      m_nScrollStepSize(0),
      m_pVerticalScrollBar(nullptr),
      m_pHorizontalScrollBar(nullptr) {}

CContainerUI::~CContainerUI() {
  // Children die with their container, not later: they point at it.
  m_bDelayedDestroy = false;
  RemoveAll();
  delete m_pVerticalScrollBar;
  m_pVerticalScrollBar = nullptr;
  delete m_pHorizontalScrollBar;
  m_pHorizontalScrollBar = nullptr;
}

LPCWSTR CContainerUI::GetClass() const { return L"ContainerUI"; }

LPVOID CContainerUI::GetInterface(LPCWSTR pstrName) {
  if (pstrName != nullptr && std::wcscmp(pstrName, L"IContainer") == 0) {
    return static_cast<IContainerUI*>(this);
  }
  if (pstrName != nullptr && std::wcscmp(pstrName, L"Container") == 0) return this;
  return CControlUI::GetInterface(pstrName);
}

// --- Items -------------------------------------------------------------------

CControlUI* CContainerUI::GetItemAt(int iIndex) const {
  return static_cast<CControlUI*>(m_items.GetAt(iIndex));
}

int CContainerUI::GetItemIndex(CControlUI* pControl) const { return m_items.Find(pControl); }

bool CContainerUI::SetItemIndex(CControlUI* pControl, int iIndex) {
  const int current = m_items.Find(pControl);
  // An index outside the items would lose the child on re-insertion.
  if (current < 0 || iIndex < 0 || iIndex >= m_items.GetSize()) return false;
  NeedUpdate();
  m_items.Remove(current);
  return m_items.InsertAt(iIndex, pControl);
}

int CContainerUI::GetCount() const { return m_items.GetSize(); }

bool CContainerUI::Add(CControlUI* pControl) {
  if (pControl == nullptr) return false;
  if (m_pManager != nullptr) m_pManager->InitControls(pControl, this);
  if (IsVisible()) {
    NeedUpdate();
  } else {
    pControl->SetInternVisible(false);
  }
  return m_items.Add(pControl);
}

bool CContainerUI::AddAt(CControlUI* pControl, int iIndex) {
  if (pControl == nullptr || iIndex < 0 || iIndex > m_items.GetSize()) return false;
  if (m_pManager != nullptr) m_pManager->InitControls(pControl, this);
  if (IsVisible()) {
    NeedUpdate();
  } else {
    pControl->SetInternVisible(false);
  }
  return m_items.InsertAt(iIndex, pControl);
}

void CContainerUI::DisposeChild(CControlUI* pControl) {
  if (!m_bAutoDestroy) return;
  if (m_bDelayedDestroy && m_pManager != nullptr) {
    m_pManager->AddDelayedCleanup(pControl);
  } else {
    delete pControl;
  }
}

bool CContainerUI::Remove(CControlUI* pControl) {
  if (pControl == nullptr) return false;
  const int index = m_items.Find(pControl);
  if (index < 0) return false;
  return RemoveAt(index);
}

bool CContainerUI::RemoveAt(int iIndex) {
  auto* control = static_cast<CControlUI*>(m_items.GetAt(iIndex));
  if (control == nullptr) return false;
  NeedUpdate();
  // Off the list first, so that nothing reached from the child's
  // destructor finds it among the items.
  m_items.Remove(iIndex);
  DisposeChild(control);
  return true;
}

void CContainerUI::RemoveAll() {
  // Taken off the list first for the same reason as in RemoveAt.
  CStdPtrArray items(m_items);
  m_items.Empty();
  for (int i = 0; i < items.GetSize(); ++i) DisposeChild(static_cast<CControlUI*>(items[i]));
  NeedUpdate();
}

// --- State ---------------------------------------------------------------------

RECT CContainerUI::GetInset() const { return m_rcInset; }

void CContainerUI::SetInset(RECT rcInset) {
  m_rcInset = rcInset;
  NeedUpdate();
}

int CContainerUI::GetChildPadding() const { return m_iChildPadding; }

void CContainerUI::SetChildPadding(int iPadding) {
  m_iChildPadding = iPadding;
  NeedUpdate();
}

bool CContainerUI::IsAutoDestroy() const { return m_bAutoDestroy; }

void CContainerUI::SetAutoDestroy(bool bAuto) { m_bAutoDestroy = bAuto; }

bool CContainerUI::IsDelayedDestroy() const { return m_bDelayedDestroy; }

void CContainerUI::SetDelayedDestroy(bool bDelayed) { m_bDelayedDestroy = bDelayed; }

bool CContainerUI::IsMouseChildEnabled() const { return m_bMouseChildEnabled; }

void CContainerUI::SetMouseChildEnabled(bool bEnable) { m_bMouseChildEnabled = bEnable; }

void CContainerUI::SetVisible(bool bVisible) {
  if (m_bVisible == bVisible) return;
  CControlUI::SetVisible(bVisible);
  for (int i = 0; i < m_items.GetSize(); ++i) {
    static_cast<CControlUI*>(m_items[i])->SetInternVisible(IsVisible());
  }
}

void CContainerUI::SetInternVisible(bool bVisible) {
  CControlUI::SetInternVisible(bVisible);
  for (int i = 0; i < m_items.GetSize(); ++i) {
    static_cast<CControlUI*>(m_items[i])->SetInternVisible(IsVisible());
  }
}

void CContainerUI::SetEnabled(bool bEnable) {
  if (m_bEnabled == bEnable) return;
  m_bEnabled = bEnable;
  for (int i = 0; i < m_items.GetSize(); ++i) {
    static_cast<CControlUI*>(m_items[i])->SetEnabled(bEnable);
  }
  Invalidate();
}

void CContainerUI::SetMouseEnabled(bool bEnable) {
  if (m_pVerticalScrollBar != nullptr) m_pVerticalScrollBar->SetMouseEnabled(bEnable);
  if (m_pHorizontalScrollBar != nullptr) m_pHorizontalScrollBar->SetMouseEnabled(bEnable);
  CControlUI::SetMouseEnabled(bEnable);
}

void CContainerUI::SetManager(CPaintManagerUI* pManager, CControlUI* pParent, bool bInit) {
  for (int i = 0; i < m_items.GetSize(); ++i) {
    static_cast<CControlUI*>(m_items[i])->SetManager(pManager, this, bInit);
  }
  if (m_pVerticalScrollBar != nullptr) m_pVerticalScrollBar->SetManager(pManager, this, bInit);
  if (m_pHorizontalScrollBar != nullptr) {
    m_pHorizontalScrollBar->SetManager(pManager, this, bInit);
  }
  CControlUI::SetManager(pManager, pParent, bInit);
}

int CContainerUI::FindSelectable(int iIndex, bool bForward) const {
  const int count = m_items.GetSize();
  if (count == 0) return -1;
  if (iIndex < 0) iIndex = 0;
  if (iIndex >= count) iIndex = count - 1;
  auto selectable = [this](int i) {
    auto* control = static_cast<CControlUI*>(m_items[i]);
    return control->GetInterface(L"ListItem") != nullptr && control->IsVisible() &&
           control->IsEnabled();
  };
  if (bForward) {
    for (int i = iIndex; i < count; ++i) {
      if (selectable(i)) return i;
    }
    return -1;
  }
  for (int i = iIndex; i >= 0; --i) {
    if (selectable(i)) return i;
  }
  return FindSelectable(0, true);
}

// --- Placement -----------------------------------------------------------------

RECT CContainerUI::GetInnerRect() const {
  RECT rc = {m_rcItem.left + m_rcInset.left, m_rcItem.top + m_rcInset.top,
             m_rcItem.right - m_rcInset.right, m_rcItem.bottom - m_rcInset.bottom};
  if (m_pVerticalScrollBar != nullptr && m_pVerticalScrollBar->IsVisible()) {
    rc.right -= m_pVerticalScrollBar->GetFixedWidth();
  }
  if (m_pHorizontalScrollBar != nullptr && m_pHorizontalScrollBar->IsVisible()) {
    rc.bottom -= m_pHorizontalScrollBar->GetFixedHeight();
  }
  return rc;
}

void CContainerUI::SetPos(RECT rc) {
  CControlUI::SetPos(rc);
  if (m_items.IsEmpty()) return;
  const RECT inner = {m_rcItem.left + m_rcInset.left, m_rcItem.top + m_rcInset.top,
                      m_rcItem.right - m_rcInset.right, m_rcItem.bottom - m_rcInset.bottom};
  for (int i = 0; i < m_items.GetSize(); ++i) {
    auto* control = static_cast<CControlUI*>(m_items[i]);
    if (!control->IsVisible()) continue;
    if (control->IsFloat()) {
      SetFloatPos(i);
    } else {
      control->SetPos(inner);
    }
  }
}

void CContainerUI::SetFloatPos(int iIndex) {
  auto* control = static_cast<CControlUI*>(m_items.GetAt(iIndex));
  if (control == nullptr || !control->IsVisible() || !control->IsFloat()) return;

  // Computed in 64 bits and brought back within the layout bound: the
  // offsets, sizes and percentages all come from the skin.
  const SIZE xy = control->GetFixedXY();
  const int64_t width = control->GetFixedWidth();
  const int64_t height = control->GetFixedHeight();
  int64_t left = 0;
  int64_t top = 0;
  int64_t right = 0;
  int64_t bottom = 0;
  if (xy.cx >= 0) {
    left = int64_t{m_rcItem.left} + xy.cx;
    right = left + width;
  } else {
    right = int64_t{m_rcItem.right} + xy.cx;
    left = right - width;
  }
  if (xy.cy >= 0) {
    top = int64_t{m_rcItem.top} + xy.cy;
    bottom = top + height;
  } else {
    bottom = int64_t{m_rcItem.bottom} + xy.cy;
    top = bottom - height;
  }
  if (control->IsRelativePos()) {
    const TRelativePosUI relative = control->GetRelativePos();
    const SIZE now = {m_rcItem.right - m_rcItem.left, m_rcItem.bottom - m_rcItem.top};
    if (relative.szParent.cx != 0) {
      // Moved and stretched by the given shares of the parent's growth
      // since the last placement.
      const int64_t dx = int64_t{now.cx} - relative.szParent.cx;
      const int64_t dy = int64_t{now.cy} - relative.szParent.cy;
      left += dx * relative.nMoveXPercent / 100;
      top += dy * relative.nMoveYPercent / 100;
      right = left + width + dx * relative.nZoomXPercent / 100;
      bottom = top + height + dy * relative.nZoomYPercent / 100;
    }
    control->SetRelativeParentSize(now);
  }
  const RECT rc = {ToCoordinate(left), ToCoordinate(top), ToCoordinate(right),
                   ToCoordinate(bottom)};
  control->SetPos(rc);
}

// --- Search --------------------------------------------------------------------

CControlUI* CContainerUI::FindControl(FINDCONTROLPROC Proc, LPVOID pData, UINT uFlags) {
  if ((uFlags & FindVisible) != 0 && !IsVisible()) return nullptr;
  if ((uFlags & FindEnabled) != 0 && !IsEnabled()) return nullptr;
  const bool hitTest = (uFlags & FindHitTest) != 0;
  if (hitTest) {
    if (!::PtInRect(&m_rcItem, *static_cast<const POINT*>(pData))) return nullptr;
    if (!m_bMouseChildEnabled) {
      CControlUI* result = nullptr;
      if (m_pVerticalScrollBar != nullptr) {
        result = m_pVerticalScrollBar->FindControl(Proc, pData, uFlags);
      }
      if (result == nullptr && m_pHorizontalScrollBar != nullptr) {
        result = m_pHorizontalScrollBar->FindControl(Proc, pData, uFlags);
      }
      if (result == nullptr) result = CControlUI::FindControl(Proc, pData, uFlags);
      return result;
    }
  }

  if (m_pVerticalScrollBar != nullptr) {
    CControlUI* result = m_pVerticalScrollBar->FindControl(Proc, pData, uFlags);
    if (result != nullptr) return result;
  }
  if (m_pHorizontalScrollBar != nullptr) {
    CControlUI* result = m_pHorizontalScrollBar->FindControl(Proc, pData, uFlags);
    if (result != nullptr) return result;
  }
  if ((uFlags & FindMeFirst) != 0) {
    CControlUI* result = CControlUI::FindControl(Proc, pData, uFlags);
    if (result != nullptr) return result;
  }

  const RECT inner = GetInnerRect();
  const int count = m_items.GetSize();
  const bool topFirst = (uFlags & FindTopFirst) != 0;
  for (int n = 0; n < count; ++n) {
    // A callback may remove children while the search runs.
    if (count != m_items.GetSize()) break;
    const int i = topFirst ? count - 1 - n : n;
    CControlUI* result = static_cast<CControlUI*>(m_items[i])->FindControl(Proc, pData, uFlags);
    if (result == nullptr) continue;
    if (!hitTest || result->IsFloat() || ::PtInRect(&inner, *static_cast<const POINT*>(pData))) {
      return result;
    }
  }

  if ((uFlags & FindMeFirst) != 0) return nullptr;
  return CControlUI::FindControl(Proc, pData, uFlags);
}

// --- Events --------------------------------------------------------------------

void CContainerUI::DoEvent(TEventUI& event) {
  if (!IsMouseEnabled() && IsMouseEvent(event.Type)) {
    if (m_pParent != nullptr) {
      m_pParent->DoEvent(event);
    } else {
      CControlUI::DoEvent(event);
    }
    return;
  }
  if (event.Type == EventSetFocus) {
    m_bFocused = true;
    return;
  }
  if (event.Type == EventKillFocus) {
    m_bFocused = false;
    return;
  }
  if (m_pVerticalScrollBar != nullptr && m_pVerticalScrollBar->IsVisible() &&
      m_pVerticalScrollBar->IsEnabled()) {
    if (event.Type == EventKeyDown) {
      switch (event.chKey) {
        case VK_PRIOR:
          PageUp();
          return;
        case VK_NEXT:
          PageDown();
          return;
        case VK_END:
          EndDown();
          return;
        case VK_HOME:
          HomeUp();
          return;
        case VK_UP:
          LineUp();
          return;
        case VK_DOWN:
          LineDown();
          return;
        default:
          break;
      }
    } else if (event.Type == EventScrollWheel) {
      if (event.wParam == SB_LINEUP) {
        LineUp();
        return;
      }
      if (event.wParam == SB_LINEDOWN) {
        LineDown();
        return;
      }
    }
  }
  if (m_pHorizontalScrollBar != nullptr && m_pHorizontalScrollBar->IsVisible() &&
      m_pHorizontalScrollBar->IsEnabled()) {
    if (event.Type == EventKeyDown) {
      switch (event.chKey) {
        case VK_PRIOR:
          PageLeft();
          return;
        case VK_NEXT:
          PageRight();
          return;
        case VK_END:
          EndRight();
          return;
        case VK_HOME:
          HomeLeft();
          return;
        case VK_UP:
          LineLeft();
          return;
        case VK_DOWN:
          LineRight();
          return;
        default:
          break;
      }
    } else if (event.Type == EventScrollWheel) {
      if (event.wParam == SB_LINEUP) {
        LineLeft();
        return;
      }
      if (event.wParam == SB_LINEDOWN) {
        LineRight();
        return;
      }
    }
  }
  CControlUI::DoEvent(event);
}

// --- Painting --------------------------------------------------------------------

void CContainerUI::DoPaint(HDC hDC, const RECT& rcPaint) {
  RECT outer = {};
  if (!::IntersectRect(&outer, &rcPaint, &m_rcItem)) return;
  CRenderClip clip;
  CRenderClip::GenerateClip(hDC, outer, clip);
  CControlUI::DoPaint(hDC, rcPaint);

  if (m_items.GetSize() > 0) {
    const RECT inner = GetInnerRect();
    RECT innerPaint = {};
    if (!::IntersectRect(&innerPaint, &rcPaint, &inner)) {
      // Only floating children can show over the inset.
      for (int i = 0; i < m_items.GetSize(); ++i) {
        auto* control = static_cast<CControlUI*>(m_items[i]);
        if (!control->IsVisible() || !control->IsFloat()) continue;
        if (!Meets(rcPaint, control->GetPos()) || !Meets(m_rcItem, control->GetPos())) continue;
        control->DoPaint(hDC, rcPaint);
      }
    } else {
      CRenderClip childClip;
      CRenderClip::GenerateClip(hDC, innerPaint, childClip);
      for (int i = 0; i < m_items.GetSize(); ++i) {
        auto* control = static_cast<CControlUI*>(m_items[i]);
        if (!control->IsVisible() || !Meets(rcPaint, control->GetPos())) continue;
        if (control->IsFloat()) {
          if (!Meets(m_rcItem, control->GetPos())) continue;
          CRenderClip::UseOldClipBegin(hDC, childClip);
          control->DoPaint(hDC, rcPaint);
          CRenderClip::UseOldClipEnd(hDC, childClip);
        } else {
          if (!Meets(inner, control->GetPos())) continue;
          control->DoPaint(hDC, rcPaint);
        }
      }
    }
  }

  if (m_pVerticalScrollBar != nullptr && m_pVerticalScrollBar->IsVisible() &&
      Meets(rcPaint, m_pVerticalScrollBar->GetPos())) {
    m_pVerticalScrollBar->DoPaint(hDC, rcPaint);
  }
  if (m_pHorizontalScrollBar != nullptr && m_pHorizontalScrollBar->IsVisible() &&
      Meets(rcPaint, m_pHorizontalScrollBar->GetPos())) {
    m_pHorizontalScrollBar->DoPaint(hDC, rcPaint);
  }
}

// --- Sub-controls --------------------------------------------------------------

CControlUI* CContainerUI::FindSubControl(LPCWSTR pstrSubControlName) {
  if (m_pManager == nullptr) return nullptr;
  return m_pManager->FindSubControlByName(this, pstrSubControlName);
}

bool CContainerUI::SetSubControlText(LPCWSTR pstrSubControlName, LPCWSTR pstrText) {
  CControlUI* control = FindSubControl(pstrSubControlName);
  if (control == nullptr) return false;
  control->SetText(pstrText);
  return true;
}

bool CContainerUI::SetSubControlFixedHeight(LPCWSTR pstrSubControlName, int cy) {
  CControlUI* control = FindSubControl(pstrSubControlName);
  if (control == nullptr) return false;
  control->SetFixedHeight(cy);
  return true;
}

bool CContainerUI::SetSubControlFixedWdith(LPCWSTR pstrSubControlName, int cx) {
  CControlUI* control = FindSubControl(pstrSubControlName);
  if (control == nullptr) return false;
  control->SetFixedWidth(cx);
  return true;
}

bool CContainerUI::SetSubControlUserData(LPCWSTR pstrSubControlName, LPCWSTR pstrText) {
  CControlUI* control = FindSubControl(pstrSubControlName);
  if (control == nullptr) return false;
  control->SetUserData(pstrText);
  return true;
}

CSkinString CContainerUI::GetSubControlText(LPCWSTR pstrSubControlName) {
  CControlUI* control = FindSubControl(pstrSubControlName);
  return control != nullptr ? control->GetText() : CSkinString();
}

int CContainerUI::GetSubControlFixedHeight(LPCWSTR pstrSubControlName) {
  CControlUI* control = FindSubControl(pstrSubControlName);
  return control != nullptr ? control->GetFixedHeight() : -1;
}

int CContainerUI::GetSubControlFixedWdith(LPCWSTR pstrSubControlName) {
  CControlUI* control = FindSubControl(pstrSubControlName);
  return control != nullptr ? control->GetFixedWidth() : -1;
}

CSkinString CContainerUI::GetSubControlUserData(LPCWSTR pstrSubControlName) {
  CControlUI* control = FindSubControl(pstrSubControlName);
  return control != nullptr ? control->GetUserData() : CSkinString();
}

}  // namespace SkinUI
