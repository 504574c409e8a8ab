// The main window's messages: the private ones of the browser code and of
// outside senders, and the quit question that every way of closing the
// window ends in.
#include "windows/BrowserWnd.h"

#include <algorithm>
#include <string>

#include "app/AppConfig.h"
#include "browser/BrowserWindowMessages.h"
#include "browser/SentWindowText.h"
#include "include/cef_app.h"
#include "toolkit/controls/ControlUI.h"
#include "util/FileUtil.h"
#include "util/TextUtil.h"
#include "util/UniqueHandle.h"
#include "windows/MessageBoxWnd.h"

namespace {

constexpr wchar_t kTitleLabel[] = L"lab_title";
constexpr wchar_t kQuitQuestion[] = L"确定退出 Talmic 吗?";
constexpr UINT kYes = 1;

// Tenths of a screen dimension, truncated toward zero.  Any sender may ask,
// so a value too large for a window size is held at the largest int rather
// than converted out of range.
int TenthsOf(double tenths, int screen) {
  const double size = tenths / 10.0 * screen;
  constexpr double kLargest = 2147483647.0;
  return static_cast<int>(size < kLargest ? size : kLargest);
}

}  // namespace

LRESULT CBrowserWnd::HandleMessage(UINT uMsg, WPARAM wParam, LPARAM lParam) {
  switch (uMsg) {
    case WM_CLOSE:
      // Closing never destroys the window: the application ends through
      // the quit message while the window still exists.
      ConfirmQuit();
      return 0;
    case WM_APP_BROWSER_CREATED:
      g_hBrowserWnd = reinterpret_cast<HWND>(wParam);
      PlaceBrowser(false);
      break;
    case WM_USER_RELAUNCH:
      Relaunch();
      break;
    case WM_USER_QUIT:
      Quit();
      break;
    case WM_USER_TITLE_COLOR:
      if (m_pTitlePanel != nullptr) m_pTitlePanel->SetBkColor(static_cast<DWORD>(wParam));
      break;
    case WM_USER_RESTORE_SIZE:
      RestoreAndSize(wParam, lParam);
      break;
    case WM_USER_MAXIMIZE_FULL:
      ::SendMessageW(g_hMainWnd, WM_SYSCOMMAND, SC_MAXIMIZE, 0);
      if (m_pTitlePanel != nullptr) m_pTitlePanel->SetVisible(false);
      break;
    case WM_USER_TITLE_TEXT:
      SetTitleText(reinterpret_cast<const char*>(wParam));
      break;
    default:
      // The address, loading-state, title and closing reports of the
      // browser change nothing here.  The address report shares its value
      // with the paint manager's delayed clean-up, which the base handles.
      break;
  }
  return WindowImplBase::HandleMessage(uMsg, wParam, lParam);
}

void CBrowserWnd::ConfirmQuit() {
  // The question's own loop dispatches this window's messages too, so an
  // outside sender's WM_CLOSE can arrive while it is up.
  if (m_bAskingToQuit) return;
  m_bAskingToQuit = true;
  const UINT nAnswer = ShowMessageBox(m_hWnd, true, kQuitQuestion);
  m_bAskingToQuit = false;
  if (nAnswer == kYes) Quit();
}

void CBrowserWnd::Quit() {
  CefShutdown();
  ::PostQuitMessage(0);
}

void CBrowserWnd::SetTitleText(const char* pstrUtf8) {
  SkinUI::CControlUI* pLabel = m_PaintManager.FindControl(kTitleLabel);
  // The text belongs to the sender, which waits until this returns.  Only
  // a text the client itself is sending is read: another process's message
  // carries a number that is no address here (null included).
  if (pLabel == nullptr || !CSentWindowText::IsBeingSent(pstrUtf8)) return;
  pLabel->SetText(Utf8ToWide(pstrUtf8).c_str());
}

void CBrowserWnd::RestoreAndSize(WPARAM wTenthsWide, LPARAM lTenthsHigh) {
  SendMessageW(WM_SYSCOMMAND, SC_RESTORE, 0);
  if (m_pTitlePanel != nullptr) m_pTitlePanel->SetVisible(true);
  if (wTenthsWide == 0 || lTenthsHigh <= 0) return;

  const int cxScreen = ::GetSystemMetrics(SM_CXSCREEN);
  const int cyScreen = ::GetSystemMetrics(SM_CYSCREEN);
  int cx = TenthsOf(static_cast<double>(wTenthsWide), cxScreen);
  int cy = TenthsOf(static_cast<double>(lTenthsHigh), cyScreen);
  // The window gets the size its own limits allow, no larger than the work
  // area and no smaller than the skin's minimum (which wins, as it does
  // when the user drags a border), and is centred at that size in the work
  // area: centring the size asked for would leave a clamped window off
  // centre, and a full-screen request would cover the task bar.
  MINMAXINFO limits = {};
  limits.ptMaxTrackSize = {cxScreen, cyScreen};
  ::SendMessageW(g_hMainWnd, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&limits));
  cx = std::max(std::min(cx, static_cast<int>(limits.ptMaxTrackSize.x)),
                static_cast<int>(limits.ptMinTrackSize.x));
  cy = std::max(std::min(cy, static_cast<int>(limits.ptMaxTrackSize.y)),
                static_cast<int>(limits.ptMinTrackSize.y));
  MONITORINFO monitor = {};
  monitor.cbSize = sizeof(monitor);
  RECT work = {0, 0, cxScreen, cyScreen};
  if (::GetMonitorInfoW(::MonitorFromPoint(POINT{0, 0}, MONITOR_DEFAULTTOPRIMARY), &monitor)) {
    work = monitor.rcWork;
  }
  ::MoveWindow(g_hMainWnd, work.left + (work.right - work.left - cx) / 2,
               work.top + (work.bottom - work.top - cy) / 2, cx, cy, FALSE);
  // Whatever size the window really took, it stands centred.
  RECT placed = {};
  if (!::GetWindowRect(g_hMainWnd, &placed)) return;
  const int x = work.left + (work.right - work.left - (placed.right - placed.left)) / 2;
  const int y = work.top + (work.bottom - work.top - (placed.bottom - placed.top)) / 2;
  if (x != placed.left || y != placed.top) {
    ::SetWindowPos(g_hMainWnd, nullptr, x, y, 0, 0,
                   SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOREDRAW);
  }
}

void CBrowserWnd::Relaunch() {
  CefShutdown();

  const std::string folder = GetAppDataFolder();
  const std::string pattern = folder + "*";
  DeleteTree(pattern.c_str(), folder.c_str());

  ::PostQuitMessage(0);

  wchar_t path[MAX_PATH + 1] = {};
  ::GetModuleFileNameW(nullptr, path, MAX_PATH);
  STARTUPINFOW startup = {};
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION process = {};
  if (::CreateProcessW(path, nullptr, nullptr, nullptr, FALSE, NORMAL_PRIORITY_CLASS, nullptr,
                       nullptr, &startup, &process)) {
    // Nothing waits for the new process; its handles are only let go.
    const CKernelHandle processHandle(process.hProcess);
    const CKernelHandle threadHandle(process.hThread);
  }
}
