// What the engine tests share: one running engine with a recording
// application object, a host window on the test's thread, a recording
// client, and waiting that keeps the test thread's windows answering.
#pragma once

#include <windows.h>

#include <condition_variable>
#include <functional>
#include <map>
#include <mutex>
#include <string>
#include <vector>

#include "include/cef_app.h"
#include "include/cef_browser.h"
#include "include/cef_client.h"
#include "include/cef_v8.h"
#include "tests/support/MessagePump.h"

namespace enginetest {

using test::WaitUntil;

// One thing a callback saw, with the thread it ran on.
struct Event {
  std::string name;
  std::string detail;
  int number = 0;
  DWORD thread = 0;
};

// A thread-safe list of events.
class EventLog {
 public:
  void Add(const std::string& name, const std::string& detail = std::string(), int number = 0);
  std::vector<Event> Named(const std::string& name) const;
  bool Has(const std::string& name, const std::string& detail) const;
  bool WaitFor(const std::string& name, const std::string& detail, DWORD timeoutMs = 15000) const;
  size_t Count(const std::string& name) const;
  void Clear();
  // Every event, one per line, for failure messages.
  std::string Describe() const;

 private:
  mutable std::mutex m_mutex;
  std::vector<Event> m_events;
};

// The application object: records the process-handler calls and installs
// the page functions the tests call.
class TestApp : public CefApp, public CefBrowserProcessHandler, public CefRenderProcessHandler {
 public:
  EventLog log;
  // Results the page functions give, by name; set before the page loads.
  static std::map<std::string, CefRefPtr<CefV8Handler>>& Functions();

  void OnBeforeCommandLineProcessing(const CefString& process_type,
                                     CefRefPtr<CefCommandLine> command_line) override;
  CefRefPtr<CefBrowserProcessHandler> GetBrowserProcessHandler() override { return this; }
  CefRefPtr<CefRenderProcessHandler> GetRenderProcessHandler() override { return this; }
  void OnContextInitialized() override;
  void OnBeforeChildProcessLaunch(CefRefPtr<CefCommandLine> command_line) override;
  void OnWebKitInitialized() override;
  void OnContextCreated(CefRefPtr<CefBrowser> browser, CefRefPtr<CefFrame> frame,
                        CefRefPtr<CefV8Context> context) override;

  IMPLEMENT_REFCOUNTING(TestApp);
};

// The client: records display, load, life-span, popup, menu and download
// callbacks, each with its thread.
class TestClient : public CefClient,
                   public CefDisplayHandler,
                   public CefLoadHandler,
                   public CefLifeSpanHandler,
                   public CefContextMenuHandler,
                   public CefDownloadHandler {
 public:
  EventLog log;
  CefRefPtr<CefBrowser> browser;
  bool cancelPopups = true;
  bool clearMenus = true;
  std::wstring downloadFolder;

  CefRefPtr<CefContextMenuHandler> GetContextMenuHandler() override { return this; }
  CefRefPtr<CefDisplayHandler> GetDisplayHandler() override { return this; }
  CefRefPtr<CefDownloadHandler> GetDownloadHandler() override { return this; }
  CefRefPtr<CefLifeSpanHandler> GetLifeSpanHandler() override { return this; }
  CefRefPtr<CefLoadHandler> GetLoadHandler() override { return this; }
  bool OnProcessMessageReceived(CefRefPtr<CefBrowser> browser, CefProcessId source_process,
                                CefRefPtr<CefProcessMessage> message) override;

  void OnAddressChange(CefRefPtr<CefBrowser> browser, CefRefPtr<CefFrame> frame,
                       const CefString& url) override;
  void OnTitleChange(CefRefPtr<CefBrowser> browser, const CefString& title) override;
  void OnLoadingStateChange(CefRefPtr<CefBrowser> browser, bool isLoading, bool canGoBack,
                            bool canGoForward) override;
  void OnLoadError(CefRefPtr<CefBrowser> browser, CefRefPtr<CefFrame> frame, ErrorCode errorCode,
                   const CefString& errorText, const CefString& failedUrl) override;
  bool OnBeforePopup(CefRefPtr<CefBrowser> browser, CefRefPtr<CefFrame> frame,
                     const CefString& target_url, const CefString& target_frame_name,
                     WindowOpenDisposition target_disposition, bool user_gesture,
                     const CefPopupFeatures& popupFeatures, CefWindowInfo& windowInfo,
                     CefRefPtr<CefClient>& client, CefBrowserSettings& settings,
                     bool* no_javascript_access) override;
  void OnAfterCreated(CefRefPtr<CefBrowser> browser) override;
  bool DoClose(CefRefPtr<CefBrowser> browser) override;
  void OnBeforeClose(CefRefPtr<CefBrowser> browser) override;
  void OnBeforeContextMenu(CefRefPtr<CefBrowser> browser, CefRefPtr<CefFrame> frame,
                           CefRefPtr<CefContextMenuParams> params,
                           CefRefPtr<CefMenuModel> model) override;
  void OnBeforeDownload(CefRefPtr<CefBrowser> browser, CefRefPtr<CefDownloadItem> download_item,
                        const CefString& suggested_name,
                        CefRefPtr<CefBeforeDownloadCallback> callback) override;
  void OnDownloadUpdated(CefRefPtr<CefBrowser> browser, CefRefPtr<CefDownloadItem> download_item,
                         CefRefPtr<CefDownloadItemCallback> callback) override;

  CefRefPtr<CefBrowser> Browser();

 private:
  std::mutex m_mutex;
  IMPLEMENT_REFCOUNTING(TestClient);
};

// The engine shared by the tests of this program, started on first use.
class SharedEngine {
 public:
  static bool Start();
  static void Stop();
  static CefRefPtr<TestApp> App();
  static const std::wstring& CacheFolder();
};

// A visible top-level window on the test thread that hosts a browser.
class HostWindow {
 public:
  HostWindow(int width, int height);
  ~HostWindow();
  HWND Handle() const { return m_window; }

 private:
  HWND m_window = nullptr;
};

// Creates a browser in the host window and waits until it exists.
CefRefPtr<CefBrowser> OpenBrowser(HostWindow& host, CefRefPtr<TestClient> client,
                                  const std::string& url, int width, int height);
// Closes it and waits for OnBeforeClose.
void CloseBrowser(CefRefPtr<TestClient> client);
// The page's title as the display handler last reported it.
std::string LastTitle(const TestClient& client);

// The browser program the engine runs on the profile, as the id it records
// there, while that program runs; else 0.
unsigned long RunningBrowserIn(const std::wstring& profile);

}  // namespace enginetest
