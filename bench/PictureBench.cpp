// Where a picture of the page spends its time between the browser program
// and the browser's window: reading the message from the pipe, parsing its
// JSON, taking out and decoding its base64 text, decoding the image,
// converting its pixels and drawing them.  The pictures are real ones, made
// by the browser program from a typical page at 1280 x 800 device pixels
// and at 150 % scale (1920 x 1200): the screencast's JPEG frames and the
// lossless PNG screenshot the engine asks for once a page is still.
//
// Each stage is printed beside the way the engine did it before (kept here
// as the reference) and, for the image decoder, beside the platform's own
// codec (WIC), so that the choice can be checked on every platform the
// program runs on.
//
//   bench_picture.exe [--keep FOLDER]
// With --keep, the pictures' bytes are also written to the folder.
#include <windows.h>
#include <wincodec.h>

#include <algorithm>
#include <chrono>
#include <climits>
#include <cstdio>
#include <cstring>
#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include <json/reader.h>

#include "bench/BenchWindow.h"
#include "src/Base64.h"
#include "src/BrowserView.h"
#include "src/ChromiumProcess.h"
#include "src/DevToolsPipe.h"
#include "src/FramePicture.h"

// The decoder as the engine used it before, for the reference figures.
#define STB_IMAGE_STATIC
#define STB_IMAGE_IMPLEMENTATION
#define STBI_ONLY_PNG
#define STBI_ONLY_JPEG
#define STBI_NO_STDIO
#define STBI_MINGW_ENABLE_SSE2
#if defined(__GNUC__)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wunused-function"
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"
#pragma GCC diagnostic ignored "-Wsign-compare"
#pragma GCC diagnostic ignored "-Wimplicit-fallthrough"
#endif
#include <stb_image.h>
#if defined(__GNUC__)
#pragma GCC diagnostic pop
#endif

namespace {

constexpr int kRepeats = 21;
constexpr double kTimeoutMs = 20000;

double Now() {
  using Clock = std::chrono::steady_clock;
  return std::chrono::duration<double, std::milli>(Clock::now().time_since_epoch()).count();
}

// The median time of `repeats` calls, after one untimed call that warms
// the caches and the heap.
double MedianMs(const std::function<void()>& work, int repeats = kRepeats) {
  work();
  std::vector<double> times;
  for (int i = 0; i < repeats; ++i) {
    const double start = Now();
    work();
    times.push_back(Now() - start);
  }
  std::sort(times.begin(), times.end());
  return times[times.size() / 2];
}

// The page of the small pictures the decoder's tests replay (--keep): four
// quarters of known colours, so that a test can tell red from blue.
const char kQuartersPage[] =
    "<html><body style='margin:0'><div style='display:grid;grid-template:1fr 1fr/1fr 1fr;"
    "width:100vw;height:100vh'><div style='background:#e01010'></div>"
    "<div style='background:#10c020'></div><div style='background:#1020e0'></div>"
    "<div style='background:#f0f0f0'></div></div></body></html>";

// Two ways of doing the same work, timed in turns so that whatever else
// the machine does meanwhile weighs on both alike: the medians of each.
struct Pair {
  double after = 0;
  double before = 0;
};

Pair CompareMs(const std::function<void()>& after, const std::function<void()>& before,
               int repeats = kRepeats) {
  after();
  before();
  std::vector<double> afterTimes, beforeTimes;
  for (int i = 0; i < repeats; ++i) {
    double start = Now();
    after();
    afterTimes.push_back(Now() - start);
    start = Now();
    before();
    beforeTimes.push_back(Now() - start);
  }
  std::sort(afterTimes.begin(), afterTimes.end());
  std::sort(beforeTimes.begin(), beforeTimes.end());
  return {afterTimes[afterTimes.size() / 2], beforeTimes[beforeTimes.size() / 2]};
}

// A page as the application's pages look: a coloured bar, headings, text,
// a table, rounded buttons and a gradient panel.
const char kPage[] = R"(<!doctype html><html><head><style>
body { margin: 0; font-family: sans-serif; color: #222; background: #f4f6f8; }
header { background: #1f6fb2; color: #fff; padding: 14px 24px; font-size: 22px; }
main { display: flex; gap: 20px; padding: 20px; }
nav { width: 220px; background: #fff; border-radius: 8px; padding: 12px; }
nav a { display: block; padding: 8px; color: #1f6fb2; }
section { flex: 1; background: #fff; border-radius: 8px; padding: 20px; }
.panel { height: 160px; border-radius: 8px;
         background: linear-gradient(135deg, #ffb347, #ff5e62 50%, #6a82fb); }
table { border-collapse: collapse; width: 100%; margin-top: 16px; }
td, th { border: 1px solid #ccd; padding: 6px; text-align: left; }
button { background: #28a745; color: #fff; border: 0; border-radius: 16px; padding: 8px 18px; }
</style></head><body><header>Talmic &mdash; account overview</header><main><nav>
<a>Overview</a><a>Messages</a><a>Payments</a><a>Settings</a><a>Help</a></nav><section>
<div class=panel></div><h2>Recent activity</h2>
<p>Your monthly statement is ready. It lists every payment, transfer and refund of the month,
the fees charged on each, and the balance carried over from the month before, so that you can
check them against your own records before the next payment falls due on the first.</p>
<p>Payments made after six in the evening are booked on the next working day. Transfers between
your own accounts arrive at once; transfers to other banks take up to two working days.</p>
<table><tr><th>Date</th><th>Item</th><th>Amount</th><th>State</th></tr>
<tr><td>2026-12-01</td><td>Subscription</td><td>12.00</td><td>Paid</td></tr>
<tr><td>2026-12-03</td><td>Transfer to savings</td><td>250.00</td><td>Done</td></tr>
<tr><td>2026-12-07</td><td>Book store</td><td>38.50</td><td>Pending</td></tr>
<tr><td>2026-12-09</td><td>Electricity</td><td>61.20</td><td>Paid</td></tr></table>
<p><button>Pay now</button> <button>Export</button></p></section></main></body></html>)";

// The browser program driven over its pipe, as the engine drives it, to
// make real pictures of the page.
class Browser {
 public:
  bool Start(const std::wstring& profile) {
    return m_process.Start(engine::ChromiumProcess::FindExecutable(), profile, {});
  }
  ~Browser() { m_process.Stop(); }

  int Send(const std::string& method, const std::string& params) {
    std::string message =
        "{\"id\":" + std::to_string(++m_id) + ",\"method\":\"" + method + "\",\"params\":" + params;
    if (!m_session.empty()) message += ",\"sessionId\":\"" + m_session + "\"";
    m_process.Pipe()->Send(message + "}");
    return m_id;
  }

  // The first message holding the text; empty when none came in time.
  std::string Await(const std::string& needle) {
    std::string message;
    const double giveUp = Now() + kTimeoutMs;
    while (Now() < giveUp) {
      const auto got = m_process.Pipe()->Receive(message);
      if (got == engine::DevToolsPipe::Received::kEnded) break;
      if (got != engine::DevToolsPipe::Received::kMessage) continue;
      if (message.find(needle) != std::string::npos) return message;
      if (message.find("\"Page.screencastFrame\"") != std::string::npos) Acknowledge(message);
    }
    return std::string();
  }

  std::string Command(const std::string& method, const std::string& params) {
    return Await("{\"id\":" + std::to_string(Send(method, params)) + ",");
  }

  void Acknowledge(const std::string& frame) {
    Json::Value parsed;
    Json::Reader().parse(frame, parsed);
    Send("Page.screencastFrameAck",
         "{\"sessionId\":" + std::to_string(parsed["params"]["sessionId"].asInt()) + "}");
  }

  // A new page at the size and scale, showing the page.
  bool Open(int cssWidth, int cssHeight, double scale, const std::string& page = kPage) {
    m_session.clear();
    Json::Value reply;
    Json::Reader().parse(Command("Target.createTarget", "{\"url\":\"about:blank\"}"), reply);
    const std::string target = reply["result"]["targetId"].asString();
    Json::Reader().parse(
        Command("Target.attachToTarget", "{\"targetId\":\"" + target + "\",\"flatten\":true}"),
        reply);
    m_session = reply["result"]["sessionId"].asString();
    if (m_session.empty()) return false;
    Command("Page.enable", "{}");
    char metrics[160];
    std::snprintf(metrics, sizeof(metrics),
                  "{\"width\":%d,\"height\":%d,\"deviceScaleFactor\":%g,\"mobile\":false}",
                  cssWidth, cssHeight, scale);
    Command("Emulation.setDeviceMetricsOverride", metrics);
    const std::string url = "data:text/html;base64," + engine::EncodeBase64(page);
    Send("Page.navigate", "{\"url\":\"" + url + "\"}");
    return !Await("\"Page.loadEventFired\"").empty();
  }

  // The screencast's first frame of the page, as the engine asks for it.
  std::string ScreencastFrame(int quality) {
    Command("Page.startScreencast", "{\"format\":\"jpeg\",\"quality\":" + std::to_string(quality) +
                                        ",\"everyNthFrame\":1,\"maxWidth\":4096,"
                                        "\"maxHeight\":4096}");
    std::string frame = Await("\"Page.screencastFrame\"");
    if (!frame.empty()) Acknowledge(frame);
    Command("Page.stopScreencast", "{}");
    return frame;
  }

  // A screenshot's answer, as a whole message.
  std::string Screenshot(const std::string& params) {
    return Command("Page.captureScreenshot", params);
  }

 private:
  engine::ChromiumProcess m_process;
  std::string m_session;
  int m_id = 0;
};

// ---- The path as the engine took it before ----

int OldBase64Value(unsigned char c) {
  if (c >= 'A' && c <= 'Z') return c - 'A';
  if (c >= 'a' && c <= 'z') return c - 'a' + 26;
  if (c >= '0' && c <= '9') return c - '0' + 52;
  if (c == '+') return 62;
  if (c == '/') return 63;
  return -1;
}

bool OldDecodeBase64(const std::string& text, std::string& bytes) {
  bytes.clear();
  bytes.reserve(text.size() / 4 * 3);
  unsigned int accumulator = 0;
  int bits = 0;
  bool padding = false;
  for (const char c : text) {
    const unsigned char u = static_cast<unsigned char>(c);
    if (u == '=') {
      padding = true;
      continue;
    }
    if (u == ' ' || u == '\r' || u == '\n' || u == '\t') continue;
    const int value = OldBase64Value(u);
    if (value < 0 || padding) return false;
    accumulator = (accumulator << 6) | static_cast<unsigned int>(value);
    bits += 6;
    if (bits >= 8) {
      bits -= 8;
      bytes.push_back(static_cast<char>((accumulator >> bits) & 0xFF));
    }
  }
  return true;
}

struct OldPicture {
  int width = 0;
  int height = 0;
  std::vector<uint32_t> pixels;
};

// The image decoder into RGBA, then a copy into 0x00RRGGBB.
stbi_uc* OldDecodeImage(const std::string& bytes, int& width, int& height) {
  int channels = 0;
  return stbi_load_from_memory(reinterpret_cast<const stbi_uc*>(bytes.data()),
                               static_cast<int>(bytes.size()), &width, &height, &channels, 4);
}

void OldConvert(const stbi_uc* rgba, int width, int height, OldPicture& picture) {
  picture.width = width;
  picture.height = height;
  const size_t count = static_cast<size_t>(width) * static_cast<size_t>(height);
  picture.pixels.resize(count);
  for (size_t i = 0; i < count; ++i) {
    const stbi_uc* p = rgba + i * 4;
    picture.pixels[i] = (static_cast<uint32_t>(p[0]) << 16) | (static_cast<uint32_t>(p[1]) << 8) |
                        static_cast<uint32_t>(p[2]);
  }
}

bool OldDecodeFramePicture(const std::string& base64, OldPicture& picture) {
  std::string bytes;
  if (!OldDecodeBase64(base64, bytes) || bytes.empty() || bytes.size() > INT_MAX) return false;
  int width = 0, height = 0;
  stbi_uc* rgba = OldDecodeImage(bytes, width, height);
  if (rgba == nullptr) return false;
  OldConvert(rgba, width, height, picture);
  stbi_image_free(rgba);
  return true;
}

// ---- The platform's own codec ----

template <typename T>
struct ComPtr {
  T* p = nullptr;
  ~ComPtr() {
    if (p != nullptr) p->Release();
  }
  T** operator&() { return &p; }
  T* operator->() const { return p; }
};

// Decodes with WIC straight into 32-bit BGRX rows; false when the platform
// has no such codec or the bytes are no picture.
bool WicDecode(IWICImagingFactory* factory, const std::string& bytes, std::vector<uint32_t>& out,
               int& width, int& height) {
  ComPtr<IWICStream> stream;
  if (FAILED(factory->CreateStream(&stream)) ||
      FAILED(stream->InitializeFromMemory(reinterpret_cast<BYTE*>(const_cast<char*>(bytes.data())),
                                          static_cast<DWORD>(bytes.size())))) {
    return false;
  }
  ComPtr<IWICBitmapDecoder> decoder;
  if (FAILED(factory->CreateDecoderFromStream(stream.p, nullptr, WICDecodeMetadataCacheOnDemand,
                                              &decoder))) {
    return false;
  }
  ComPtr<IWICBitmapFrameDecode> frame;
  if (FAILED(decoder->GetFrame(0, &frame))) return false;
  ComPtr<IWICBitmapSource> converted;
  if (FAILED(WICConvertBitmapSource(GUID_WICPixelFormat32bppBGR, frame.p, &converted))) {
    return false;
  }
  UINT w = 0, h = 0;
  if (FAILED(converted->GetSize(&w, &h))) return false;
  out.resize(static_cast<size_t>(w) * h);
  width = static_cast<int>(w);
  height = static_cast<int>(h);
  return SUCCEEDED(converted->CopyPixels(nullptr, w * 4, static_cast<UINT>(out.size() * 4),
                                         reinterpret_cast<BYTE*>(out.data())));
}

// ---- The window the pictures are drawn into ----

class ViewHost : public engine::BrowserView::Host {
 public:
  void SendInput(const char*, const Json::Value&) override {}
  void ViewResized(int, int) override {}
  void ViewTick() override {}
  void ViewCloseRequested() override {}
  void ViewDestroyed() override {}
};

// The time to read the message as the engine reads the browser's, through
// a pipe of the browser's pipe's size that another thread writes it into,
// ended by its NUL.  The browser's own pipe is a FIFO reaching a native
// program, which this pipe within the process only stands for.
double ReadMs(const std::string& message) {
  return MedianMs([&message] {
    HANDLE readEnd = nullptr, writeEnd = nullptr;
    ::CreatePipe(&readEnd, &writeEnd, nullptr, 64 * 1024);
    engine::DevToolsPipe pipe(readEnd, nullptr);
    std::thread writer([&] {
      std::string whole = message;
      whole.push_back('\0');
      size_t sent = 0;
      while (sent < whole.size()) {
        DWORD wrote = 0;
        const DWORD part = static_cast<DWORD>(std::min<size_t>(whole.size() - sent, 1u << 20));
        if (!::WriteFile(writeEnd, whole.data() + sent, part, &wrote, nullptr)) break;
        sent += wrote;
      }
      ::CloseHandle(writeEnd);
    });
    std::string received;
    pipe.Receive(received);
    writer.join();
  });
}

struct Sample {
  const char* name;  // figure name: "<format>_<width>x<height>"
  std::string message;
  bool isEvent;  // a screencast frame (params.data) or an answer (result.data)
};

void Measure(const Sample& sample, IWICImagingFactory* wic, HWND parent) {
  const std::string& message = sample.message;
  std::unique_ptr<Json::CharReader> parser(Json::CharReaderBuilder().newCharReader());
  Json::Value parsed;
  std::string problem;
  parser->parse(message.data(), message.data() + message.size(), &parsed, &problem);
  const Json::Value& data = parsed[sample.isEvent ? "params" : "result"]["data"];
  const std::string base64 = data.asString();
  std::string bytes;
  if (!engine::DecodeBase64(base64, bytes) || bytes.empty()) {
    std::printf("picture_%s: the browser's picture did not decode\n", sample.name);
    return;
  }
  int width = 0, height = 0;
  {
    stbi_uc* probe = OldDecodeImage(bytes, width, height);
    stbi_image_free(probe);
  }
  std::printf("picture_%s: %dx%d, %.0f KB picture, %.0f KB message\n", sample.name, width, height,
              bytes.size() / 1024.0, message.size() / 1024.0);

  const double read = ReadMs(message);
  const double parse = MedianMs([&] {
    Json::Value value;
    std::string why;
    parser->parse(message.data(), message.data() + message.size(), &value, &why);
  });
  const Pair text = CompareMs(
      [&] {
        const char* begin = nullptr;
        const char* end = nullptr;
        data.getString(&begin, &end);
      },
      [&] { std::string copy = data.asString(); });
  std::string scratch;
  const Pair base64Stage = CompareMs([&] { engine::DecodeBase64(base64, scratch); },
                                     [&] { OldDecodeBase64(base64, scratch); });
  const double stbImage = MedianMs([&] {
    int w = 0, h = 0;
    stbi_image_free(OldDecodeImage(bytes, w, h));
  });
  stbi_uc* rgba = OldDecodeImage(bytes, width, height);
  const Pair convert = CompareMs(
      [&] {
        engine::SwapRedAndBlue(reinterpret_cast<uint32_t*>(rgba),
                               static_cast<size_t>(width) * static_cast<size_t>(height));
      },
      [&] {
        OldPicture fresh;
        OldConvert(rgba, width, height, fresh);
      });
  stbi_image_free(rgba);
  double wicImage = 0;
  if (wic != nullptr) {
    std::vector<uint32_t> out;
    int w = 0, h = 0;
    if (WicDecode(wic, bytes, out, w, h)) {
      wicImage = MedianMs([&] {
        std::vector<uint32_t> fresh;
        WicDecode(wic, bytes, fresh, w, h);
      });
    }
  }
  const Pair whole = CompareMs(
      [&] {
        engine::FramePicture fresh;
        const char* begin = nullptr;
        const char* end = nullptr;
        data.getString(&begin, &end);
        engine::DecodeFramePicture(begin, static_cast<size_t>(end - begin), fresh);
      },
      [&] {
        OldPicture fresh;
        OldDecodeFramePicture(data.asString(), fresh);
      });

  // The engine's own window, its picture drawn by its own painting.
  ViewHost host;
  engine::BrowserView view(host);
  engine::BrowserView::Placement placement;
  placement.parent = parent;
  placement.style = WS_VISIBLE;
  placement.width = width;
  placement.height = height;
  double blit = 0;
  if (view.Create(placement)) {
    auto picture = std::make_shared<engine::FramePicture>();
    engine::DecodeFramePicture(base64, *picture);
    view.ShowPicture(picture);
    blit = MedianMs([&] {
      ::InvalidateRect(view.Window(), nullptr, FALSE);
      ::UpdateWindow(view.Window());
      ::GdiFlush();
    });
    view.Destroy();
  }

  // A moving picture at 150 % comes at one pixel per CSS pixel, and the
  // view stretches it to the window (see BrowserView): the stretch alone,
  // as the view makes it now, and as the system's smooth and its nearest
  // pixel stretch make it into a bitmap of the window's size.
  double stretch = 0;
  double stretchFresh = 0;
  double stretchBefore = 0;
  double stretchNearest = 0;
  if (std::strstr(sample.name, "1920x1200") != nullptr && width == 1280) {
    engine::FramePicture picture;
    engine::DecodeFramePicture(base64, picture);
    BITMAPINFO target = {};
    target.bmiHeader.biSize = sizeof(target.bmiHeader);
    target.bmiHeader.biWidth = 1920;
    target.bmiHeader.biHeight = -1200;
    target.bmiHeader.biPlanes = 1;
    target.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    HBITMAP bitmap = ::CreateDIBSection(nullptr, &target, DIB_RGB_COLORS, &bits, nullptr, 0);
    HDC dc = ::CreateCompatibleDC(nullptr);
    HGDIOBJ old = ::SelectObject(dc, bitmap);
    BITMAPINFO source = target;
    source.bmiHeader.biWidth = width;
    source.bmiHeader.biHeight = -height;
    const auto stretchWith = [&](int mode) {
      ::SetStretchBltMode(dc, mode);
      ::StretchDIBits(dc, 0, 0, 1920, 1200, 0, 0, width, height, picture.pixels.data(), &source,
                      DIB_RGB_COLORS, SRCCOPY);
      ::GdiFlush();
    };
    engine::FramePicture scaled;
    const Pair smooth = CompareMs([&] { engine::ScaleFramePicture(picture, 1920, 1200, scaled); },
                                  [&] { stretchWith(HALFTONE); }, 7);
    stretch = smooth.after;
    stretchBefore = smooth.before;
    stretchNearest = MedianMs([&] { stretchWith(COLORONCOLOR); });
    stretchFresh = MedianMs([&] {
      engine::FramePicture fresh;
      engine::ScaleFramePicture(picture, 1920, 1200, fresh);
    });
    ::SelectObject(dc, old);
    ::DeleteDC(dc);
    ::DeleteObject(bitmap);
  }

  const char* n = sample.name;
  std::printf("picture_%s_read_from_pipe: %.2f ms\n", n, read);
  std::printf("picture_%s_json_parse: %.2f ms\n", n, parse);
  std::printf("picture_%s_data_text: %.3f ms (before, a copy: %.3f ms)\n", n, text.after,
              text.before);
  std::printf("picture_%s_base64: %.2f ms (before: %.2f ms)\n", n, base64Stage.after,
              base64Stage.before);
  std::printf(
      "picture_%s_image_decode: %.2f ms, stb_image (the platform's WIC, to BGRX: %.2f ms)\n", n,
      stbImage, wicImage);
  std::printf("picture_%s_convert: %.2f ms, in place (before, into a new buffer: %.2f ms)\n", n,
              convert.after, convert.before);
  std::printf("picture_%s_decode_whole: %.2f ms (before: %.2f ms)\n", n, whole.after, whole.before);
  std::printf("picture_%s_paint: %.2f ms\n", n, blit);
  if (stretch > 0) {
    std::printf(
        "picture_%s_stretch_to_window: %.2f ms, %.2f ms into new memory (before, the system's "
        "smooth stretch: %.2f ms; its nearest pixel: %.2f ms)\n",
        n, stretch, stretchFresh, stretchBefore, stretchNearest);
  }
}

void Keep(const std::wstring& folder, const std::wstring& name, const Sample& sample) {
  Json::Value parsed;
  Json::Reader().parse(sample.message, parsed);
  std::string bytes;
  engine::DecodeBase64(parsed[sample.isEvent ? "params" : "result"]["data"].asString(), bytes);
  const std::wstring path = folder + L"\\" + name;
  HANDLE file = ::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return;
  DWORD wrote = 0;
  ::WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &wrote, nullptr);
  ::CloseHandle(file);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  std::wstring keep;
  for (int i = 1; i + 1 < argc; ++i) {
    if (std::wstring(argv[i]) == L"--keep") keep = argv[i + 1];
  }
  wchar_t temp[MAX_PATH];
  ::GetTempPathW(MAX_PATH, temp);
  const std::wstring profile =
      std::wstring(temp) + L"talmic-picture-bench-" + std::to_wstring(::GetCurrentProcessId());

  std::vector<Sample> samples;
  std::vector<std::pair<std::string, double>> roundTrips;
  {
    Browser browser;
    if (!browser.Start(profile)) {
      std::printf("picture: could not start the browser program\n");
      return 1;
    }
    struct Size {
      const char* name;
      double scale;
    };
    for (const Size& size : {Size{"1280x800", 1.0}, Size{"1920x1200", 1.5}}) {
      if (!browser.Open(1280, 800, size.scale)) continue;
      ::Sleep(300);
      samples.push_back({nullptr, browser.ScreencastFrame(90), true});
      samples.back().name = size.scale == 1.0 ? "jpeg90_1280x800" : "jpeg90_1920x1200";
      samples.push_back(
          {nullptr, browser.Screenshot("{\"format\":\"png\",\"optimizeForSpeed\":true}"), false});
      samples.back().name = size.scale == 1.0 ? "png_1280x800" : "png_1920x1200";
      // What a cheaper picture would save in the browser program: its
      // round trip for a screenshot of each kind, encoding included.
      for (const char* kind : {"jpeg\",\"quality\":90", "jpeg\",\"quality\":75",
                               "jpeg\",\"quality\":50", "png\",\"optimizeForSpeed\":true"}) {
        const std::string params = std::string("{\"format\":\"") + kind + "}";
        const double ms = MedianMs([&] { browser.Screenshot(params); }, 7);
        std::string name = std::string(kind);
        name = name.substr(0, name.find('"')) + (name.find("quality") != std::string::npos
                                                     ? name.substr(name.rfind(':') + 1)
                                                     : std::string());
        roundTrips.emplace_back(name + "_" + size.name, ms);
      }
      if (size.scale == 1.0) {
        for (const int quality : {75, 50}) {
          samples.push_back({nullptr, browser.ScreencastFrame(quality), true});
          samples.back().name = quality == 75 ? "jpeg75_1280x800" : "jpeg50_1280x800";
        }
      }
    }
    if (!keep.empty() && browser.Open(64, 48, 1.0, kQuartersPage)) {
      ::Sleep(300);
      Keep(keep, L"quarters.jpg", {"quarters", browser.ScreencastFrame(90), true});
      Keep(keep, L"quarters.png",
           {"quarters", browser.Screenshot("{\"format\":\"png\",\"optimizeForSpeed\":true}"),
            false});
    }
  }

  ::CoInitializeEx(nullptr, COINIT_MULTITHREADED);
  IWICImagingFactory* wic = nullptr;
  if (FAILED(::CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER,
                                IID_PPV_ARGS(&wic)))) {
    wic = nullptr;
  }
  HWND parent = MakeBenchWindow(WS_POPUP, 1920, 1200);
  for (const Sample& sample : samples) {
    if (sample.message.empty()) {
      std::printf("picture_%s: the browser program sent no picture\n", sample.name);
      continue;
    }
    Measure(sample, wic, parent);
    if (!keep.empty()) {
      const std::string name = sample.name;
      Keep(keep, std::wstring(name.begin(), name.end()) + (sample.isEvent ? L".jpg" : L".png"),
           sample);
    }
  }
  for (const auto& trip : roundTrips) {
    std::printf("screenshot_round_trip_%s: %.1f ms\n", trip.first.c_str(), trip.second);
  }
  ::DestroyWindow(parent);
  if (wic != nullptr) wic->Release();
  ::CoUninitialize();
  return 0;
}
