// A page function's round trip: the page calls a native function whose
// handler returns a fixed string, many times over, and times each call
// itself.  Printed: the median and the 95th percentile, on a plain page and
// on a page whose content security policy allows no requests of its own.
#include <windows.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "bench/BenchWindow.h"
#include "include/cef_app.h"
#include "include/cef_browser.h"
#include "include/cef_client.h"
#include "include/cef_v8.h"
#include "tests/support/PageServer.h"

namespace {

constexpr int kCalls = 400;

// The page warms up, then times each call; the title carries
// "median p95" in milliseconds, or "missing" without the function.
const std::string kPage =
    R"(<html><head><script src="/run.js"></script></head><body></body></html>)";
const std::string kScript = R"(
if (typeof fixed !== 'function') {
  document.title = 'missing';
} else {
  for (let i = 0; i < 20; ++i) fixed();
  const times = [];
  for (let i = 0; i < )" + std::to_string(kCalls) +
                            R"(; ++i) {
    const start = performance.now();
    fixed();
    times.push(performance.now() - start);
  }
  times.sort((a, b) => a - b);
  document.title = times[Math.floor(times.length / 2)].toFixed(3) + ' ' +
                   times[Math.floor(times.length * 0.95)].toFixed(3);
}
)";

double Now() {
  using Clock = std::chrono::steady_clock;
  return std::chrono::duration<double, std::milli>(Clock::now().time_since_epoch()).count();
}

template <typename Condition>
bool PumpUntil(Condition condition, DWORD timeoutMs = 60000) {
  const double end = Now() + timeoutMs;
  while (!condition()) {
    if (Now() > end) return false;
    MSG message;
    while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
      ::TranslateMessage(&message);
      ::DispatchMessageW(&message);
    }
    ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 1, QS_ALLINPUT);
  }
  return true;
}

class Fixed : public CefV8Handler {
 public:
  bool Execute(const CefString&, CefRefPtr<CefV8Value>, const CefV8ValueList&,
               CefRefPtr<CefV8Value>& retval, CefString&) override {
    retval = CefV8Value::CreateString("fixed");
    return true;
  }
  IMPLEMENT_REFCOUNTING(Fixed);
};

class App : public CefApp, public CefRenderProcessHandler {
 public:
  CefRefPtr<CefRenderProcessHandler> GetRenderProcessHandler() override { return this; }
  void OnContextCreated(CefRefPtr<CefBrowser>, CefRefPtr<CefFrame>,
                        CefRefPtr<CefV8Context> context) override {
    context->GetGlobal()->SetValue("fixed", CefV8Value::CreateFunction("fixed", new Fixed()),
                                   V8_PROPERTY_ATTRIBUTE_NONE);
  }
  IMPLEMENT_REFCOUNTING(App);
};

class Client : public CefClient, public CefLifeSpanHandler, public CefDisplayHandler {
 public:
  CefRefPtr<CefBrowser> browser;
  std::string title;
  CefRefPtr<CefLifeSpanHandler> GetLifeSpanHandler() override { return this; }
  CefRefPtr<CefDisplayHandler> GetDisplayHandler() override { return this; }
  void OnAfterCreated(CefRefPtr<CefBrowser> created) override { browser = created; }
  void OnTitleChange(CefRefPtr<CefBrowser>, const CefString& text) override {
    title = text.ToString();
  }
  IMPLEMENT_REFCOUNTING(Client);
};

void Measure(HWND host, const std::string& url, const char* name) {
  CefRefPtr<Client> client = new Client();
  CefWindowInfo info;
  info.SetAsChild(host, RECT{0, 0, 800, 600});
  CefBrowserHost::CreateBrowser(info, client.get(), url, CefBrowserSettings(), nullptr);
  const bool done = PumpUntil(
      [&] { return client->title == "missing" || client->title.find(' ') != std::string::npos; });
  double median = 0, p95 = 0;
  if (!done || client->title == "missing" ||
      std::sscanf(client->title.c_str(), "%lf %lf", &median, &p95) != 2) {
    std::printf("%s_median: n/a (the page got no answer)\n", name);
  } else {
    std::printf("%s_median: %.3f ms\n%s_p95: %.3f ms\n", name, median, name, p95);
  }
  if (client->browser) client->browser->GetHost()->CloseBrowser(true);
  PumpUntil([] { return false; }, 300);
}

}  // namespace

int wmain() {
  test::PageServer server;
  server.AddHtml("/plain.html", kPage);
  server.Add("/policy.html", {200, "text/html; charset=utf-8", kPage,
                              "Content-Security-Policy: default-src 'self'\r\n"});
  server.Add("/run.js", {200, "application/javascript", kScript, ""});
  wchar_t temp[MAX_PATH];
  ::GetTempPathW(MAX_PATH, temp);
  const std::wstring base =
      std::wstring(temp) + L"talmic-bridge-bench-" + std::to_wstring(::GetCurrentProcessId());
  ::CreateDirectoryW(base.c_str(), nullptr);

  CefSettings settings;
  settings.multi_threaded_message_loop = 1;
  CefString(&settings.cache_path) = base + L"\\engine";
  CefRefPtr<App> app = new App();
  if (!CefInitialize(CefMainArgs(::GetModuleHandleW(nullptr)), settings, app.get(), nullptr)) {
    std::printf("bridge: could not start the browser program\n");
    return 1;
  }
  HWND host = MakeBenchWindow(WS_OVERLAPPEDWINDOW, 800, 600);
  Measure(host, server.Url("/plain.html"), "bridge_call_round_trip");
  Measure(host, server.Url("/policy.html"), "bridge_call_round_trip_under_policy");
  CefShutdown();
  ::DestroyWindow(host);
  return 0;
}
