#include "tests/engine/EngineHarness.h"

#include <gtest/gtest.h>

#include "include/cef_process_message.h"
#include "include/cef_values.h"
#include "tests/support/NativeProcesses.h"
#include "tests/support/TempFolder.h"

namespace enginetest {

void EventLog::Add(const std::string& name, const std::string& detail, int number) {
  std::lock_guard<std::mutex> lock(m_mutex);
  m_events.push_back({name, detail, number, ::GetCurrentThreadId()});
}

std::vector<Event> EventLog::Named(const std::string& name) const {
  std::lock_guard<std::mutex> lock(m_mutex);
  std::vector<Event> found;
  for (const Event& event : m_events) {
    if (event.name == name) found.push_back(event);
  }
  return found;
}

bool EventLog::Has(const std::string& name, const std::string& detail) const {
  std::lock_guard<std::mutex> lock(m_mutex);
  for (const Event& event : m_events) {
    if (event.name == name && event.detail == detail) return true;
  }
  return false;
}

bool EventLog::WaitFor(const std::string& name, const std::string& detail, DWORD timeoutMs) const {
  return WaitUntil([&] { return Has(name, detail); }, timeoutMs);
}

size_t EventLog::Count(const std::string& name) const { return Named(name).size(); }

std::string EventLog::Describe() const {
  std::lock_guard<std::mutex> lock(m_mutex);
  std::string text;
  for (const Event& event : m_events) {
    text += event.name + " [" + event.detail + "] " + std::to_string(event.number) + "\n";
  }
  return text;
}

void EventLog::Clear() {
  std::lock_guard<std::mutex> lock(m_mutex);
  m_events.clear();
}

// The application object.

std::map<std::string, CefRefPtr<CefV8Handler>>& TestApp::Functions() {
  static std::map<std::string, CefRefPtr<CefV8Handler>> functions;
  return functions;
}

void TestApp::OnBeforeCommandLineProcessing(const CefString& process_type,
                                            CefRefPtr<CefCommandLine> command_line) {
  log.Add("command line", process_type.ToString());
  command_line->AppendSwitch("--disable-web-security");
  // The browser program's own log, for looking into a failure.
  wchar_t log[MAX_PATH] = {};
  if (::GetEnvironmentVariableW(L"ENGINE_TEST_BROWSER_LOG", log, MAX_PATH) > 0) {
    command_line->AppendSwitch("enable-logging");
    command_line->AppendSwitchWithValue("log-file", std::wstring(log));
    command_line->AppendSwitchWithValue("log-level", "0");
  }
}

void TestApp::OnContextInitialized() { log.Add("context initialized"); }

void TestApp::OnBeforeChildProcessLaunch(CefRefPtr<CefCommandLine> command_line) {
  log.Add("child launch", command_line->GetProgram().ToString());
  command_line->AppendSwitch("--disable-extensions");
}

namespace {

// The extension's native function: adds its two numbers.
class AddHandler : public CefV8Handler {
 public:
  explicit AddHandler(EventLog& log) : m_log(log) {}
  bool Execute(const CefString& name, CefRefPtr<CefV8Value> object, const CefV8ValueList& arguments,
               CefRefPtr<CefV8Value>& retval, CefString& exception) override {
    (void)object, (void)exception;
    m_log.Add("native", name.ToString());
    if (name != "add" || arguments.size() != 2) return false;
    retval = CefV8Value::CreateInt(arguments[0]->GetIntValue() + arguments[1]->GetIntValue());
    return true;
  }

 private:
  EventLog& m_log;
  IMPLEMENT_REFCOUNTING(AddHandler);
};

}  // namespace

void TestApp::OnWebKitInitialized() {
  log.Add("webkit initialized");
  const bool registered = CefRegisterExtension(
      "v8/test",
      "var ext_value = 'from the extension'; var ext = {};"
      "(function() { ext.add = function(a, b) { native function add(int, int); return add(a, b); };"
      "  ext.missing = function() { native function missing(); return missing(); }; })();",
      new AddHandler(log));
  log.Add("extension registered", registered ? "yes" : "no");
}

void TestApp::OnContextCreated(CefRefPtr<CefBrowser> browser, CefRefPtr<CefFrame> frame,
                               CefRefPtr<CefV8Context> context) {
  (void)browser;
  log.Add("context created", frame->IsMain() ? "main" : "inner");
  CefRefPtr<CefV8Value> global = context->GetGlobal();
  for (const auto& function : Functions()) {
    global->SetValue(function.first, CefV8Value::CreateFunction(function.first, function.second),
                     V8_PROPERTY_ATTRIBUTE_NONE);
  }
  global->SetValue("nativeGreeting", CefV8Value::CreateString("你好"), V8_PROPERTY_ATTRIBUTE_NONE);
}

// The client.

bool TestClient::OnProcessMessageReceived(CefRefPtr<CefBrowser> browser,
                                          CefProcessId source_process,
                                          CefRefPtr<CefProcessMessage> message) {
  (void)browser;
  std::string detail = message->GetName().ToString();
  CefRefPtr<CefListValue> arguments = message->GetArgumentList();
  for (size_t i = 0; i < arguments->GetSize(); ++i) {
    detail += "|" + (arguments->GetType(i) == VTYPE_INT ? std::to_string(arguments->GetInt(i))
                                                        : arguments->GetString(i).ToString());
  }
  log.Add("process message", detail, source_process);
  return false;
}

void TestClient::OnAddressChange(CefRefPtr<CefBrowser> browser, CefRefPtr<CefFrame> frame,
                                 const CefString& url) {
  (void)browser;
  log.Add(frame->IsMain() ? "address" : "inner address", url.ToString());
}

void TestClient::OnTitleChange(CefRefPtr<CefBrowser> browser, const CefString& title) {
  (void)browser;
  log.Add("title", title.ToString());
}

void TestClient::OnLoadingStateChange(CefRefPtr<CefBrowser> browser, bool isLoading, bool canGoBack,
                                      bool canGoForward) {
  (void)browser;
  log.Add("loading", isLoading ? "loading" : "done", (canGoBack ? 2 : 0) | (canGoForward ? 1 : 0));
}

void TestClient::OnLoadError(CefRefPtr<CefBrowser> browser, CefRefPtr<CefFrame> frame,
                             ErrorCode errorCode, const CefString& errorText,
                             const CefString& failedUrl) {
  (void)browser;
  log.Add("load error", errorText.ToString() + " " + failedUrl.ToString(), errorCode);
  if (errorCode != ERR_ABORTED) {
    frame->LoadString("<html><head><title>error page</title></head><body>failed " +
                          failedUrl.ToString() + "</body></html>",
                      failedUrl);
  }
}

bool TestClient::OnBeforePopup(CefRefPtr<CefBrowser> browser, CefRefPtr<CefFrame> frame,
                               const CefString& target_url, const CefString& target_frame_name,
                               WindowOpenDisposition target_disposition, bool user_gesture,
                               const CefPopupFeatures& popupFeatures, CefWindowInfo& windowInfo,
                               CefRefPtr<CefClient>& client, CefBrowserSettings& settings,
                               bool* no_javascript_access) {
  (void)browser, (void)target_frame_name, (void)user_gesture, (void)popupFeatures, (void)windowInfo,
      (void)client, (void)settings, (void)no_javascript_access;
  log.Add("popup", target_url.ToString(), target_disposition);
  if (cancelPopups) frame->LoadURL(target_url);
  return cancelPopups;
}

void TestClient::OnAfterCreated(CefRefPtr<CefBrowser> created) {
  {
    std::lock_guard<std::mutex> lock(m_mutex);
    if (!browser) browser = created;
  }
  log.Add("created", created->IsPopup() ? "popup" : "browser");
}

bool TestClient::DoClose(CefRefPtr<CefBrowser> closing) {
  log.Add("do close", closing->IsPopup() ? "popup" : "browser");
  return false;
}

void TestClient::OnBeforeClose(CefRefPtr<CefBrowser> closing) {
  log.Add("before close", closing->IsPopup() ? "popup" : "browser");
}

void TestClient::OnBeforeContextMenu(CefRefPtr<CefBrowser> browser, CefRefPtr<CefFrame> frame,
                                     CefRefPtr<CefContextMenuParams> params,
                                     CefRefPtr<CefMenuModel> model) {
  (void)browser, (void)frame;
  log.Add("context menu", params->GetLinkUrl().ToString(), model->GetCount());
  if (clearMenus) model->Clear();
}

void TestClient::OnBeforeDownload(CefRefPtr<CefBrowser> browser,
                                  CefRefPtr<CefDownloadItem> download_item,
                                  const CefString& suggested_name,
                                  CefRefPtr<CefBeforeDownloadCallback> callback) {
  (void)browser;
  log.Add("download", suggested_name.ToString() + " " + download_item->GetURL().ToString());
  callback->Continue(download_item->GetURL(), true);
}

void TestClient::OnDownloadUpdated(CefRefPtr<CefBrowser> browser,
                                   CefRefPtr<CefDownloadItem> download_item,
                                   CefRefPtr<CefDownloadItemCallback> callback) {
  (void)browser, (void)callback;
  if (download_item->IsComplete()) {
    log.Add("download complete", download_item->GetFullPath().ToString());
  }
  if (download_item->IsCanceled()) log.Add("download canceled");
}

CefRefPtr<CefBrowser> TestClient::Browser() {
  std::lock_guard<std::mutex> lock(m_mutex);
  return browser;
}

// The shared engine.

namespace {

struct Shared {
  CefRefPtr<TestApp> app;
  std::unique_ptr<test::TempFolder> cache;
  bool running = false;
};

Shared& TheShared() {
  static Shared shared;
  return shared;
}

}  // namespace

bool SharedEngine::Start() {
  Shared& shared = TheShared();
  if (shared.running) return true;
  if (!shared.cache) shared.cache = std::make_unique<test::TempFolder>();
  shared.app = new TestApp();
  CefSettings settings;
  settings.no_sandbox = 1;
  settings.multi_threaded_message_loop = 1;
  CefString(&settings.cache_path) = (*shared.cache / L"cache");
  // The engine's log, for looking into a failure: set ENGINE_TEST_LOG.
  wchar_t log[MAX_PATH] = {};
  if (::GetEnvironmentVariableW(L"ENGINE_TEST_LOG", log, MAX_PATH) > 0) {
    CefString(&settings.log_file) = std::wstring(log);
  }
  shared.running =
      CefInitialize(CefMainArgs(::GetModuleHandleW(nullptr)), settings, shared.app, nullptr);
  return shared.running;
}

namespace {

// The shared engine is shut down once every test has run, so that no
// browser program outlives the test program.
class SharedEngineShutdown : public ::testing::Environment {
 public:
  void TearDown() override { SharedEngine::Stop(); }
};

const bool kShutdownRegistered =
    ::testing::AddGlobalTestEnvironment(new SharedEngineShutdown()) != nullptr;

}  // namespace

void SharedEngine::Stop() {
  Shared& shared = TheShared();
  if (!shared.running) return;
  CefShutdown();
  shared.running = false;
}

CefRefPtr<TestApp> SharedEngine::App() { return TheShared().app; }

const std::wstring& SharedEngine::CacheFolder() {
  static const std::wstring none;
  return TheShared().cache ? TheShared().cache->Path() : none;
}

// The host window.

HostWindow::HostWindow(int width, int height) {
  static const bool registered = [] {
    WNDCLASSEXW windowClass = {};
    windowClass.cbSize = sizeof(windowClass);
    windowClass.lpfnWndProc = ::DefWindowProcW;
    windowClass.hInstance = ::GetModuleHandleW(nullptr);
    windowClass.hbrBackground = static_cast<HBRUSH>(::GetStockObject(BLACK_BRUSH));
    windowClass.lpszClassName = L"EngineTestHost";
    return ::RegisterClassExW(&windowClass) != 0;
  }();
  (void)registered;
  RECT frame = {0, 0, width, height};
  ::AdjustWindowRect(&frame, WS_OVERLAPPEDWINDOW, FALSE);
  m_window = ::CreateWindowExW(0, L"EngineTestHost", L"engine test",
                               WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN | WS_VISIBLE, 20, 20,
                               frame.right - frame.left, frame.bottom - frame.top, nullptr, nullptr,
                               ::GetModuleHandleW(nullptr), nullptr);
  ::SetForegroundWindow(m_window);
}

HostWindow::~HostWindow() {
  if (m_window != nullptr) ::DestroyWindow(m_window);
}

CefRefPtr<CefBrowser> OpenBrowser(HostWindow& host, CefRefPtr<TestClient> client,
                                  const std::string& url, int width, int height) {
  CefWindowInfo info;
  info.SetAsChild(host.Handle(), RECT{0, 0, width, height});
  CefBrowserSettings settings;
  if (!CefBrowserHost::CreateBrowser(info, client.get(), url, settings, nullptr)) return nullptr;
  WaitUntil([&] { return client->Browser() != nullptr; });
  return client->Browser();
}

void CloseBrowser(CefRefPtr<TestClient> client) {
  CefRefPtr<CefBrowser> browser = client->Browser();
  if (!browser) return;
  browser->GetHost()->CloseBrowser(true);
  client->log.WaitFor("before close", "browser", 10000);
  client->browser = nullptr;
}

std::string LastTitle(const TestClient& client) {
  const std::vector<Event> titles = client.log.Named("title");
  return titles.empty() ? std::string() : titles.back().detail;
}

unsigned long RunningBrowserIn(const std::wstring& profile) {
  const unsigned long pid = test::ProcessIdInFile(profile + L"\\BrowserProcessId");
  return pid != 0 && test::NativeProcessRuns(pid) ? pid : 0;
}

}  // namespace enginetest
