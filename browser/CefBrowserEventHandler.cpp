#include "browser/CefBrowserEventHandler.h"

#include <algorithm>
#include <string>

#include "browser/BrowserWindowMessages.h"
#include "browser/SentWindowText.h"
#include "include/cef_app.h"
#include "include/cef_browser.h"
#include "include/cef_frame.h"
#include "include/cef_menu_model.h"
#include "include/cef_process_message.h"
#include "include/cef_task.h"
#include "include/cef_values.h"

namespace {

// The handler's state belongs to the engine's UI thread; a call from any
// other thread is a fault of the engine, stopped here before it corrupts
// the browser list.
void RequireUiThread() {
  if (!CefCurrentlyOn(TID_UI)) __builtin_trap();
}

// The failed address and the error text are shown as text: an address can
// hold "&", "<" or quotes, and markup taken from it would run in the error
// page with the page functions at hand.
std::string HtmlEscaped(const std::string& text) {
  std::string escaped;
  escaped.reserve(text.size());
  for (const char c : text) {
    switch (c) {
      case '&':
        escaped += "&amp;";
        break;
      case '<':
        escaped += "&lt;";
        break;
      case '>':
        escaped += "&gt;";
        break;
      case '"':
        escaped += "&quot;";
        break;
      case '\'':
        escaped += "&#39;";
        break;
      default:
        escaped += c;
    }
  }
  return escaped;
}

bool OpensNewWindow(cef_window_open_disposition_t disposition) {
  return disposition == WOD_NEW_FOREGROUND_TAB || disposition == WOD_NEW_BACKGROUND_TAB ||
         disposition == WOD_NEW_POPUP || disposition == WOD_NEW_WINDOW;
}

}  // namespace

CefBrowserEventHandler::CefBrowserEventHandler(HWND owner) : m_owner(owner) {}

CefBrowserEventHandler::~CefBrowserEventHandler() = default;

HWND CefBrowserEventHandler::WindowOf(CefRefPtr<CefBrowser> browser) {
  return browser->GetHost()->GetWindowHandle();
}

std::string CefBrowserEventHandler::ErrorPage(const std::string& failedUrl,
                                              const std::string& errorText, int errorCode) {
  return "<html><body bgcolor=\"white\"><h2>Failed to load URL " + HtmlEscaped(failedUrl) +
         " with error " + HtmlEscaped(errorText) + " (" + std::to_string(errorCode) +
         ").</h2></body></html>";
}

unsigned int CefBrowserEventHandler::TitleColour(int red, int green, int blue) {
  // Green and blue are deliberately not masked: pages have always got this
  // arithmetic, out-of-range values included.
  return 0xFF000000u | ((static_cast<unsigned int>(red) & 0xFFu) << 16) |
         (static_cast<unsigned int>(green) << 8) | static_cast<unsigned int>(blue);
}

bool CefBrowserEventHandler::OnProcessMessageReceived(CefRefPtr<CefBrowser> browser,
                                                      CefProcessId source_process,
                                                      CefRefPtr<CefProcessMessage> message) {
  (void)browser, (void)source_process;
  RequireUiThread();
  const std::string name = message->GetName().ToString();
  CefRefPtr<CefListValue> arguments = message->GetArgumentList();
  if (name == "setTitleText") {
    if (arguments->GetSize() != 1) return false;
    // The window reads the text during the send; it stays ours.
    const CSentWindowText text(arguments->GetString(0).ToString());
    ::SendMessageW(g_hMainWnd, WM_USER_TITLE_TEXT, reinterpret_cast<WPARAM>(text.Text()), 0);
  } else if (name == "setTitleColor") {
    if (arguments->GetSize() != 3) return false;
    const unsigned int colour =
        TitleColour(arguments->GetInt(0), arguments->GetInt(1), arguments->GetInt(2));
    ::PostMessageW(g_hMainWnd, WM_USER_TITLE_COLOR, colour, 0);
  }
  return false;
}

void CefBrowserEventHandler::OnAddressChange(CefRefPtr<CefBrowser> browser,
                                             CefRefPtr<CefFrame> frame, const CefString& url) {
  (void)frame;
  RequireUiThread();
  const std::wstring address = url.ToWString();
  ::SendMessageW(m_owner, WM_APP_ADDRESS_CHANGED, reinterpret_cast<WPARAM>(WindowOf(browser)),
                 reinterpret_cast<LPARAM>(address.c_str()));
}

void CefBrowserEventHandler::OnTitleChange(CefRefPtr<CefBrowser> browser, const CefString& title) {
  RequireUiThread();
  const std::wstring copy = title.ToWString();
  ::SendMessageW(m_owner, WM_APP_TITLE_CHANGED, reinterpret_cast<WPARAM>(WindowOf(browser)),
                 reinterpret_cast<LPARAM>(copy.c_str()));
}

void CefBrowserEventHandler::OnLoadingStateChange(CefRefPtr<CefBrowser> browser, bool isLoading,
                                                  bool canGoBack, bool canGoForward) {
  (void)isLoading;
  RequireUiThread();
  const LPARAM state = (canGoBack ? 1 << 16 : 0) | (canGoForward ? 1 : 0);
  ::PostMessageW(m_owner, WM_APP_LOADING_STATE, reinterpret_cast<WPARAM>(WindowOf(browser)), state);
}

void CefBrowserEventHandler::OnLoadError(CefRefPtr<CefBrowser> browser, CefRefPtr<CefFrame> frame,
                                         CefLoadHandler::ErrorCode errorCode,
                                         const CefString& errorText, const CefString& failedUrl) {
  (void)browser;
  RequireUiThread();
  // An aborted load (a download, a page without content, a navigation
  // replaced by another) keeps whatever the frame shows.
  if (errorCode == ERR_ABORTED) return;
  const std::string page =
      ErrorPage(failedUrl.ToString(), errorText.ToString(), static_cast<int>(errorCode));
  CefString html;
  html.FromString(page);
  frame->LoadString(html, failedUrl);
}

bool CefBrowserEventHandler::OnBeforePopup(
    CefRefPtr<CefBrowser> browser, CefRefPtr<CefFrame> frame, const CefString& target_url,
    const CefString& target_frame_name,
    CefLifeSpanHandler::WindowOpenDisposition target_disposition, bool user_gesture,
    const CefPopupFeatures& popupFeatures, CefWindowInfo& windowInfo, CefRefPtr<CefClient>& client,
    CefBrowserSettings& settings, bool* no_javascript_access) {
  (void)frame, (void)target_frame_name, (void)user_gesture, (void)popupFeatures, (void)windowInfo,
      (void)client, (void)settings, (void)no_javascript_access;
  RequireUiThread();
  if (!OpensNewWindow(target_disposition)) return false;
  // The application lives in one window: what would open another is shown
  // in this one instead.
  browser->GetMainFrame()->LoadURL(target_url);
  return true;
}

void CefBrowserEventHandler::OnAfterCreated(CefRefPtr<CefBrowser> browser) {
  RequireUiThread();
  m_browsers.push_back(browser);
  ::PostMessageW(m_owner, WM_APP_BROWSER_CREATED, reinterpret_cast<WPARAM>(WindowOf(browser)), 0);
}

bool CefBrowserEventHandler::DoClose(CefRefPtr<CefBrowser> browser) {
  RequireUiThread();
  base::AutoLock lock(m_lock);
  ::PostMessageW(m_owner, WM_USER_BROWSER_CLOSING, reinterpret_cast<WPARAM>(WindowOf(browser)), 0);
  return false;
}

void CefBrowserEventHandler::OnBeforeClose(CefRefPtr<CefBrowser> browser) {
  RequireUiThread();
  base::AutoLock lock(m_lock);
  const auto found =
      std::find_if(m_browsers.begin(), m_browsers.end(),
                   [&](const CefRefPtr<CefBrowser>& entry) { return entry->IsSame(browser); });
  if (found != m_browsers.end()) m_browsers.erase(found);
  if (m_browsers.empty()) CefQuitMessageLoop();
}

void CefBrowserEventHandler::OnBeforeDownload(CefRefPtr<CefBrowser> browser,
                                              CefRefPtr<CefDownloadItem> download_item,
                                              const CefString& suggested_name,
                                              CefRefPtr<CefBeforeDownloadCallback> callback) {
  (void)browser, (void)suggested_name;
  RequireUiThread();
  // The user picks the file in the engine's save dialog.
  callback->Continue(download_item->GetURL(), true);
}

void CefBrowserEventHandler::OnBeforeContextMenu(CefRefPtr<CefBrowser> browser,
                                                 CefRefPtr<CefFrame> frame,
                                                 CefRefPtr<CefContextMenuParams> params,
                                                 CefRefPtr<CefMenuModel> model) {
  (void)browser, (void)frame, (void)params;
  RequireUiThread();
  model->Clear();
}
