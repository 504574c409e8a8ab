// The frame of a skinned window: there is none.  The whole window is client
// area; the skin's caption band and size box stand in for the system's
// caption and borders in hit testing, and the window's region gives it its
// rounded corners.

#include <windowsx.h>

#include <cwchar>

#include "toolkit/controls/ControlUI.h"
#include "toolkit/core/WindowImplBase.h"

namespace SkinUI {
namespace {

// Controls inside the caption band that keep their clicks; the rest of the
// band drags the window.
const wchar_t* const kClickableClasses[] = {L"ButtonUI", L"OptionUI", L"TextUI", L"SliderUI"};

bool IsClickableClass(LPCWSTR pstrClass) {
  if (pstrClass == nullptr) return false;
  for (const wchar_t* clickable : kClickableClasses) {
    if (::_wcsicmp(pstrClass, clickable) == 0) return true;
  }
  return false;
}

// The nearest monitor's work area, relative to the monitor's origin.
bool WorkAreaOf(HWND hWnd, RECT& rcWork) {
  MONITORINFO info = {};
  info.cbSize = sizeof info;
  if (!::GetMonitorInfoW(::MonitorFromWindow(hWnd, MONITOR_DEFAULTTONEAREST), &info)) {
    return false;
  }
  rcWork = info.rcWork;
  ::OffsetRect(&rcWork, -info.rcMonitor.left, -info.rcMonitor.top);
  return true;
}

}  // namespace

LRESULT WindowImplBase::OnNcActivate(UINT /*uMsg*/, WPARAM wParam, LPARAM /*lParam*/,
                                     bool& bHandled) {
  if (::IsIconic(m_hWnd)) bHandled = false;
  // No inactive frame is drawn; a deactivation is always allowed.
  return wParam == 0 ? TRUE : FALSE;
}

LRESULT WindowImplBase::OnNcCalcSize(UINT /*uMsg*/, WPARAM wParam, LPARAM lParam,
                                     bool& /*bHandled*/) {
  if (!::IsZoomed(m_hWnd) || lParam == 0) return 0;
  // The proposed client rectangle leads both forms of the argument.
  RECT* pRect = wParam != 0 ? &reinterpret_cast<NCCALCSIZE_PARAMS*>(lParam)->rgrc[0]
                            : reinterpret_cast<RECT*>(lParam);
  RECT rcWork = {};
  if (!WorkAreaOf(m_hWnd, rcWork)) return 0;
  // A maximised window covers the work area only, so the task bar stays
  // in sight.
  pRect->right = pRect->left + (rcWork.right - rcWork.left);
  pRect->bottom = pRect->top + (rcWork.bottom - rcWork.top);
  return WVR_REDRAW;
}

LRESULT WindowImplBase::OnNcPaint(UINT /*uMsg*/, WPARAM /*wParam*/, LPARAM /*lParam*/,
                                  bool& /*bHandled*/) {
  return 0;
}

LRESULT WindowImplBase::OnNcHitTest(UINT /*uMsg*/, WPARAM /*wParam*/, LPARAM lParam,
                                    bool& /*bHandled*/) {
  POINT pt = {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
  ::ScreenToClient(m_hWnd, &pt);
  RECT rcClient = {};
  ::GetClientRect(m_hWnd, &rcClient);

  // The borders resize the window, except while it is maximised.
  if (!::IsZoomed(m_hWnd)) {
    const RECT rcSizeBox = m_PaintManager.GetSizeBox();
    const bool bLeft = pt.x < rcClient.left + rcSizeBox.left;
    const bool bRight = pt.x > rcClient.right - rcSizeBox.right;
    if (pt.y < rcClient.top + rcSizeBox.top) {
      if (bLeft) return HTTOPLEFT;
      if (bRight) return HTTOPRIGHT;
      return HTTOP;
    }
    if (pt.y > rcClient.bottom - rcSizeBox.bottom) {
      if (bLeft) return HTBOTTOMLEFT;
      if (bRight) return HTBOTTOMRIGHT;
      return HTBOTTOM;
    }
    if (bLeft) return HTLEFT;
    if (bRight) return HTRIGHT;
  }

  // The caption band's left and right are insets from the client edges,
  // its top and bottom absolute.
  const RECT rcCaption = m_PaintManager.GetCaptionRect();
  if (pt.x >= rcClient.left + rcCaption.left && pt.x < rcClient.right - rcCaption.right &&
      pt.y >= rcCaption.top && pt.y < rcCaption.bottom) {
    CControlUI* pControl = m_PaintManager.FindControl(pt);
    if (pControl != nullptr && !IsClickableClass(pControl->GetClass())) return HTCAPTION;
  }
  return HTCLIENT;
}

LRESULT WindowImplBase::OnGetMinMaxInfo(UINT /*uMsg*/, WPARAM /*wParam*/, LPARAM lParam,
                                        bool& bHandled) {
  auto* lpMMI = reinterpret_cast<MINMAXINFO*>(lParam);
  RECT rcWork = {};
  if (lpMMI != nullptr && WorkAreaOf(m_hWnd, rcWork)) {
    lpMMI->ptMaxPosition.x = rcWork.left;
    lpMMI->ptMaxPosition.y = rcWork.top;
    lpMMI->ptMaxTrackSize.x = rcWork.right - rcWork.left;
    lpMMI->ptMaxTrackSize.y = rcWork.bottom - rcWork.top;
    // The maximised size too: left to the system, a frameless popup is
    // maximised to the size of the whole screen and covers the task bar.
    lpMMI->ptMaxSize = lpMMI->ptMaxTrackSize;
    const SIZE szMin = m_PaintManager.GetMinInfo();
    lpMMI->ptMinTrackSize.x = szMin.cx;
    lpMMI->ptMinTrackSize.y = szMin.cy;
  }
  // The paint manager then applies the skin's own limits.
  bHandled = false;
  return 0;
}

LRESULT WindowImplBase::OnSize(UINT /*uMsg*/, WPARAM /*wParam*/, LPARAM /*lParam*/,
                               bool& bHandled) {
  const SIZE szRoundCorner = m_PaintManager.GetRoundCorner();
  if (!::IsIconic(m_hWnd)) {
    RECT rcWnd = {};
    ::GetWindowRect(m_hWnd, &rcWnd);
    ::OffsetRect(&rcWnd, -rcWnd.left, -rcWnd.top);
    // The region's right and bottom edges are exclusive, hence the extra
    // pixel on each.
    CGdiObject hRgn(::CreateRoundRectRgn(rcWnd.left, rcWnd.top, rcWnd.right + 1, rcWnd.bottom + 1,
                                         szRoundCorner.cx, szRoundCorner.cy));
    // The window owns the region once it accepts it.
    if (hRgn && ::SetWindowRgn(m_hWnd, static_cast<HRGN>(hRgn.Get()), TRUE) != 0) {
      hRgn.Release();
    }
  }
  bHandled = false;
  return 0;
}

}  // namespace SkinUI
