// From a skin file to the first painted frame of its window, phase by
// phase, for generated skins of 100, 1,000 and 10,000 controls: nested
// layouts holding labels and buttons with texts and colours.
//
// The phases are the ones the window's creation runs through: reading the
// file, parsing it, building the controls (their attributes applied as
// they are made), attaching the tree to the paint manager, and the first
// paint with the first layout it runs.  Building is measured twice, on the skin and
// on the same skin without attributes; the difference is what applying
// the attributes costs.  A last figure runs the whole path the way a
// window does, through the builder's own file reading, as a check on the
// sum.
//
// Once the window is up, the layout pass and the full repaint are timed
// again on their own, as every resize and every change of the whole
// window runs them, and the memory the tree holds is given per control,
// beside the floor any window of this size pays: one copy of its frame.
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "tests/support/TempFolder.h"
#include "tests/toolkit/core/SkinTestWindow.h"
#include "toolkit/controls/ControlUI.h"
#include "toolkit/controls/DialogBuilder.h"
#include "toolkit/controls/IContainerUI.h"
#include "toolkit/core/PaintManagerUI.h"
#include "toolkit/core/ResourceBuffer.h"
#include "toolkit/core/ResourceReader.h"

namespace {

using Clock = std::chrono::steady_clock;
constexpr int kRuns = 7;
// Repeated passes over one finished window.
constexpr int kPasses = 10;
constexpr int kWindowWidth = 1024;
constexpr int kWindowHeight = 768;

double Milliseconds(Clock::time_point from, Clock::time_point to) {
  return std::chrono::duration<double, std::milli>(to - from).count();
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

std::string Utf8(const std::wstring& text) {
  const int n = ::WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()),
                                      nullptr, 0, nullptr, nullptr);
  std::string out(static_cast<size_t>(n), '\0');
  ::WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), out.data(), n,
                        nullptr, nullptr);
  return out;
}

// Ten controls: a row holding three labels, three buttons and a column of
// a label and a button.  Without attributes the same elements stand bare.
std::wstring Row(int n, bool attributes) {
  if (!attributes) {
    return L"<HorizontalLayout><Label /><Label /><Label /><Button /><Button /><Button />"
           L"<VerticalLayout><Label /><Button /></VerticalLayout></HorizontalLayout>\n";
  }
  const std::wstring id = std::to_wstring(n);
  std::wstring s = L"<HorizontalLayout name=\"row_" + id +
                   L"\" height=\"24\" childpadding=\"4\" bkcolor=\"#FFF8F8F8\" "
                   L"inset=\"2,2,2,2\">";
  for (int i = 0; i < 3; ++i) {
    s += L"<Label name=\"label_" + id + L"_" + std::to_wstring(i) +
         L"\" width=\"120\" text=\"\x8D26\x53F7 " + id +
         L"\" textcolor=\"#FF333333\" bkcolor=\"#FFE8EEF4\" align=\"left\" "
         L"textpadding=\"4,0,4,0\" />";
  }
  for (int i = 0; i < 3; ++i) {
    s += L"<Button name=\"button_" + id + L"_" + std::to_wstring(i) +
         L"\" width=\"80\" text=\"\x786E\x5B9A\" tooltip=\"OK " + id +
         L"\" textcolor=\"#FF000000\" hottextcolor=\"#FF2050A0\" bkcolor=\"#FFDDE4EE\" "
         L"hotbkcolor=\"#FFC8D4E8\" bordercolor=\"#FF8090A0\" bordersize=\"1\" />";
  }
  s += L"<VerticalLayout width=\"160\"><Label text=\"Talmic " + id +
       L"\" textcolor=\"#FF606060\" height=\"10\" /><Button text=\"&gt; " + id +
       L"\" textcolor=\"#FF000000\" bkcolor=\"#FFEEEEEE\" /></VerticalLayout>";
  s += L"</HorizontalLayout>\n";
  return s;
}

// A window of about `controls` controls: the root column and rows of ten.
std::string Skin(int controls, bool attributes) {
  std::wstring s = L"<?xml version=\"1.0\" encoding=\"utf-8\"?>\n";
  if (attributes) {
    s += L"<Window size=\"1024,768\" caption=\"0,0,0,32\" mininfo=\"400,300\">\n"
         L"<Font name=\"Tahoma\" size=\"13\" default=\"true\" />\n"
         L"<VerticalLayout bkcolor=\"#FFFFFFFF\" inset=\"4,4,4,4\" childpadding=\"2\">\n";
  } else {
    s += L"<Window>\n<VerticalLayout>\n";
  }
  for (int row = 0; row < controls / 10; ++row) s += Row(row, attributes);
  s += L"</VerticalLayout>\n</Window>\n";
  return Utf8(s);
}

struct Phases {
  std::vector<double> read, parse, build, bareBuild, attach, paint, total, endToEnd;
  std::vector<double> layoutAndPaint, fullPaint, treeBytes;
};

// The bytes of every block in use on the process's heaps.  (The counters
// of committed memory stay still under Wine, so the heaps are walked.)
double HeapBytes() {
  HANDLE heaps[256];
  const DWORD count = ::GetProcessHeaps(256, heaps);
  double bytes = 0;
  for (DWORD i = 0; i < count && i < 256; ++i) {
    if (!::HeapLock(heaps[i])) continue;
    PROCESS_HEAP_ENTRY entry = {};
    while (::HeapWalk(heaps[i], &entry)) {
      if ((entry.wFlags & PROCESS_HEAP_ENTRY_BUSY) != 0) bytes += entry.cbData;
    }
    ::HeapUnlock(heaps[i]);
  }
  return bytes;
}

// The test window is shown without being activated, so that tests do not
// take the focus from each other; a program's window is active by the
// time it first paints.  The first paint moves the focus to the first tab
// stop, which for a window without the focus is an activation by the
// window system, several milliseconds under Wine that belong to showing
// the window, not to the skin.
void Activate(test::SkinTestWindow& window) {
  ::SetForegroundWindow(window.Get());
  ::SetFocus(window.Get());
  window.Pump();
}

// One window from the skin, phase by phase; false when a step failed.
bool MeasureOnce(const std::wstring& fileName, const std::string& bareSkin, Phases& phases,
                 int& controls) {
  test::SkinTestWindow window(kWindowWidth, kWindowHeight);
  if (window.Get() == nullptr) return false;
  SkinUI::CPaintManagerUI& manager = window.Manager();
  Activate(window);

  const double memoryBefore = HeapBytes();
  const auto start = Clock::now();
  SkinUI::CResourceBuffer bytes;
  if (!SkinUI::CResourceReader::Read(fileName.c_str(), nullptr, bytes)) return false;
  const auto read = Clock::now();
  SkinUI::CDialogBuilder builder;
  if (!builder.GetMarkup()->LoadFromMem(bytes.GetData(), bytes.GetSize())) return false;
  const auto parsed = Clock::now();
  SkinUI::CControlUI* root = builder.Create(nullptr, &manager);
  const auto built = Clock::now();
  if (root == nullptr) return false;
  manager.AttachDialog(root);
  const auto attached = Clock::now();
  // The first layout runs inside the first paint, as in every window.
  ::InvalidateRect(window.Get(), nullptr, FALSE);
  ::UpdateWindow(window.Get());
  ::GdiFlush();
  const auto painted = Clock::now();

  phases.read.push_back(Milliseconds(start, read));
  phases.parse.push_back(Milliseconds(read, parsed));
  phases.build.push_back(Milliseconds(parsed, built));
  phases.attach.push_back(Milliseconds(built, attached));
  phases.paint.push_back(Milliseconds(attached, painted));
  phases.total.push_back(Milliseconds(start, painted));
  // The tree, with the file's bytes and the parsed document, which are
  // still held as they are while a window is being created.
  phases.treeBytes.push_back(HeapBytes() - memoryBefore);

  // A layout pass runs where a resize runs it: in the paint that follows.
  for (int pass = 0; pass < kPasses; ++pass) {
    const auto passStart = Clock::now();
    root->NeedUpdate();
    ::InvalidateRect(window.Get(), nullptr, FALSE);
    ::UpdateWindow(window.Get());
    ::GdiFlush();
    const auto passLaidOut = Clock::now();
    ::InvalidateRect(window.Get(), nullptr, FALSE);
    ::UpdateWindow(window.Get());
    ::GdiFlush();
    const auto passPainted = Clock::now();
    phases.layoutAndPaint.push_back(Milliseconds(passStart, passLaidOut));
    phases.fullPaint.push_back(Milliseconds(passLaidOut, passPainted));
  }

  controls = 0;
  std::vector<SkinUI::CControlUI*> pending = {root};
  while (!pending.empty()) {
    SkinUI::CControlUI* control = pending.back();
    pending.pop_back();
    ++controls;
    auto* container = static_cast<SkinUI::IContainerUI*>(control->GetInterface(L"IContainer"));
    if (container == nullptr) continue;
    for (int i = 0; i < container->GetCount(); ++i) pending.push_back(container->GetItemAt(i));
  }

  // The same elements without attributes, built into a manager of their
  // own that no window shows.
  {
    SkinUI::CDialogBuilder bare;
    SkinUI::CPaintManagerUI bareManager;
    if (!bare.GetMarkup()->LoadFromMem(reinterpret_cast<const unsigned char*>(bareSkin.data()),
                                       bareSkin.size())) {
      return false;
    }
    const auto begin = Clock::now();
    SkinUI::CControlUI* bareRoot = bare.Create(nullptr, &bareManager);
    phases.bareBuild.push_back(Milliseconds(begin, Clock::now()));
    if (bareRoot == nullptr) return false;
    bareManager.AttachDialog(bareRoot);
  }
  window.Pump();
  return true;
}

// The path a window takes: the builder reads the file itself.
bool MeasureEndToEnd(const std::wstring& fileName, Phases& phases) {
  test::SkinTestWindow window(kWindowWidth, kWindowHeight);
  if (window.Get() == nullptr) return false;
  SkinUI::CPaintManagerUI& manager = window.Manager();
  Activate(window);
  const auto start = Clock::now();
  SkinUI::CDialogBuilder builder;
  SkinUI::CControlUI* root = builder.Create(fileName.c_str(), nullptr, nullptr, &manager);
  if (root == nullptr) return false;
  manager.AttachDialog(root);
  ::InvalidateRect(window.Get(), nullptr, FALSE);
  ::UpdateWindow(window.Get());
  ::GdiFlush();
  phases.endToEnd.push_back(Milliseconds(start, Clock::now()));
  window.Pump();
  return true;
}

// The floor of a first frame: a plain window of the same size whose first
// paint fills it with one colour through GDI.  What a new window costs the
// window system before any control is drawn is in it.
LRESULT CALLBACK PlainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message != WM_PAINT) return ::DefWindowProcW(window, message, wParam, lParam);
  PAINTSTRUCT paint = {};
  HDC dc = ::BeginPaint(window, &paint);
  ::FillRect(dc, &paint.rcPaint, static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH)));
  ::EndPaint(window, &paint);
  return 0;
}

double PlainFirstPaint() {
  WNDCLASSW windowClass = {};
  windowClass.lpfnWndProc = PlainWindowProc;
  windowClass.hInstance = ::GetModuleHandleW(nullptr);
  windowClass.lpszClassName = L"SkinBenchPlainWindow";
  ::RegisterClassW(&windowClass);
  std::vector<double> times;
  for (int run = 0; run < kRuns; ++run) {
    HWND window = ::CreateWindowExW(0, windowClass.lpszClassName, L"plain", WS_POPUP | WS_VISIBLE,
                                    40, 40, kWindowWidth, kWindowHeight, nullptr, nullptr,
                                    windowClass.hInstance, nullptr);
    if (window == nullptr) return 0;
    const auto start = Clock::now();
    ::InvalidateRect(window, nullptr, FALSE);
    ::UpdateWindow(window);
    ::GdiFlush();
    times.push_back(Milliseconds(start, Clock::now()));
    ::DestroyWindow(window);
  }
  return Median(times);
}

}  // namespace

int main() {
  test::TempFolder folder;
  SkinUI::CPaintManagerUI::SetInstance(::GetModuleHandleW(nullptr));
  SkinUI::CPaintManagerUI::SetResourcePath(folder.Path().c_str());

  std::printf("skin_plain_window_first_paint: %.2f ms (the floor of a first frame)\n",
              PlainFirstPaint());
  const int sizes[] = {100, 1000, 10000};
  double perControlAtSmallest = 0;
  for (int size : sizes) {
    const std::wstring fileName = L"bench_" + std::to_wstring(size) + L".xml";
    const std::string skin = Skin(size, true);
    if (!test::WriteFileBytes(folder / fileName, skin)) {
      std::printf("skin_%d: cannot write the skin file\n", size);
      return 1;
    }
    const std::string bareSkin = Skin(size, false);

    Phases phases;
    int controls = 0;
    for (int run = 0; run < kRuns; ++run) {
      if (!MeasureOnce(fileName, bareSkin, phases, controls) ||
          !MeasureEndToEnd(fileName, phases)) {
        std::printf("skin_%d: the window could not be built\n", size);
        return 1;
      }
    }
    const double build = Median(phases.build);
    const double bareBuild = Median(phases.bareBuild);
    const double total = Median(phases.total);
    std::printf("skin_%d_controls: %d controls, %zu bytes\n", size, controls, skin.size());
    std::printf("skin_%d_read: %.2f ms\n", size, Median(phases.read));
    std::printf("skin_%d_parse: %.2f ms\n", size, Median(phases.parse));
    std::printf(
        "skin_%d_build: %.2f ms (of which creating the bare controls: %.2f ms, applying "
        "attributes: %.2f ms)\n",
        size, build, bareBuild, std::max(0.0, build - bareBuild));
    std::printf("skin_%d_attach: %.2f ms\n", size, Median(phases.attach));
    std::printf("skin_%d_first_layout_and_paint: %.2f ms\n", size, Median(phases.paint));
    std::printf(
        "skin_%d_file_to_first_frame: %.2f ms (through the builder's own reading: %.2f "
        "ms)\n",
        size, total, Median(phases.endToEnd));
    const double perControl = total * 1000.0 / controls;
    if (perControlAtSmallest == 0) perControlAtSmallest = perControl;
    std::printf("skin_%d_per_control: %.2f us (growth against the smallest skin: %.2fx)\n", size,
                perControl, perControl / perControlAtSmallest);
    std::printf("skin_%d_full_paint: %.2f ms\n", size, Median(phases.fullPaint));
    std::printf(
        "skin_%d_layout_and_paint: %.2f ms (layout pass %.2f ms; target for 1,000 controls: "
        "under 16 ms)\n",
        size, Median(phases.layoutAndPaint),
        std::max(0.0, Median(phases.layoutAndPaint) - Median(phases.fullPaint)));
    const double frameBytes = 4.0 * kWindowWidth * kWindowHeight;
    std::printf(
        "skin_%d_memory: %.0f bytes per control on the heap (%.0f KiB in all; floor: one "
        "%dx%d frame, %.0f KiB)\n",
        size, Median(phases.treeBytes) / controls, Median(phases.treeBytes) / 1024.0, kWindowWidth,
        kWindowHeight, frameBytes / 1024.0);
  }
  std::fflush(stdout);
  return 0;
}
