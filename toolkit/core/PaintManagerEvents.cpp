// How the paint manager turns its window's messages into events for
// single controls: the message table, the mouse (hover, clicks, capture,
// tooltips), the keyboard, and the process-wide pre-translation.

#include <windowsx.h>

#include "toolkit/controls/ControlUI.h"
#include "toolkit/core/PaintManagerUI.h"

namespace SkinUI {
namespace {

constexpr UINT kDelayedCleanupMessage = WM_APP + 1;
// Messages reflected to the child window that sent them.
constexpr UINT kReflectBase = 0x2000;
constexpr UINT_PTR kCaretTimerId = 0xF1;
// How long the mouse rests before hovering when there is no tooltip
// window yet to ask.
constexpr DWORD kDefaultHoverTime = 400;
// The point of the synthetic move that tells the hover control the mouse
// has left the window: outside every control.
constexpr LPARAM kOutsidePoint = -1;

POINT PointOf(LPARAM lParam) { return POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)}; }

}  // namespace

WORD CPaintManagerUI::CurrentKeyState() {
  WORD state = 0;
  if (::GetKeyState(VK_CONTROL) < 0) state |= MK_CONTROL;
  if (::GetKeyState(VK_LBUTTON) < 0) state |= MK_LBUTTON;
  if (::GetKeyState(VK_RBUTTON) < 0) state |= MK_RBUTTON;
  if (::GetKeyState(VK_SHIFT) < 0) state |= MK_SHIFT;
  if (::GetKeyState(VK_MENU) < 0) state |= MK_ALT;
  return state;
}

void CPaintManagerUI::SendEvent(CControlUI* pControl, TEventUI& event) {
  if (pControl != nullptr) pControl->Event(event);
}

TEventUI CPaintManagerUI::MakeEvent(int type, CControlUI* pSender, POINT pt) const {
  TEventUI event;
  event.Type = type;
  event.pSender = pSender;
  event.dwTimestamp = ::GetTickCount();
  event.ptMouse = pt;
  return event;
}

bool CPaintManagerUI::MessageHandler(UINT uMsg, WPARAM wParam, LPARAM lParam, LRESULT& lRes) {
  if (m_hWndPaint == nullptr) return false;
  DeliverAsyncNotify();

  for (int i = 0; i < m_aMessageFilters.GetSize(); ++i) {
    bool handled = false;
    LRESULT result = static_cast<IMessageFilterUI*>(m_aMessageFilters[i])
                         ->MessageHandler(uMsg, wParam, lParam, handled);
    if (handled) {
      lRes = result;
      return true;
    }
  }

  switch (uMsg) {
    case kDelayedCleanupMessage:
      RunDelayedCleanup();
      break;
    case WM_PAINT:
      OnPaint();
      lRes = 0;
      return true;
    case WM_SIZE:
      if (m_pFocus != nullptr) {
        TEventUI event = MakeEvent(EventWindowSize, m_pFocus, m_ptLastMousePos);
        event.wParam = wParam;
        event.lParam = lParam;
        event.wKeyState = CurrentKeyState();
        SendEvent(m_pFocus, event);
      }
      if (m_pRoot != nullptr) m_pRoot->NeedUpdate();
      lRes = 0;
      return true;
    case WM_ERASEBKGND:
      lRes = 1;
      return true;
    case WM_CLOSE: {
      if (m_pEventHover != nullptr) {
        TEventUI event = MakeEvent(EventMouseLeave, m_pEventHover, m_ptLastMousePos);
        SendEvent(m_pEventHover, event);
      }
      if (m_pEventClick != nullptr) {
        TEventUI event = MakeEvent(EventButtonUp, m_pEventClick, m_ptLastMousePos);
        SendEvent(m_pEventClick, event);
      }
      SetFocus(nullptr);
      HWND owner = ::GetWindow(m_hWndPaint, GW_OWNER);
      if (owner != nullptr) ::SetFocus(owner);
      break;
    }
    case WM_SETCURSOR: {
      if (LOWORD(lParam) != HTCLIENT) break;
      if (m_bMouseCapture) {
        lRes = 0;
        return true;
      }
      POINT pt = {};
      ::GetCursorPos(&pt);
      ::ScreenToClient(m_hWndPaint, &pt);
      CControlUI* control = FindControl(pt);
      if (control == nullptr || control->GetManager() != this) break;
      if ((control->GetControlFlags() & ControlFlagSetCursor) == 0) break;
      TEventUI event = MakeEvent(EventSetCursor, nullptr, pt);
      event.wParam = wParam;
      event.lParam = lParam;
      event.wKeyState = CurrentKeyState();
      SendEvent(control, event);
      lRes = TRUE;
      return true;
    }
    case WM_GETMINMAXINFO: {
      auto* info = reinterpret_cast<MINMAXINFO*>(lParam);
      if (info == nullptr) break;
      if (m_szMinWindow.cx > 0) info->ptMinTrackSize.x = m_szMinWindow.cx;
      if (m_szMinWindow.cy > 0) info->ptMinTrackSize.y = m_szMinWindow.cy;
      if (m_szMaxWindow.cx > 0) info->ptMaxTrackSize.x = m_szMaxWindow.cx;
      if (m_szMaxWindow.cy > 0) info->ptMaxTrackSize.y = m_szMaxWindow.cy;
      break;
    }
    case WM_NOTIFY: {
      const auto* header = reinterpret_cast<const NMHDR*>(lParam);
      if (header != nullptr) {
        lRes = ::SendMessageW(header->hwndFrom, kReflectBase + uMsg, wParam, lParam);
      }
      return true;
    }
    case WM_COMMAND:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORSTATIC:
      if (lParam == 0) break;
      lRes = ::SendMessageW(reinterpret_cast<HWND>(lParam), kReflectBase + uMsg, wParam, lParam);
      return true;
    case WM_CONTEXTMENU: {
      POINT pt = PointOf(lParam);
      ::ScreenToClient(m_hWndPaint, &pt);
      m_ptLastMousePos = pt;
      if (m_pEventClick == nullptr) break;
      ReleaseCapture();
      CControlUI* click = m_pEventClick;
      TEventUI event = MakeEvent(EventContextMenu, click, pt);
      event.wKeyState = static_cast<WORD>(wParam);
      event.lParam = reinterpret_cast<LPARAM>(click);
      m_pEventClick = nullptr;
      SendEvent(click, event);
      break;
    }
    case WM_KEYDOWN:
    case WM_KEYUP:
    case WM_CHAR: {
      CControlUI* target = uMsg == WM_KEYUP ? m_pEventKey : m_pFocus;
      if (target == nullptr) break;
      const int type = uMsg == WM_KEYDOWN ? EventKeyDown
                       : uMsg == WM_KEYUP ? EventKeyUp
                                          : EventChar;
      TEventUI event = MakeEvent(type, target, m_ptLastMousePos);
      event.chKey = static_cast<wchar_t>(wParam);
      event.wParam = wParam;
      event.lParam = lParam;
      event.wKeyState = CurrentKeyState();
      if (uMsg == WM_KEYDOWN) m_pEventKey = target;
      if (uMsg == WM_KEYUP) m_pEventKey = nullptr;
      SendEvent(target, event);
      break;
    }
    case WM_SYSCOMMAND:
      if ((wParam & 0xFFF0) == SC_RESTORE) m_bLayeredChanged = true;
      lRes = 0;
      return true;
    case WM_TIMER:
      if (wParam == kCaretTimerId) {
        InvalidateCaret();
        m_bCaretActive = !m_bCaretActive;
      } else {
        OnTimer(wParam);
      }
      break;
    case WM_MOUSEMOVE:
      OnMouseMove(lParam);
      break;
    case WM_LBUTTONDOWN:
      OnButtonDown(EventButtonDown, wParam, lParam, true);
      break;
    case WM_LBUTTONDBLCLK:
      OnButtonDown(EventDblClick, wParam, lParam, false);
      break;
    case WM_RBUTTONDOWN:
      OnButtonDown(EventRButtonDown, wParam, lParam, true);
      break;
    case WM_LBUTTONUP: {
      const POINT pt = PointOf(lParam);
      m_ptLastMousePos = pt;
      if (m_pEventClick == nullptr) break;
      ReleaseCapture();
      CControlUI* click = m_pEventClick;
      TEventUI event = MakeEvent(EventButtonUp, click, pt);
      event.wParam = wParam;
      event.lParam = lParam;
      event.wKeyState = static_cast<WORD>(wParam);
      m_pEventClick = nullptr;
      SendEvent(click, event);
      break;
    }
    case WM_MOUSEWHEEL: {
      POINT pt = PointOf(lParam);
      ::ScreenToClient(m_hWndPaint, &pt);
      m_ptLastMousePos = pt;
      CControlUI* control = FindControl(pt);
      if (control == nullptr || control->GetManager() != this) break;
      const int delta = GET_WHEEL_DELTA_WPARAM(wParam);
      TEventUI event = MakeEvent(EventScrollWheel, control, pt);
      event.wParam = delta < 0 ? SB_LINEDOWN : SB_LINEUP;
      event.lParam = lParam;
      event.wKeyState = CurrentKeyState();
      SendEvent(control, event);
      // The content may have moved under the mouse; hover follows it.
      ::SendMessageW(m_hWndPaint, WM_MOUSEMOVE, 0,
                     MAKELPARAM(m_ptLastMousePos.x, m_ptLastMousePos.y));
      break;
    }
    case WM_MOUSEHOVER:
      if (OnMouseHover(lParam)) {
        lRes = 0;
        return true;
      }
      break;
    case WM_MOUSELEAVE:
      HideToolTip();
      if (m_bMouseTracking) ::SendMessageW(m_hWndPaint, WM_MOUSEMOVE, 0, kOutsidePoint);
      m_bMouseTracking = false;
      break;
    default:
      break;
  }

  DeliverAsyncNotify();
  return false;
}

void CPaintManagerUI::OnMouseMove(LPARAM lParam) {
  if (!m_bMouseTracking) {
    TRACKMOUSEEVENT track = {};
    track.cbSize = sizeof track;
    track.dwFlags = TME_HOVER | TME_LEAVE;
    track.hwndTrack = m_hWndPaint;
    track.dwHoverTime =
        m_hwndTooltip != nullptr
            ? static_cast<DWORD>(::SendMessageW(m_hwndTooltip, TTM_GETDELAYTIME, TTDT_INITIAL, 0))
            : kDefaultHoverTime;
    ::TrackMouseEvent(&track);
    m_bMouseTracking = true;
  }
  const POINT pt = PointOf(lParam);
  m_ptLastMousePos = pt;
  CControlUI* newHover = FindControl(pt);
  if (newHover != nullptr && newHover->GetManager() != this) return;

  if (newHover != m_pEventHover && m_pEventHover != nullptr) {
    CControlUI* oldHover = m_pEventHover;
    m_pEventHover = nullptr;
    TEventUI event = MakeEvent(EventMouseLeave, oldHover, pt);
    SendEvent(oldHover, event);
    HideToolTip();
    // The leave may have changed the tree; look again.
    newHover = FindControl(pt);
    if (newHover != nullptr && newHover->GetManager() != this) return;
  }
  if (newHover != m_pEventHover && newHover != nullptr) {
    m_pEventHover = newHover;
    TEventUI event = MakeEvent(EventMouseEnter, newHover, pt);
    SendEvent(newHover, event);
  }
  if (m_pEventClick != nullptr) {
    TEventUI event = MakeEvent(EventMouseMove, m_pEventClick, pt);
    SendEvent(m_pEventClick, event);
  } else if (m_pEventHover != nullptr && m_pEventHover == newHover) {
    TEventUI event = MakeEvent(EventMouseMove, newHover, pt);
    SendEvent(newHover, event);
  }
}

void CPaintManagerUI::OnButtonDown(int type, WPARAM wParam, LPARAM lParam, bool bFocusControl) {
  ::SetFocus(m_hWndPaint);
  const POINT pt = PointOf(lParam);
  m_ptLastMousePos = pt;
  CControlUI* control = FindControl(pt);
  if (control == nullptr || control->GetManager() != this) return;
  m_pEventClick = control;
  if (bFocusControl) control->SetFocus();
  // Focusing may have removed the control.
  if (m_pEventClick != control) return;
  SetCapture();
  TEventUI event = MakeEvent(type, control, pt);
  if (type != EventDblClick) {
    event.wParam = wParam;
    event.lParam = lParam;
  }
  event.wKeyState = static_cast<WORD>(wParam);
  SendEvent(control, event);
}

bool CPaintManagerUI::OnMouseHover(LPARAM lParam) {
  m_bMouseTracking = false;
  const POINT pt = PointOf(lParam);
  CControlUI* hover = FindControl(pt);
  if (hover == nullptr || hover->GetManager() != this) return false;
  if (m_pEventHover != nullptr) {
    TEventUI event = MakeEvent(EventMouseHover, m_pEventHover, pt);
    SendEvent(m_pEventHover, event);
    // The hover event may have removed the control under the mouse.
    hover = FindControl(pt);
    if (hover == nullptr || hover->GetManager() != this) return true;
  }
  ShowToolTip(hover);
  return true;
}

void CPaintManagerUI::ShowToolTip(CControlUI* pHover) {
  m_sToolTipText = pHover->GetToolTip();
  if (m_sToolTipText.IsEmpty()) return;
  m_ToolTip = TOOLINFOW();
  m_ToolTip.cbSize = sizeof(TOOLINFOW);
  m_ToolTip.uFlags = TTF_IDISHWND;
  m_ToolTip.hwnd = m_hWndPaint;
  m_ToolTip.uId = reinterpret_cast<UINT_PTR>(m_hWndPaint);
  m_ToolTip.hinst = GetInstance();
  m_ToolTip.lpszText = const_cast<LPWSTR>(m_sToolTipText.GetData());
  m_ToolTip.rect = pHover->GetPos();
  if (m_hwndTooltip == nullptr) {
    m_hwndTooltip = ::CreateWindowExW(
        0, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_NOPREFIX | TTS_ALWAYSTIP, CW_USEDEFAULT,
        CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, m_hWndPaint, nullptr, GetInstance(), nullptr);
    if (m_hwndTooltip == nullptr) return;
    ::SendMessageW(m_hwndTooltip, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&m_ToolTip));
  }
  ::SendMessageW(m_hwndTooltip, TTM_SETMAXTIPWIDTH, 0, pHover->GetToolTipWidth());
  ::SendMessageW(m_hwndTooltip, TTM_SETTOOLINFOW, 0, reinterpret_cast<LPARAM>(&m_ToolTip));
  ::SendMessageW(m_hwndTooltip, TTM_TRACKACTIVATE, TRUE, reinterpret_cast<LPARAM>(&m_ToolTip));
}

void CPaintManagerUI::HideToolTip() {
  if (m_hwndTooltip == nullptr) return;
  ::SendMessageW(m_hwndTooltip, TTM_TRACKACTIVATE, FALSE, reinterpret_cast<LPARAM>(&m_ToolTip));
}

// --- Pre-translation -----------------------------------------------------------

bool CPaintManagerUI::PreMessageHandler(UINT uMsg, WPARAM wParam, LPARAM lParam, LRESULT& lRes) {
  for (int i = 0; i < m_aPreMessageFilters.GetSize(); ++i) {
    bool handled = false;
    LRESULT result = static_cast<IMessageFilterUI*>(m_aPreMessageFilters[i])
                         ->MessageHandler(uMsg, wParam, lParam, handled);
    if (handled) {
      lRes = result;
      return true;
    }
  }
  switch (uMsg) {
    case WM_KEYDOWN:
      if (wParam != VK_TAB) return false;
      // A rich edit control that takes Tab itself would keep it here; this
      // toolkit has none, so Tab always moves the focus.
      SetNextTabControl(::GetKeyState(VK_SHIFT) >= 0);
      return true;
    case WM_SYSCHAR:
      return OnSysChar(wParam);
    case WM_SYSKEYDOWN:
      if (m_pFocus != nullptr) {
        TEventUI event = MakeEvent(EventSysKey, m_pFocus, m_ptLastMousePos);
        event.chKey = static_cast<wchar_t>(wParam);
        event.wParam = wParam;
        event.lParam = lParam;
        event.wKeyState = CurrentKeyState();
        SendEvent(m_pFocus, event);
      }
      return false;
    default:
      return false;
  }
}

bool CPaintManagerUI::TranslateMessage(const MSG* pMsg) {
  if (pMsg == nullptr) return false;
  LRESULT result = 0;
  MSG msg = *pMsg;
  const LONG_PTR style = ::GetWindowLongPtrW(pMsg->hwnd, GWL_STYLE);
  if ((style & WS_CHILD) != 0) {
    for (int i = 0; i < m_aPreMessages.GetSize(); ++i) {
      auto* manager = static_cast<CPaintManagerUI*>(m_aPreMessages[i]);
      HWND paint = manager->GetPaintWindow();
      for (HWND parent = ::GetParent(pMsg->hwnd); parent != nullptr; parent = ::GetParent(parent)) {
        if (pMsg->hwnd != paint && parent != paint) continue;
        if (manager->TranslateAcceleratorW(&msg)) return true;
        manager->PreMessageHandler(pMsg->message, pMsg->wParam, pMsg->lParam, result);
        // Once per manager: a paint window that is the message's own
        // window matches at every level above it.
        break;
      }
    }
    return false;
  }
  for (int i = 0; i < m_aPreMessages.GetSize(); ++i) {
    auto* manager = static_cast<CPaintManagerUI*>(m_aPreMessages[i]);
    if (pMsg->hwnd != manager->GetPaintWindow()) continue;
    if (manager->TranslateAcceleratorW(&msg)) return true;
    return manager->PreMessageHandler(pMsg->message, pMsg->wParam, pMsg->lParam, result);
  }
  return false;
}

void CPaintManagerUI::MessageLoop() {
  MSG msg = {};
  while (::GetMessageW(&msg, nullptr, 0, 0) > 0) {
    if (!CPaintManagerUI::TranslateMessage(&msg)) {
      ::TranslateMessage(&msg);
      ::DispatchMessageW(&msg);
    }
  }
}

}  // namespace SkinUI
