// The page at the screen's DPI: a CSS pixel is DPI / 96 device pixels, the
// page reaches every edge of its window, and input lands where the user
// points.  The program runs once per DPI, each time in a Wine prefix whose
// LogPixels says that DPI (see run-at-dpi.sh); TALMIC_TEST_DPI names it.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <string>

#include "include/cef_app.h"
#include "tests/engine/EngineHarness.h"
#include "tests/support/PageServer.h"
#include "tests/support/WindowProbe.h"

namespace enginetest {
namespace {

// The program is DPI aware, as the shipped program is, before it makes any
// window; an unaware process would be shown every window at 96 DPI.
const bool kDpiAware = [] {
  CefEnableHighDPISupport();
  return true;
}();

unsigned int ExpectedDpi() {
  wchar_t value[16] = {};
  if (::GetEnvironmentVariableW(L"TALMIC_TEST_DPI", value, 16) == 0) return 96;
  return static_cast<unsigned int>(std::wcstoul(value, nullptr, 10));
}

unsigned int DpiOf(HWND window) {
  using DpiForWindow = UINT(WINAPI*)(HWND);
  const auto dpiForWindow = reinterpret_cast<DpiForWindow>(reinterpret_cast<void*>(
      ::GetProcAddress(::GetModuleHandleW(L"user32.dll"), "GetDpiForWindow")));
  return dpiForWindow != nullptr ? dpiForWindow(window) : 0;
}

// Pictures of a page in motion arrive compressed, which moves a channel by
// a few steps; the tolerance keeps the tests about which colour is where.
bool Near(uint32_t actual, uint32_t expected) {
  for (int shift = 0; shift <= 16; shift += 8) {
    const int a = static_cast<int>((actual >> shift) & 0xFF);
    const int e = static_cast<int>((expected >> shift) & 0xFF);
    if (std::abs(a - e) > 6) return false;
  }
  return true;
}

constexpr uint32_t kPage = 0x3366CC;
constexpr uint32_t kBox = 0xFF0000;

int Distance(uint32_t a, uint32_t b) {
  int sum = 0;
  for (int shift = 0; shift <= 16; shift += 8) {
    sum += std::abs(static_cast<int>((a >> shift) & 0xFF) - static_cast<int>((b >> shift) & 0xFF));
  }
  return sum;
}

// The longest run of pixels nearer to the colour than to the page's along
// a row (or a column) of the picture.  A pixel the edge blends counts for
// the colour it mostly has, and so do the pixels a compressed picture
// shifts at an edge, so that the run measures where the edge is.
int RunLength(const test::Pixels& pixels, int fixed, bool alongRow, uint32_t colour) {
  int best = 0;
  int current = 0;
  const int length = alongRow ? pixels.width : pixels.height;
  for (int i = 0; i < length; ++i) {
    const uint32_t pixel = alongRow ? pixels.At(i, fixed) : pixels.At(fixed, i);
    current = Distance(pixel, colour) < Distance(pixel, kPage) ? current + 1 : 0;
    best = std::max(best, current);
  }
  return best;
}

// The context menu's position, as the client is told it.
class PointingClient : public TestClient {
 public:
  void OnBeforeContextMenu(CefRefPtr<CefBrowser> browser, CefRefPtr<CefFrame> frame,
                           CefRefPtr<CefContextMenuParams> params,
                           CefRefPtr<CefMenuModel> model) override {
    (void)browser, (void)frame;
    log.Add("menu at",
            std::to_string(params->GetXCoord()) + "," + std::to_string(params->GetYCoord()));
    model->Clear();
  }
};

class EngineDpi : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(kDpiAware);
    ASSERT_TRUE(SharedEngine::Start());
    client = new PointingClient();
    scale = ExpectedDpi() / 96.0;
    // The prefix really is at the DPI the run is for; without this a
    // broken set-up would test 96 DPI three times over.
    ASSERT_EQ(DpiOf(host.Handle()), ExpectedDpi());
    server.AddHtml("/still.html", kPageHtml);
    server.AddHtml("/moving.html", std::string(kPageHtml) + kMovingPart);
  }
  void TearDown() override { CloseBrowser(client); }

  // Opens the page and waits until it has said how it sees its window.
  HWND Open(const std::string& path = "/still.html") {
    if (!OpenBrowser(host, client, server.Url(path), kWidth, kHeight)) return nullptr;
    if (!client->log.WaitFor("title", ReadyTitle(kWidth, kHeight))) {
      ADD_FAILURE() << "the page reported " << LastTitle(*client);
      return nullptr;
    }
    return client->Browser()->GetHost()->GetWindowHandle();
  }

  // What the page reports: its device pixel ratio and its viewport in CSS
  // pixels, which cover the window (a part of a CSS pixel counts whole).
  std::string ReadyTitle(int width, int height) const {
    const int cssWidth = static_cast<int>(std::ceil(width / scale - 1e-9));
    const int cssHeight = static_cast<int>(std::ceil(height / scale - 1e-9));
    char ratio[16];
    std::snprintf(ratio, sizeof ratio, "%g", scale);
    return std::string("ready ") + ratio + " " + std::to_string(cssWidth) + "x" +
           std::to_string(cssHeight);
  }

  int Device(double css) const { return static_cast<int>(std::lround(css * scale)); }

  static constexpr int kWidth = 400;
  static constexpr int kHeight = 300;
  // The page rounds its pixel ratio: the browser program computes it in
  // single precision when a window's DPI is not the one it renders at.
  // A red box of 100 x 50 CSS pixels, a button, and a scrolling panel, all
  // placed where a position taken in the wrong unit misses them at any DPI
  // but 96.
  static constexpr const char* kPageHtml =
      "<html><head><title>loading</title></head>"
      "<body style='margin:0;background:#3366cc;overflow:hidden'>"
      "<div style='position:absolute;left:10px;top:10px;width:100px;height:50px;"
      "background:#ff0000'></div>"
      "<button id=b style='position:absolute;left:120px;top:80px;width:60px;height:40px'"
      " onclick=\"document.title='clicked '+event.clientX+','+event.clientY\">go</button>"
      "<div id=p style='position:absolute;left:120px;top:10px;width:60px;height:50px;"
      "overflow:auto;background:#ffffff' onscroll=\"document.title='scrolled'\">"
      "<div style='height:2000px'></div></div>"
      "<div id=m style='position:absolute;left:10px;top:80px;width:60px;height:40px;"
      "background:#00ff00'></div>"
      "<script>"
      "function report(){document.title='ready '+Math.round(devicePixelRatio*1e4)/1e4+' '+"
      "innerWidth+'x'+"
      "innerHeight}"
      "addEventListener('resize',report);report();"
      "</script></body></html>";
  // The same page with something always moving in it: the window then
  // shows the pictures the page streams, never the exact one taken once
  // it is still.
  static constexpr const char* kMovingPart =
      "<style>@keyframes turn{to{transform:rotate(360deg)}}</style>"
      "<div style='position:absolute;left:80px;top:130px;width:8px;height:8px;"
      "background:#ffff00;animation:turn 0.5s linear infinite'></div>";

  test::PageServer server;
  HostWindow host{kWidth, kHeight};
  CefRefPtr<PointingClient> client;
  double scale = 1.0;
};

// Each picture test runs on the still page and on the moving one.
class EngineDpiPictures : public EngineDpi, public ::testing::WithParamInterface<const char*> {};

INSTANTIATE_TEST_SUITE_P(StillAndMoving, EngineDpiPictures,
                         ::testing::Values("/still.html", "/moving.html"));

TEST_P(EngineDpiPictures, ACssPixelIsScaleDevicePixels) {
  HWND view = Open(GetParam());
  ASSERT_NE(view, nullptr);
  EXPECT_EQ(DpiOf(view), ExpectedDpi());
  // The box's middle row and column hold 100 x 50 CSS pixels of red, in
  // device pixels.  Its edges fall between device pixels at 1.5, where the
  // browser blends one pixel, and a moving page's pictures are compressed,
  // which moves an edge by about as much: two pixels either way are
  // allowed (a CSS pixel taken for a device pixel is off by 25 at the
  // least).
  const int row = Device(35);
  const int column = Device(60);
  int width = 0;
  int height = 0;
  const bool sized = WaitUntil([&] {
    const test::Pixels pixels = test::CaptureWindow(view);
    if (pixels.width <= column || pixels.height <= row) return false;
    width = RunLength(pixels, row, true, kBox);
    height = RunLength(pixels, column, false, kBox);
    return std::abs(width - Device(100)) <= 2 && std::abs(height - Device(50)) <= 2;
  });
  EXPECT_TRUE(sized) << "the box is " << width << " x " << height << " device pixels, not "
                     << Device(100) << " x " << Device(50);
}

TEST_P(EngineDpiPictures, ThePageReachesEveryEdgeOfTheWindowAsItResizes) {
  HWND view = Open(GetParam());
  ASSERT_NE(view, nullptr);
  auto edgesArePage = [&](int width, int height) {
    const test::Pixels pixels = test::CaptureWindow(view);
    if (pixels.width != width || pixels.height != height) return false;
    for (int y : {Device(70), height / 2, height - 1}) {
      if (!Near(pixels.At(width - 1, y), kPage)) return false;
    }
    for (int x : {Device(115), width / 2, width - 1}) {
      if (!Near(pixels.At(x, height - 1), kPage)) return false;
    }
    return true;
  };
  EXPECT_TRUE(WaitUntil([&] { return edgesArePage(kWidth, kHeight); }))
      << "right edge " << std::hex << test::CaptureWindow(view).At(kWidth - 1, kHeight / 2)
      << ", bottom edge " << test::CaptureWindow(view).At(kWidth / 2, kHeight - 1);

  // Sizes that are no whole number of CSS pixels at 1.5 and 2 as well.
  for (const auto& size : {std::pair<int, int>{331, 247}, std::pair<int, int>{kWidth, kHeight}}) {
    ::MoveWindow(view, 0, 0, size.first, size.second, TRUE);
    EXPECT_TRUE(client->log.WaitFor("title", ReadyTitle(size.first, size.second)))
        << LastTitle(*client);
    EXPECT_TRUE(WaitUntil([&] { return edgesArePage(size.first, size.second); }))
        << size.first << "x" << size.second << ": right edge " << std::hex
        << test::CaptureWindow(view).At(size.first - 1, size.second / 2);
  }
}

TEST_F(EngineDpi, PointerInputLandsWhereTheUserPoints) {
  HWND view = Open();
  ASSERT_NE(view, nullptr);
  // The button's middle, 150,100 in CSS pixels, in the window's pixels.
  const LPARAM button = MAKELPARAM(Device(150), Device(100));
  ::PostMessageW(view, WM_MOUSEMOVE, 0, button);
  ::PostMessageW(view, WM_LBUTTONDOWN, MK_LBUTTON, button);
  ::PostMessageW(view, WM_LBUTTONUP, 0, button);
  EXPECT_TRUE(client->log.WaitFor("title", "clicked 150,100")) << LastTitle(*client);

  // The wheel message carries a screen position; the panel under it
  // scrolls.
  POINT panel = {Device(150), Device(35)};
  ::ClientToScreen(view, &panel);
  ::PostMessageW(view, WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-WHEEL_DELTA)),
                 MAKELPARAM(panel.x, panel.y));
  EXPECT_TRUE(client->log.WaitFor("title", "scrolled")) << LastTitle(*client);

  // A right click on the green box: the client is told the menu's place in
  // the window's pixels.
  const LPARAM green = MAKELPARAM(Device(40), Device(100));
  ::PostMessageW(view, WM_RBUTTONDOWN, MK_RBUTTON, green);
  ::PostMessageW(view, WM_RBUTTONUP, 0, green);
  const std::string where = std::to_string(Device(40)) + "," + std::to_string(Device(100));
  EXPECT_TRUE(client->log.WaitFor("menu at", where)) << client->log.Describe();
}

TEST_F(EngineDpi, AViewToldOfAnotherDpiShowsThePageAtIt) {
  // The system tells a window that lands on a monitor of another DPI, with
  // the place it proposes there; Wine has one DPI for every monitor, so the
  // test tells the view itself, proposing the place it has.
  HWND view = Open();
  ASSERT_NE(view, nullptr);
  const unsigned int moved = ExpectedDpi() == 192 ? 144 : 192;
  RECT proposed = {};
  ::GetWindowRect(view, &proposed);
  ::MapWindowPoints(nullptr, ::GetParent(view), reinterpret_cast<POINT*>(&proposed), 2);
  ::SendMessageW(view, WM_DPICHANGED, MAKEWPARAM(moved, moved),
                 reinterpret_cast<LPARAM>(&proposed));
  scale = moved / 96.0;
  EXPECT_TRUE(client->log.WaitFor("title", ReadyTitle(kWidth, kHeight))) << LastTitle(*client);
  // The box has the new scale's size on screen, and input lands by it.
  const int row = Device(35);
  int width = 0;
  EXPECT_TRUE(WaitUntil([&] {
    const test::Pixels pixels = test::CaptureWindow(view);
    width = pixels.height > row ? RunLength(pixels, row, true, kBox) : 0;
    return std::abs(width - Device(100)) <= 2;
  })) << "the box is "
      << width << " device pixels wide, not " << Device(100);
  const LPARAM button = MAKELPARAM(Device(150), Device(100));
  ::PostMessageW(view, WM_LBUTTONDOWN, MK_LBUTTON, button);
  ::PostMessageW(view, WM_LBUTTONUP, 0, button);
  EXPECT_TRUE(client->log.WaitFor("title", "clicked 150,100")) << LastTitle(*client);
}

}  // namespace
}  // namespace enginetest
