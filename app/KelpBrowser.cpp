#include "app/KelpBrowser.h"

#include <windows.h>
#include <commctrl.h>

#include <string>

#include "app/AppConfig.h"
#include "app/CrashDump.h"
#include "update/UpdateCheck.h"

// The one application object.  It is constructed during static
// initialisation, before anything else of the program runs.
CKelpBrowser theApp;

CKelpBrowser::CKelpBrowser() : CWinAppEx(TRUE) {}

CKelpBrowser::~CKelpBrowser() = default;

BOOL CKelpBrowser::InitInstance() {
  // While the updater replaces our files we must not run at all: not even
  // the crash filter is installed.
  if (IsUpdaterRunning() != 0) return FALSE;

  INITCOMMONCONTROLSEX commonControls = {};
  commonControls.dwSize = sizeof(commonControls);
  commonControls.dwICC = ICC_WIN95_CLASSES;
  ::InitCommonControlsEx(&commonControls);

  ::SetUnhandledExceptionFilter(CrashFilter);

  CWinAppEx::InitInstance();
  AfxEnableControlContainer();

  // Pointing the skin toolkit at the skin folder joins the sequence here.

  // Handing over to the updater ends the client before the browser engine
  // or any window exists.
  if (CheckForUpdate()) return FALSE;

  // Still to join the sequence, each at its place: the browser engine
  // (high-DPI support, settings, the browser application object,
  // initialisation), and, after the login URL is read, the main window with
  // its login page and modal loop.

  const std::wstring loginUrl = ReadLoginUrl();
  static_cast<void>(loginUrl);
  static_cast<void>(m_pBrowserWnd);

  return FALSE;
}
