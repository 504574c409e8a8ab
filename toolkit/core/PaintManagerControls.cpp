// The paint manager's control tree: installing it, registering names,
// forgetting controls that go away, deferred deletion, and the lookups.

#include "toolkit/controls/ControlUI.h"
#include "toolkit/core/PaintManagerUI.h"

namespace SkinUI {
namespace {

// The message that runs the delayed clean-up.
constexpr UINT kDelayedCleanupMessage = WM_APP + 1;

struct NameRegistration {
  CStdStringPtrMap* names;
};

CControlUI* CALLBACK RegisterName(CControlUI* pThis, LPVOID pData) {
  auto* registration = static_cast<NameRegistration*>(pData);
  const CSkinString name = pThis->GetName();
  // A later control of the same name replaces the earlier one.
  if (!name.IsEmpty()) registration->names->Set(name, pThis);
  return nullptr;
}

CControlUI* CALLBACK MatchPoint(CControlUI* pThis, LPVOID pData) {
  const POINT* pt = static_cast<const POINT*>(pData);
  return ::PtInRect(&pThis->GetPos(), *pt) ? pThis : nullptr;
}

CControlUI* CALLBACK MatchNameNoCase(CControlUI* pThis, LPVOID pData) {
  const auto* name = static_cast<LPCWSTR>(pData);
  const CSkinString own = pThis->GetName();
  return !own.IsEmpty() && own.CompareNoCase(name) == 0 ? pThis : nullptr;
}

struct ClassSearch {
  LPCWSTR className;
  int remaining;
  CStdPtrArray* found;  // collects all matches when set
};

CControlUI* CALLBACK MatchClass(CControlUI* pThis, LPVOID pData) {
  auto* search = static_cast<ClassSearch*>(pData);
  const bool any = ::lstrcmpW(search->className, L"*") == 0;
  if (!any && ::lstrcmpW(pThis->GetClass(), search->className) != 0) return nullptr;
  if (search->found != nullptr) {
    search->found->Add(pThis);
    return nullptr;
  }
  return search->remaining-- == 0 ? pThis : nullptr;
}

}  // namespace

bool CPaintManagerUI::AttachDialog(CControlUI* pControl) {
  SetFocus(nullptr);
  m_pEventKey = nullptr;
  m_pEventHover = nullptr;
  m_pEventClick = nullptr;
  if (m_pRoot != nullptr) {
    m_aPostPaintControls.Empty();
    AddDelayedCleanup(m_pRoot);
  }
  m_pRoot = pControl;
  m_bUpdateNeeded = true;
  m_bFirstLayout = true;
  m_bFocusNeeded = true;
  // A window that already shows something must show the new tree; the
  // first paint lays it out.
  if (m_hWndPaint != nullptr) ::InvalidateRect(m_hWndPaint, nullptr, FALSE);
  return InitControls(pControl);
}

bool CPaintManagerUI::InitControls(CControlUI* pControl, CControlUI* pParent) {
  if (pControl == nullptr) return false;
  pControl->SetManager(this, pParent != nullptr ? pParent : pControl->GetParent(), true);
  NameRegistration registration{&m_mNameHash};
  pControl->FindControl(RegisterName, &registration, 0);
  return true;
}

void CPaintManagerUI::ReapObjects(CControlUI* pControl) {
  if (pControl == nullptr) return;
  if (pControl == m_pEventKey) m_pEventKey = nullptr;
  if (pControl == m_pEventHover) m_pEventHover = nullptr;
  if (pControl == m_pEventClick) m_pEventClick = nullptr;
  if (pControl == m_pFocus) m_pFocus = nullptr;
  if (pControl == m_currentCaretObject) m_currentCaretObject = nullptr;
  KillTimer(pControl);
  const CSkinString name = pControl->GetName();
  if (!name.IsEmpty() && m_mNameHash.Find(name, false) == pControl) m_mNameHash.Remove(name);
  for (int i = 0; i < m_aAsyncNotify.GetSize(); ++i) {
    auto* msg = static_cast<TNotifyUI*>(m_aAsyncNotify[i]);
    if (msg->pSender == pControl) msg->pSender = nullptr;
  }
  // A control painting after the tree must not be painted once it is
  // gone, nor may one waiting for deletion be deleted twice.
  int index = m_aPostPaintControls.Find(pControl);
  if (index >= 0) m_aPostPaintControls.Remove(index);
  index = m_aDelayedCleanup.Find(pControl);
  if (index >= 0) m_aDelayedCleanup.Remove(index);
}

void CPaintManagerUI::AddDelayedCleanup(CControlUI* pControl) {
  if (pControl == nullptr) return;
  pControl->SetManager(this, nullptr, false);
  if (m_aDelayedCleanup.Find(pControl) < 0) m_aDelayedCleanup.Add(pControl);
  if (m_hWndPaint != nullptr) ::PostMessageW(m_hWndPaint, kDelayedCleanupMessage, 0, 0);
}

void CPaintManagerUI::RunDelayedCleanup() {
  // Deleting a control reaps it from this very list, so each one is taken
  // off before it is deleted.
  while (m_aDelayedCleanup.GetSize() > 0) {
    auto* control = static_cast<CControlUI*>(m_aDelayedCleanup[0]);
    m_aDelayedCleanup.Remove(0);
    delete control;
  }
}

CControlUI* CPaintManagerUI::FindControl(POINT pt) const {
  return FindSubControlByPoint(nullptr, pt);
}

CControlUI* CPaintManagerUI::FindControl(LPCWSTR pstrName) const {
  if (pstrName == nullptr) return nullptr;
  return static_cast<CControlUI*>(m_mNameHash.Find(pstrName));
}

CControlUI* CPaintManagerUI::FindSubControlByPoint(CControlUI* pParent, POINT pt) const {
  CControlUI* from = pParent != nullptr ? pParent : m_pRoot;
  if (from == nullptr) return nullptr;
  return from->FindControl(MatchPoint, &pt, FindVisible | FindHitTest | FindTopFirst);
}

CControlUI* CPaintManagerUI::FindSubControlByName(CControlUI* pParent, LPCWSTR pstrName) const {
  CControlUI* from = pParent != nullptr ? pParent : m_pRoot;
  if (from == nullptr || pstrName == nullptr) return nullptr;
  return from->FindControl(MatchNameNoCase, const_cast<LPWSTR>(pstrName), 0);
}

CControlUI* CPaintManagerUI::FindSubControlByClass(CControlUI* pParent, LPCWSTR pstrClass,
                                                   int iIndex) {
  CControlUI* from = pParent != nullptr ? pParent : m_pRoot;
  if (from == nullptr || pstrClass == nullptr || iIndex < 0) return nullptr;
  ClassSearch search{pstrClass, iIndex, nullptr};
  return from->FindControl(MatchClass, &search, 0);
}

CStdPtrArray* CPaintManagerUI::FindSubControlsByClass(CControlUI* pParent, LPCWSTR pstrClass) {
  m_aFoundControls.Empty();
  CControlUI* from = pParent != nullptr ? pParent : m_pRoot;
  if (from == nullptr || pstrClass == nullptr) return &m_aFoundControls;
  ClassSearch search{pstrClass, 0, &m_aFoundControls};
  from->FindControl(MatchClass, &search, 0);
  return &m_aFoundControls;
}

CStdPtrArray* CPaintManagerUI::GetSubControlsByClass() { return &m_aFoundControls; }

}  // namespace SkinUI
