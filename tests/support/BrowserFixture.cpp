#include "tests/support/BrowserFixture.h"

#include <cstdlib>

#include "browser/BrowserWindowMessages.h"
#include "include/cef_app.h"
#include "tests/support/MessagePump.h"
#include "util/TextUtil.h"

namespace test {
namespace {

std::string TextAt(LPARAM lParam) {
  return lParam != 0 ? WideToUtf8(reinterpret_cast<const wchar_t*>(lParam)) : std::string();
}

LRESULT CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  const bool sent = ::InSendMessage() != FALSE;
  switch (message) {
    case WM_USER_TITLE_TEXT:
      BrowserFixture::Inbox().push_back({message, 0, reinterpret_cast<const char*>(wParam), sent});
      return 0;
    case WM_USER_TITLE_COLOR:
    case WM_APP_BROWSER_CREATED:
    case WM_APP_LOADING_STATE:
    case WM_USER_BROWSER_CLOSING:
      BrowserFixture::Inbox().push_back({message, wParam, std::string(), sent});
      return 0;
    case WM_APP_ADDRESS_CHANGED:
    case WM_APP_TITLE_CHANGED:
      BrowserFixture::Inbox().push_back({message, wParam, TextAt(lParam), sent});
      return 0;
    default:
      return ::DefWindowProcW(window, message, wParam, lParam);
  }
}

}  // namespace

TempFolder* BrowserFixture::s_cache = nullptr;
CefRefPtr<CefBrowserApp> BrowserFixture::s_app;
CefRefPtr<CefBrowserEventHandler> BrowserFixture::s_handler;
CefRefPtr<CefBrowser> BrowserFixture::s_browser;
bool BrowserFixture::s_started = false;
bool BrowserFixture::s_created = false;

std::vector<BrowserFixture::Received>& BrowserFixture::Inbox() {
  static std::vector<Received> inbox;
  return inbox;
}

std::vector<BrowserFixture::Received> BrowserFixture::Named(UINT message) {
  std::vector<Received> found;
  for (const Received& received : Inbox()) {
    if (received.message == message) found.push_back(received);
  }
  return found;
}

bool BrowserFixture::HasTitleText(const std::string& text) {
  for (const Received& received : Named(WM_USER_TITLE_TEXT)) {
    if (received.text == text) return true;
  }
  return false;
}

bool BrowserFixture::TitleTextAfter(const std::string& prefix, std::string* rest) {
  bool found = false;
  for (const Received& received : Named(WM_USER_TITLE_TEXT)) {
    if (received.text.rfind(prefix, 0) == 0) {
      *rest = received.text.substr(prefix.size());
      found = true;
    }
  }
  return found;
}

void BrowserFixture::StartEngine(const MainWindow& window) {
  s_cache = new TempFolder();
  WNDCLASSEXW windowClass = {};
  windowClass.cbSize = sizeof(windowClass);
  windowClass.lpfnWndProc = MainWindowProc;
  windowClass.hInstance = ::GetModuleHandleW(nullptr);
  windowClass.lpszClassName = window.className;
  ::RegisterClassExW(&windowClass);
  g_hMainWnd =
      ::CreateWindowExW(0, window.className, L"main", window.style, 0, 0, window.size.cx,
                        window.size.cy, nullptr, nullptr, ::GetModuleHandleW(nullptr), nullptr);
  s_app = new CefBrowserApp();
  CefSettings settings;
  settings.no_sandbox = 1;
  settings.multi_threaded_message_loop = 1;
  CefString(&settings.cache_path) = (*s_cache / L"cache");
  // As in the engine's own tests, ENGINE_TEST_LOG names a file for the
  // DevTools traffic when a failure needs looking into.
  if (const char* log = std::getenv("ENGINE_TEST_LOG")) {
    CefString(&settings.log_file) = std::string(log);
  }
  s_started =
      CefInitialize(CefMainArgs(::GetModuleHandleW(nullptr)), settings, s_app.get(), nullptr);
  if (!s_started) return;
  s_handler = new CefBrowserEventHandler(g_hMainWnd);
  CefWindowInfo info;
  info.SetAsChild(g_hMainWnd, window.view);
  s_browser = CefBrowserHost::CreateBrowserSync(info, s_handler.get(), "about:blank",
                                                CefBrowserSettings(), nullptr);
  s_created = WaitUntil([] { return !Named(WM_APP_BROWSER_CREATED).empty(); });
}

void BrowserFixture::TearDownTestSuite() {
  s_browser = nullptr;
  if (s_started) CefShutdown();
  s_handler = nullptr;
  s_app = nullptr;
  ::DestroyWindow(g_hMainWnd);
  g_hMainWnd = nullptr;
  delete s_cache;
  s_cache = nullptr;
}

void BrowserFixture::SetUp() {
  ASSERT_TRUE(s_started) << "the engine did not start";
  ASSERT_TRUE(s_created) << "the handler did not hear of the browser";
  Inbox().clear();
}

}  // namespace test
