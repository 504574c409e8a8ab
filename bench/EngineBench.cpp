// The engine against the browser program it drives: how soon a page shows
// and finishes loading, how fast input shows on screen, and how many
// pictures an animated page gets per second.  The floor is the same page
// loaded by the same browser program over DevTools, without the engine.
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "bench/BenchWindow.h"
#include "bench/ChromiumFloor.h"
#include "include/cef_app.h"
#include "include/cef_browser.h"
#include "include/cef_client.h"
#include "bench/BenchWindow.h"
#include "src/BrowserView.h"
#include "tests/support/PageServer.h"

namespace {

constexpr int kWidth = 1280;
constexpr int kHeight = 800;
constexpr int kRuns = 5;

double Now() {
  using Clock = std::chrono::steady_clock;
  return std::chrono::duration<double, std::milli>(Clock::now().time_since_epoch()).count();
}

double Median(std::vector<double> values) {
  if (values.empty()) return 0;
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

void Pump(DWORD ms) {
  const double end = Now() + ms;
  while (Now() < end) {
    MSG message;
    while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
      ::TranslateMessage(&message);
      ::DispatchMessageW(&message);
    }
    ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 1, QS_ALLINPUT);
  }
}

template <typename Condition>
bool PumpUntil(Condition condition, DWORD timeoutMs = 20000) {
  const double end = Now() + timeoutMs;
  while (!condition()) {
    if (Now() > end) return false;
    Pump(1);
  }
  return true;
}

COLORREF CenterColour(HWND window) {
  RECT client;
  ::GetClientRect(window, &client);
  HDC dc = ::GetDC(window);
  const COLORREF colour = ::GetPixel(dc, client.right / 2, client.bottom / 2);
  ::ReleaseDC(window, dc);
  return colour;
}

bool Close(COLORREF colour, int r, int g, int b) {
  return std::abs(GetRValue(colour) - r) <= 6 && std::abs(GetGValue(colour) - g) <= 6 &&
         std::abs(GetBValue(colour) - b) <= 6;
}

// The test the engine's first paint passes, on a frame of the floor: the
// plain page's colour in the middle.
bool ShowsPlainPage(const engine::FramePicture& picture) {
  if (picture.width <= 0 || picture.height <= 0) return false;
  const uint32_t pixel =
      picture.pixels[static_cast<size_t>(picture.height / 2) * picture.width + picture.width / 2];
  return Close(RGB((pixel >> 16) & 0xFF, (pixel >> 8) & 0xFF, pixel & 0xFF), 0x20, 0xa0, 0x40);
}

const char kPlainPage[] =
    "<html><head><title>plain</title></head><body style='margin:0;background:#20a040'>"
    "<h1>Talmic</h1><p>Lorem ipsum dolor sit amet, consectetur adipiscing elit.</p></body></html>";
const char kClickPage[] =
    "<html><body style='margin:0;background:#ff0000' onmousedown=\""
    "document.body.style.background = document.body.style.background == 'rgb(0, 0, 255)' ?"
    " '#ff0000' : '#0000ff'\"></body></html>";
const char kAnimationPage[] =
    "<html><body style='margin:0'><div id=d style='width:100vw;height:100vh'></div><script>"
    "let h = 0; function step() { h = (h + 7) % 360; d.style.background = 'hsl(' + h + ',80%,50%)';"
    " requestAnimationFrame(step); } requestAnimationFrame(step);</script></body></html>";

class Client : public CefClient, public CefLifeSpanHandler, public CefLoadHandler {
 public:
  CefRefPtr<CefBrowser> browser;
  bool loaded = false;
  CefRefPtr<CefLifeSpanHandler> GetLifeSpanHandler() override { return this; }
  CefRefPtr<CefLoadHandler> GetLoadHandler() override { return this; }
  void OnAfterCreated(CefRefPtr<CefBrowser> created) override { browser = created; }
  void OnLoadingStateChange(CefRefPtr<CefBrowser>, bool isLoading, bool, bool) override {
    if (!isLoading) loaded = true;
  }
  IMPLEMENT_REFCOUNTING(Client);
};

CefRefPtr<Client> Open(HWND host, const std::string& url) {
  CefRefPtr<Client> client = new Client();
  CefWindowInfo info;
  info.SetAsChild(host, RECT{0, 0, kWidth, kHeight});
  CefBrowserHost::CreateBrowser(info, client.get(), url, CefBrowserSettings(), nullptr);
  return client;
}

void CloseAll(CefRefPtr<Client> client) {
  if (client->browser) client->browser->GetHost()->CloseBrowser(true);
  Pump(200);
}

// The floor: the same browser program loading the page, driven directly.
struct Floor {
  bench::FloorTimes times;
  double animationFps = 0;
};

// The browser program alone: the plain page's load, to the first frame
// that shows it as the engine's figure waits for it, and the animation's
// frame rate with every frame acknowledged at once and never decoded.
Floor MeasureFloor(const std::string& plainUrl, const std::string& animationUrl,
                   const std::wstring& profile) {
  bench::ChromiumFloor floor;
  std::vector<double> frames, loads;
  Floor result;
  if (floor.Start(profile)) {
    for (int run = 0; run < kRuns; ++run) {
      // Timed from the new page's creation, as the engine's figures are.
      const bench::FloorTimes times =
          floor.Load(plainUrl, ShowsPlainPage, bench::ChromiumFloor::Now());
      frames.push_back(times.firstFrame);
      loads.push_back(times.loaded);
    }
    if (floor.Load(animationUrl, [](const engine::FramePicture&) { return true; }).loaded > 0) {
      floor.FrameRate(0.5);
      result.animationFps = floor.FrameRate(3.0);
    }
  }
  result.times.firstFrame = bench::MedianOf(frames);
  result.times.loaded = bench::MedianOf(loads);
  return result;
}

}  // namespace

int wmain() {
  test::PageServer server;
  server.AddHtml("/plain.html", kPlainPage);
  server.AddHtml("/click.html", kClickPage);
  server.AddHtml("/animation.html", kAnimationPage);
  wchar_t temp[MAX_PATH];
  ::GetTempPathW(MAX_PATH, temp);
  const std::wstring base =
      std::wstring(temp) + L"talmic-engine-bench-" + std::to_wstring(::GetCurrentProcessId());
  ::CreateDirectoryW(base.c_str(), nullptr);

  const Floor measured =
      MeasureFloor(server.Url("/plain.html"), server.Url("/animation.html"), base + L"\\floor");
  const bench::FloorTimes& floor = measured.times;

  CefSettings settings;
  settings.multi_threaded_message_loop = 1;
  // ENGINE_BENCH_LOG names a file for the engine's DevTools traffic, with
  // times, to see where a figure's milliseconds go.
  if (const wchar_t* log = _wgetenv(L"ENGINE_BENCH_LOG")) CefString(&settings.log_file) = log;
  CefString(&settings.cache_path) = base + L"\\engine";
  if (!CefInitialize(CefMainArgs(::GetModuleHandleW(nullptr)), settings, nullptr, nullptr)) {
    std::printf("engine: could not start the browser program\n");
    return 1;
  }
  HWND host = MakeBenchWindow(WS_OVERLAPPEDWINDOW, kWidth, kHeight);
  std::vector<double> firstPaints, loads;
  for (int run = 0; run < kRuns; ++run) {
    const double start = Now();
    CefRefPtr<Client> client = Open(host, server.Url("/plain.html"));
    if (PumpUntil([&] {
          return client->browser &&
                 Close(CenterColour(client->browser->GetHost()->GetWindowHandle()), 0x20, 0xa0,
                       0x40);
        })) {
      firstPaints.push_back(Now() - start);
    }
    if (PumpUntil([&] { return client->loaded; })) loads.push_back(Now() - start);
    CloseAll(client);
  }
  std::printf("create_to_first_paint: %.0f ms (direct DevTools first frame: %.0f ms, ratio %.2f)\n",
              Median(firstPaints), floor.firstFrame,
              floor.firstFrame > 0 ? Median(firstPaints) / floor.firstFrame : 0.0);
  std::printf("create_to_loaded: %.0f ms (direct DevTools load: %.0f ms, ratio %.2f)\n",
              Median(loads), floor.loaded, floor.loaded > 0 ? Median(loads) / floor.loaded : 0.0);

  CefRefPtr<Client> clicker = Open(host, server.Url("/click.html"));
  std::vector<double> latencies;
  if (PumpUntil([&] { return clicker->loaded; })) {
    HWND view = clicker->browser->GetHost()->GetWindowHandle();
    PumpUntil([&] { return Close(CenterColour(view), 0xff, 0, 0); });
    for (int i = 0; i < 15; ++i) {
      const bool toBlue = i % 2 == 0;
      const double start = Now();
      ::PostMessageW(view, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(kWidth / 2, kHeight / 2));
      ::PostMessageW(view, WM_LBUTTONUP, 0, MAKELPARAM(kWidth / 2, kHeight / 2));
      if (PumpUntil(
              [&] {
                return toBlue ? Close(CenterColour(view), 0, 0, 0xff)
                              : Close(CenterColour(view), 0xff, 0, 0);
              },
              5000)) {
        latencies.push_back(Now() - start);
      }
      Pump(50);
    }
  }
  CloseAll(clicker);
  std::printf("input_to_pixels_median: %.0f ms (%zu of 15 clicks seen; target under 50 ms)\n",
              Median(latencies), latencies.size());

  CefRefPtr<Client> animated = Open(host, server.Url("/animation.html"));
  if (PumpUntil([&] { return animated->loaded; })) {
    Pump(500);
    const unsigned long long before = engine::BrowserView::PicturesShown();
    const double start = Now();
    Pump(3000);
    const double seconds = (Now() - start) / 1000.0;
    const double fps = (engine::BrowserView::PicturesShown() - before) / seconds;
    std::printf(
        "animation_fps_1280x800: %.1f frames/s (target at least 30; direct DevTools frames: "
        "%.1f frames/s, ratio %.2f)\n",
        fps, measured.animationFps, measured.animationFps > 0 ? fps / measured.animationFps : 0.0);
  }
  CloseAll(animated);
  CefShutdown();
  ::DestroyWindow(host);
  return 0;
}
