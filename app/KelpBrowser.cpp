#include "app/KelpBrowser.h"

#include <windows.h>
#include <commctrl.h>

#include <string>

#include "app/AppConfig.h"
#include "app/CrashDump.h"
#include "browser/CefBrowserApp.h"
#include "include/cef_app.h"
#include "include/engine_early_launch.h"
#include "toolkit/core/PaintManagerUI.h"
#include "update/UpdateCheck.h"
#include "util/TextUtil.h"
#include "windows/BrowserWnd.h"

// The one application object.  It is constructed during static
// initialisation, before anything else of the program runs.
CKelpBrowser theApp;

namespace {

constexpr wchar_t kSkinFolder[] = L"skin";
constexpr wchar_t kMainWindowText[] = L"Talmic";

// The engine's settings: no sandbox, the engine's own UI thread, and the
// cache in the application-data folder.
void FillEngineSettings(CefSettings& settings) {
  settings.no_sandbox = 1;
  settings.multi_threaded_message_loop = 1;
  // The folder is in the ANSI code page, the engine's strings are UTF-16:
  // read as UTF-8, a Chinese folder name would become another folder, and
  // a relaunch would empty this one while the engine used that one.
  CefString(&settings.cache_path).FromWString(AnsiToWide(GetAppDataFolder()));
}

}  // namespace

CKelpBrowser::CKelpBrowser() : CWinAppEx(TRUE) {}

CKelpBrowser::~CKelpBrowser() = default;

BOOL CKelpBrowser::InitInstance() {
  // While the updater replaces our files we must not run at all: not even
  // the crash filter is installed.
  if (IsUpdaterRunning() != 0) return FALSE;

  // The browser program takes longer to start than everything up to the
  // engine's initialisation: the engine begins launching it now, with the
  // settings and application object CefInitialize will be given, and
  // CefInitialize adopts it.
  CefRefPtr<CefBrowserApp> application(new CefBrowserApp);
  {
    CefSettings early;
    FillEngineSettings(early);
    EngineBeginEarlyLaunch(early, application.get());
  }

  INITCOMMONCONTROLSEX commonControls = {};
  commonControls.dwSize = sizeof(commonControls);
  commonControls.dwICC = ICC_WIN95_CLASSES;
  ::InitCommonControlsEx(&commonControls);

  ::SetUnhandledExceptionFilter(CrashFilter);

  CWinAppEx::InitInstance();
  AfxEnableControlContainer();

  SkinUI::CPaintManagerUI::SetInstance(m_hInstance);
  SkinUI::CPaintManagerUI::SetResourcePath(SkinUI::CPaintManagerUI::GetInstancePath() +
                                           kSkinFolder);

  // Handing over to the updater ends the client before the browser engine
  // or any window exists; the browser program begun early ends with it,
  // as the updater is about to replace the files it may hold open.
  if (CheckForUpdate()) {
    EngineEndEarlyLaunch();
    return FALSE;
  }

  CefEnableHighDPISupport();

  CefSettings settings;
  FillEngineSettings(settings);

  // Whether the engine started is not examined: without it the window
  // still opens, only without a page.
  const CefMainArgs mainArgs(m_hInstance);
  CefInitialize(mainArgs, settings, application.get(), nullptr);

  const std::wstring loginUrl = ReadLoginUrl();

  m_pBrowserWnd = new CBrowserWnd;
  m_pBrowserWnd->Create(nullptr, kMainWindowText, WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 0,
                        CW_USEDEFAULT, CW_USEDEFAULT, nullptr);
  m_pBrowserWnd->CenterWindow();
  m_pBrowserWnd->OpenLoginPage(loginUrl);
  // The program's only message loop.  It ends with the quit message the
  // window posts after shutting the engine down; the window itself is not
  // destroyed first and deletes itself only if it ever is.
  m_pBrowserWnd->ShowModal();

  // Leaving lets go of the browser application object and of the
  // settings' strings.
  return FALSE;
}
