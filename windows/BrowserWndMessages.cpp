// The main window's messages: the private ones of the browser code and of
// outside senders, and the quit question that every way of closing the
// window ends in.
#include "windows/BrowserWnd.h"

#include <string>

#include "app/AppConfig.h"
#include "browser/BrowserWindowMessages.h"
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
  // The text belongs to the sender, which waits until this returns; a null
  // pointer (only an outside sender could post one) carries no text.
  if (pLabel == nullptr || pstrUtf8 == nullptr) return;
  pLabel->SetText(Utf8ToWide(pstrUtf8).c_str());
}

void CBrowserWnd::RestoreAndSize(WPARAM wTenthsWide, LPARAM lTenthsHigh) {
  SendMessageW(WM_SYSCOMMAND, SC_RESTORE, 0);
  if (m_pTitlePanel != nullptr) m_pTitlePanel->SetVisible(true);
  if (wTenthsWide == 0 || lTenthsHigh <= 0) return;

  const int cxScreen = ::GetSystemMetrics(SM_CXSCREEN);
  const int cyScreen = ::GetSystemMetrics(SM_CYSCREEN);
  const int cx = TenthsOf(static_cast<double>(wTenthsWide), cxScreen);
  const int cy = TenthsOf(static_cast<double>(lTenthsHigh), cyScreen);
  ::MoveWindow(g_hMainWnd, (cxScreen - cx) / 2, (cyScreen - cy) / 2, cx, cy, FALSE);
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
