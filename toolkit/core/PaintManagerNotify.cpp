// Notifications from controls to the window's listeners, the listener
// registrations, and the timers of controls.

#include <new>

#include "toolkit/controls/ControlUI.h"
#include "toolkit/core/PaintManagerUI.h"

namespace SkinUI {
namespace {

// Win32 timer ids run through 0 ... kTimerIdRange - 1; the caret's id
// lies above that range, so no control timer can take it.
constexpr UINT kTimerIdRange = 0xF0;

bool RemoveFirst(CStdPtrArray& array, void* item) {
  const int index = array.Find(item);
  if (index < 0) return false;
  return array.Remove(index);
}

}  // namespace

// --- Registrations -----------------------------------------------------------

bool CPaintManagerUI::AddNotifier(INotifyUI* pNotifier) { return m_aNotifiers.Add(pNotifier); }

bool CPaintManagerUI::RemoveNotifier(INotifyUI* pNotifier) {
  return RemoveFirst(m_aNotifiers, pNotifier);
}

bool CPaintManagerUI::AddPreMessageFilter(IMessageFilterUI* pFilter) {
  return m_aPreMessageFilters.Add(pFilter);
}

bool CPaintManagerUI::RemovePreMessageFilter(IMessageFilterUI* pFilter) {
  return RemoveFirst(m_aPreMessageFilters, pFilter);
}

bool CPaintManagerUI::AddMessageFilter(IMessageFilterUI* pFilter) {
  return m_aMessageFilters.Add(pFilter);
}

bool CPaintManagerUI::RemoveMessageFilter(IMessageFilterUI* pFilter) {
  return RemoveFirst(m_aMessageFilters, pFilter);
}

bool CPaintManagerUI::AddTranslateAccelerator(ITranslateAccelerator* pTranslateAccelerator) {
  return m_aTranslateAccelerator.Add(pTranslateAccelerator);
}

bool CPaintManagerUI::RemoveTranslateAccelerator(ITranslateAccelerator* pTranslateAccelerator) {
  return RemoveFirst(m_aTranslateAccelerator, pTranslateAccelerator);
}

bool CPaintManagerUI::AddPostPaint(CControlUI* pControl) {
  return m_aPostPaintControls.Add(pControl);
}

bool CPaintManagerUI::RemovePostPaint(CControlUI* pControl) {
  return RemoveFirst(m_aPostPaintControls, pControl);
}

bool CPaintManagerUI::SetPostPaintIndex(CControlUI* pControl, int iIndex) {
  if (!RemovePostPaint(pControl)) return false;
  return m_aPostPaintControls.InsertAt(iIndex, pControl);
}

int CPaintManagerUI::GetPostPaintCount() const { return m_aPostPaintControls.GetSize(); }

bool CPaintManagerUI::TranslateAcceleratorW(MSG* pMsg) {
  for (int i = 0; i < m_aTranslateAccelerator.GetSize(); ++i) {
    auto* accelerator = static_cast<ITranslateAccelerator*>(m_aTranslateAccelerator[i]);
    if (accelerator->TranslateAcceleratorW(pMsg) == 0) return true;
  }
  return false;
}

// --- Notifications -----------------------------------------------------------

void CPaintManagerUI::UsedVirtualWnd(bool bUsed) { m_bUsedVirtualWnd = bUsed; }

void CPaintManagerUI::SendNotify(CControlUI* pControl, LPCWSTR pstrMessage, WPARAM wParam,
                                 LPARAM lParam, bool bAsync) {
  TNotifyUI msg;
  msg.pSender = pControl;
  msg.sType = pstrMessage;
  msg.wParam = wParam;
  msg.lParam = lParam;
  SendNotify(msg, bAsync);
}

void CPaintManagerUI::SendNotify(TNotifyUI& Msg, bool bAsync) {
  Msg.ptMouse = m_ptLastMousePos;
  Msg.dwTimestamp = ::GetTickCount();
  if (m_bUsedVirtualWnd && Msg.pSender != nullptr) Msg.sVirtualWnd = Msg.pSender->GetVirtualWnd();
  if (!bAsync) {
    DeliverNotify(Msg);
    return;
  }
  auto* queued = new (std::nothrow) TNotifyUI;
  if (queued == nullptr) return;
  queued->pSender = Msg.pSender;
  queued->sType = Msg.sType;
  queued->wParam = Msg.wParam;
  queued->lParam = Msg.lParam;
  queued->ptMouse = Msg.ptMouse;
  queued->dwTimestamp = Msg.dwTimestamp;
  if (!m_aAsyncNotify.Add(queued)) delete queued;
}

void CPaintManagerUI::DeliverNotify(TNotifyUI& Msg) {
  if (Msg.pSender != nullptr) Msg.pSender->OnNotify(&Msg);
  // Listeners may register or unregister others while being told.
  for (int i = 0; i < m_aNotifiers.GetSize(); ++i) {
    static_cast<INotifyUI*>(m_aNotifiers[i])->Notify(Msg);
  }
}

void CPaintManagerUI::DeliverAsyncNotify() {
  while (m_aAsyncNotify.GetSize() > 0) {
    auto* msg = static_cast<TNotifyUI*>(m_aAsyncNotify[0]);
    m_aAsyncNotify.Remove(0);
    DeliverNotify(*msg);
    delete msg;
  }
}

// --- Timers ------------------------------------------------------------------

UINT_PTR CPaintManagerUI::NextTimerId() {
  // Ids are handed out in turn.  An id that a record of this window
  // still holds (running, or killed and kept for a restart) is skipped, as
  // is 0, which SetTimer cannot report as success; after a full round
  // without a free id there is none.
  for (UINT tries = 0; tries < kTimerIdRange; ++tries) {
    m_uTimerID = (m_uTimerID + 1) % kTimerIdRange;
    if (m_uTimerID == 0) continue;
    bool used = false;
    for (int i = 0; i < m_aTimers.GetSize() && !used; ++i) {
      const auto* timer = static_cast<const TimerInfo*>(m_aTimers[i]);
      used = timer->hWnd == m_hWndPaint && timer->uWinTimer == m_uTimerID;
    }
    if (!used) return m_uTimerID;
  }
  return 0;
}

bool CPaintManagerUI::SetTimer(CControlUI* pControl, UINT nTimerID, UINT uElapse) {
  if (pControl == nullptr || m_hWndPaint == nullptr) return false;
  for (int i = 0; i < m_aTimers.GetSize(); ++i) {
    auto* timer = static_cast<TimerInfo*>(m_aTimers[i]);
    if (timer->pSender != pControl || timer->hWnd != m_hWndPaint || timer->nLocalID != nTimerID) {
      continue;
    }
    if (!timer->bKilled) return false;
    if (::SetTimer(m_hWndPaint, timer->uWinTimer, uElapse, nullptr) == 0) return false;
    timer->bKilled = false;
    return true;
  }
  const UINT_PTR id = NextTimerId();
  if (id == 0) return false;
  auto* timer = new (std::nothrow) TimerInfo{pControl, nTimerID, m_hWndPaint, id, false};
  if (timer == nullptr) return false;
  if (::SetTimer(m_hWndPaint, id, uElapse, nullptr) == 0 || !m_aTimers.Add(timer)) {
    ::KillTimer(m_hWndPaint, id);
    delete timer;
    return false;
  }
  return true;
}

bool CPaintManagerUI::KillTimer(CControlUI* pControl, UINT nTimerID) {
  for (int i = 0; i < m_aTimers.GetSize(); ++i) {
    auto* timer = static_cast<TimerInfo*>(m_aTimers[i]);
    if (timer->pSender == pControl && timer->hWnd == m_hWndPaint && timer->nLocalID == nTimerID &&
        !timer->bKilled) {
      if (::IsWindow(m_hWndPaint)) ::KillTimer(timer->hWnd, timer->uWinTimer);
      timer->bKilled = true;
      return true;
    }
  }
  return false;
}

void CPaintManagerUI::DeleteTimerAt(int index) {
  auto* timer = static_cast<TimerInfo*>(m_aTimers[index]);
  if (!timer->bKilled && ::IsWindow(timer->hWnd)) ::KillTimer(timer->hWnd, timer->uWinTimer);
  m_aTimers.Remove(index);
  delete timer;
}

void CPaintManagerUI::KillTimer(CControlUI* pControl) {
  for (int i = m_aTimers.GetSize() - 1; i >= 0; --i) {
    const auto* timer = static_cast<const TimerInfo*>(m_aTimers[i]);
    if (timer->pSender == pControl && timer->hWnd == m_hWndPaint) DeleteTimerAt(i);
  }
}

void CPaintManagerUI::RemoveAllTimers() {
  for (int i = m_aTimers.GetSize() - 1; i >= 0; --i) DeleteTimerAt(i);
  m_aTimers.Empty();
}

void CPaintManagerUI::OnTimer(WPARAM wParam) {
  for (int i = 0; i < m_aTimers.GetSize(); ++i) {
    const auto* timer = static_cast<const TimerInfo*>(m_aTimers[i]);
    if (timer->hWnd == m_hWndPaint && timer->uWinTimer == wParam && !timer->bKilled) {
      TEventUI event = MakeEvent(EventTimer, timer->pSender, m_ptLastMousePos);
      event.wParam = timer->nLocalID;
      SendEvent(timer->pSender, event);
      return;
    }
  }
}

}  // namespace SkinUI
