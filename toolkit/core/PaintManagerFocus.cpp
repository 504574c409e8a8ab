// Keyboard focus, Tab and Shift+Tab navigation, Alt shortcuts and mouse
// capture.

#include <cwchar>
#include <cwctype>

#include "toolkit/controls/ControlUI.h"
#include "toolkit/core/PaintManagerUI.h"

namespace SkinUI {
namespace {

struct TabSearch {
  CControlUI* pFocus;
  CControlUI* pLast;  // the last tab stop seen
  bool bForward;
  bool bNextIsIt;
};

// Walks the tree in order: forward, the tab stop after the focus control
// is the answer; backward, the one seen last before it.  Without a focus
// control the first tab stop is the answer.
CControlUI* CALLBACK MatchTab(CControlUI* pThis, LPVOID pData) {
  auto* search = static_cast<TabSearch*>(pData);
  if (pThis == search->pFocus) {
    if (search->bForward) {
      search->bNextIsIt = true;
      return nullptr;
    }
    return search->pLast;
  }
  if ((pThis->GetControlFlags() & ControlFlagTabStop) == 0) return nullptr;
  search->pLast = pThis;
  if (search->bNextIsIt || search->pFocus == nullptr) return pThis;
  return nullptr;
}

struct ShortcutSearch {
  wchar_t ch;
  bool bPickNext;
};

// A label hands its shortcut over to the next control in search order.
CControlUI* CALLBACK MatchShortcut(CControlUI* pThis, LPVOID pData) {
  auto* search = static_cast<ShortcutSearch*>(pData);
  if (!pThis->IsVisible()) return nullptr;
  if (static_cast<wchar_t>(std::towupper(pThis->GetShortcut())) == search->ch) {
    search->bPickNext = true;
  }
  if (std::wcsstr(pThis->GetClass(), L"LabelUI") != nullptr) return nullptr;
  return search->bPickNext ? pThis : nullptr;
}

constexpr UINT kTabFlags = FindVisible | FindEnabled | FindMeFirst;

}  // namespace

CControlUI* CPaintManagerUI::GetFocus() const { return m_pFocus; }

void CPaintManagerUI::KillCurrentFocus(CControlUI* pNewFocus) {
  if (m_pFocus == nullptr) return;
  CControlUI* old = m_pFocus;
  TEventUI event = MakeEvent(EventKillFocus, pNewFocus, m_ptLastMousePos);
  SendEvent(old, event);
  // The kill-focus event may have removed the control.
  if (m_pFocus == old) SendNotify(old, L"killfocus");
  m_pFocus = nullptr;
}

void CPaintManagerUI::SetFocus(CControlUI* pControl) {
  if (m_hWndPaint != nullptr && ::GetFocus() != m_hWndPaint && pControl != m_pFocus) {
    ::SetFocus(m_hWndPaint);
  }
  if (pControl == m_pFocus) return;
  KillCurrentFocus(pControl);
  if (pControl == nullptr) return;
  if (pControl->GetManager() != this || !pControl->IsVisible() || !pControl->IsEnabled()) return;
  m_pFocus = pControl;
  TEventUI event = MakeEvent(EventSetFocus, pControl, m_ptLastMousePos);
  SendEvent(pControl, event);
  if (m_pFocus == pControl) SendNotify(pControl, L"setfocus");
}

CControlUI* CPaintManagerUI::FindTabControl(CControlUI* pFrom, bool bForward) const {
  if (m_pRoot == nullptr) return nullptr;
  TabSearch search{pFrom, nullptr, bForward, false};
  CControlUI* found = m_pRoot->FindControl(MatchTab, &search, kTabFlags);
  if (found != nullptr) return found;
  if (!bForward) return search.pLast;  // wrap to the last tab stop
  TabSearch wrap{nullptr, nullptr, true, false};
  return m_pRoot->FindControl(MatchTab, &wrap, kTabFlags);
}

void CPaintManagerUI::SetFocusNeeded(CControlUI* pControl) {
  if (m_hWndPaint != nullptr) ::SetFocus(m_hWndPaint);
  if (pControl == nullptr) return;
  KillCurrentFocus(nullptr);
  // The focus goes to the tab stop before the control, so that the move
  // forward at the next paint lands on the control itself.
  m_pFocus = FindTabControl(pControl, false);
  m_bFocusNeeded = true;
  if (m_pRoot != nullptr) m_pRoot->NeedUpdate();
}

bool CPaintManagerUI::SetNextTabControl(bool bForward) {
  if (m_bUpdateNeeded && bForward) {
    // The tree is laid out at the next paint; the focus moves after it.
    m_bFocusNeeded = true;
    if (m_hWndPaint != nullptr) ::InvalidateRect(m_hWndPaint, nullptr, FALSE);
    return true;
  }
  CControlUI* next = FindTabControl(m_pFocus, bForward);
  if (next != nullptr) SetFocus(next);
  m_bFocusNeeded = false;
  return true;
}

bool CPaintManagerUI::OnSysChar(WPARAM wParam) {
  if (m_pRoot == nullptr) return false;
  ShortcutSearch search{static_cast<wchar_t>(std::towupper(static_cast<wint_t>(wParam))), false};
  CControlUI* control =
      m_pRoot->FindControl(MatchShortcut, &search, FindEnabled | FindTopFirst | FindMeFirst);
  if (control == nullptr) return false;
  control->SetFocus();
  control->Activate();
  return true;
}

void CPaintManagerUI::SetCapture() {
  ::SetCapture(m_hWndPaint);
  m_bMouseCapture = true;
}

void CPaintManagerUI::ReleaseCapture() {
  ::ReleaseCapture();
  m_bMouseCapture = false;
}

bool CPaintManagerUI::IsCaptured() const { return m_bMouseCapture; }

}  // namespace SkinUI
