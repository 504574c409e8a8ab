// The shipped Talmic.exe with its main window and the real browser engine,
// judged from outside: which windows it shows and where, what the screen
// shows of them, which messages end it, the engine's browser program, the
// cache folder and the new instance a relaunch starts.
//
// Every run starts a browser program, which takes seconds, so each run
// checks a whole sequence of things.  Where the test needs to know where a
// control of the skin lies, it builds the same window from the same skin in
// this process and asks it.

#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <functional>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "app/AppConfig.h"
#include "browser/BrowserWindowMessages.h"
#include "browser/SentWindowText.h"
#include "tests/support/MessagePump.h"
#include "tests/support/NativeProcesses.h"
#include "tests/support/PageServer.h"
#include "tests/support/ProgramFolder.h"
#include "tests/support/ScopedShellFolder.h"
#include "tests/support/ScriptedHttpServer.h"
#include "tests/support/TempFolder.h"
#include "tests/support/TestEnvironment.h"
#include "tests/support/TestProcess.h"
#include "tests/support/WindowProbe.h"
#include "toolkit/controls/ControlUI.h"
#include "toolkit/core/PaintManagerUI.h"
#include "update/UpdateCheck.h"
#include "util/FileUtil.h"
#include "util/TextUtil.h"
#include "util/UniqueHandle.h"
#include "windows/BrowserWnd.h"
#include "windows/MessageBoxWnd.h"

namespace {

using SkinUI::CPaintManagerUI;

constexpr DWORD kStartTimeoutMs = 90000;
constexpr DWORD kExitTimeoutMs = 30000;

// ---- Looking at the program ----

RECT WindowRect(HWND hWnd) {
  RECT rc = {};
  ::GetWindowRect(hWnd, &rc);
  return rc;
}

RECT ClientRect(HWND hWnd) {
  RECT rc = {};
  ::GetClientRect(hWnd, &rc);
  return rc;
}

RECT ChildRect(HWND child) {
  RECT rc = WindowRect(child);
  ::MapWindowPoints(nullptr, ::GetParent(child), reinterpret_cast<POINT*>(&rc), 2);
  return rc;
}

RECT WorkArea(HWND hWnd) {
  MONITORINFO monitor = {};
  monitor.cbSize = sizeof(monitor);
  ::GetMonitorInfoW(::MonitorFromWindow(hWnd, MONITOR_DEFAULTTONEAREST), &monitor);
  return monitor.rcWork;
}

std::string Describe(const RECT& rc) {
  return "(" + std::to_string(rc.left) + ", " + std::to_string(rc.top) + ", " +
         std::to_string(rc.right) + ", " + std::to_string(rc.bottom) + ")";
}

// The browser's own window: the main window's child.
HWND BrowserChildOf(HWND main) { return ::GetWindow(main, GW_CHILD); }

// The visible windows of a class that a process shows.
std::vector<HWND> WindowsOfClass(DWORD processId, const wchar_t* className) {
  std::vector<HWND> found;
  for (HWND hWnd : test::TopLevelWindowsOf(processId, true)) {
    wchar_t name[64] = {};
    ::GetClassNameW(hWnd, name, 64);
    if (std::wstring(name) == className) found.push_back(hWnd);
  }
  return found;
}

BOOL CALLBACK CollectWindow(HWND hWnd, LPARAM list) {
  reinterpret_cast<std::vector<HWND>*>(list)->push_back(hWnd);
  return TRUE;
}

std::vector<HWND> AllTopLevelWindows() {
  std::vector<HWND> windows;
  ::EnumWindows(&CollectWindow, reinterpret_cast<LPARAM>(&windows));
  return windows;
}

// Waits, keeping this thread's own windows answered.
bool WaitFor(const std::function<bool()>& condition, DWORD timeoutMs) {
  return test::WaitUntil(condition, timeoutMs);
}

// What the screen shows of a client rectangle of a window, 0x00RRGGBB.
std::vector<uint32_t> ScreenPixels(HWND hWnd, const RECT& client) {
  RECT rc = client;
  ::MapWindowPoints(hWnd, nullptr, reinterpret_cast<POINT*>(&rc), 2);
  std::vector<uint32_t> pixels;
  CWindowDc screen(nullptr);
  for (int y = rc.top; y < rc.bottom; ++y) {
    for (int x = rc.left; x < rc.right; ++x) {
      const COLORREF c = ::GetPixel(screen.Get(), x, y);
      pixels.push_back((static_cast<uint32_t>(GetRValue(c)) << 16) |
                       (static_cast<uint32_t>(GetGValue(c)) << 8) | GetBValue(c));
    }
  }
  return pixels;
}

uint32_t ScreenPixel(HWND hWnd, int x, int y) {
  return ScreenPixels(hWnd, RECT{x, y, x + 1, y + 1}).front();
}

// How many pixels differ by more than `tolerance` in some channel.
size_t CountDifferent(const std::vector<uint32_t>& a, const std::vector<uint32_t>& b,
                      int tolerance) {
  size_t different = 0;
  for (size_t i = 0; i < a.size() && i < b.size(); ++i) {
    for (int shift : {0, 8, 16}) {
      const int ca = static_cast<int>((a[i] >> shift) & 0xFF);
      const int cb = static_cast<int>((b[i] >> shift) & 0xFF);
      if (std::abs(ca - cb) > tolerance) {
        ++different;
        break;
      }
    }
  }
  return different + (a.size() > b.size() ? a.size() - b.size() : b.size() - a.size());
}

void PostClick(HWND hWnd, const RECT& rc) {
  const LPARAM at = MAKELPARAM((rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2);
  ::PostMessageW(hWnd, WM_MOUSEMOVE, 0, at);
  ::PostMessageW(hWnd, WM_LBUTTONDOWN, MK_LBUTTON, at);
  ::PostMessageW(hWnd, WM_LBUTTONUP, 0, at);
}

// ---- The engine's browser program ----
//
// The browser program is a native program of the machine, started by the
// engine; the test finds it in the system's process list (drive Z: is the
// machine's own file system).  It inherits the program's environment, so
// each run gives its program a variable of its own and knows its browser
// program by it, whatever else runs on the machine.

std::string ReadWholeFile(const std::wstring& path) { return test::ReadFileBytes(path); }

constexpr wchar_t kRunVariable[] = L"TALMIC_TEST_RUN";

// The ids of the running browser programs (not their helper processes)
// whose environment holds TALMIC_TEST_RUN=<tag>.
std::set<int> EngineProcesses(const std::string& tag) {
  std::set<int> ids;
  const std::string variable = "TALMIC_TEST_RUN=" + tag;
  WIN32_FIND_DATAW entry;
  const HANDLE listing = ::FindFirstFileW(L"Z:\\proc\\*", &entry);
  if (listing == INVALID_HANDLE_VALUE) return ids;
  do {
    const int id = _wtoi(entry.cFileName);
    if (id <= 0) continue;
    const std::wstring folder = L"Z:\\proc\\" + std::to_wstring(id);
    std::string commandLine = ReadWholeFile(folder + L"\\cmdline");
    // The shell that starts the browser program, and that shell's short-lived
    // watcher, carry the browser's command line among their arguments; they
    // are not the browser program (the shell becomes it by exec).
    const std::string program = commandLine.substr(0, commandLine.find('\0'));
    if (program.size() >= 3 && program.compare(program.size() - 3, 3, "/sh") == 0) continue;
    std::replace(commandLine.begin(), commandLine.end(), '\0', ' ');
    if (commandLine.find("--remote-debugging-pipe") == std::string::npos) continue;
    if (commandLine.find("--type=") != std::string::npos) continue;
    const std::string environment = '\0' + ReadWholeFile(folder + L"\\environ");
    if (environment.find('\0' + variable + '\0') == std::string::npos) continue;
    ids.insert(id);
  } while (::FindNextFileW(listing, &entry));
  ::FindClose(listing);
  return ids;
}

::testing::AssertionResult AllEnded(const std::set<int>& ids) {
  const bool ended = WaitFor(
      [&] {
        return std::none_of(ids.begin(), ids.end(),
                            [](int id) { return test::NativeProcessRuns(id); });
      },
      15000);
  if (ended) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << "a browser program of the run is still running";
}

// ---- The skin's layout, from the same window built here ----

class SkinReference {
 public:
  SkinReference() {
    CPaintManagerUI::SetInstance(::GetModuleHandleW(nullptr));
    CPaintManagerUI::SetResourcePath(test::InDist(L"skin").c_str());
  }
  ~SkinReference() { CPaintManagerUI::SetResourcePath(L""); }

  // The main window at the given client size, optionally with its title
  // panel hidden; `use` looks at it while it is on screen at (0, 0).
  void WithMainWindow(SIZE size, bool titleHidden,
                      const std::function<void(HWND, CBrowserWnd&)>& use) {
    auto* wnd = new CBrowserWnd;  // deletes itself with its window
    const HWND hWnd = wnd->Create(nullptr, L"reference", WS_POPUP | WS_VISIBLE, 0, 0, 0, size.cx,
                                  size.cy, nullptr);
    ASSERT_NE(hWnd, nullptr);
    ::SetWindowPos(hWnd, HWND_TOPMOST, 0, 0, size.cx, size.cy, SWP_SHOWWINDOW);
    if (titleHidden) wnd->GetTitlePanel()->SetVisible(false);
    Settle(hWnd);
    use(hWnd, *wnd);
    ::DestroyWindow(hWnd);
    g_hMainWnd = nullptr;
  }

  RECT ControlRect(SIZE size, bool titleHidden, const wchar_t* name) {
    RECT rc = {};
    WithMainWindow(size, titleHidden, [&](HWND, CBrowserWnd& wnd) {
      if (SkinUI::CControlUI* control = wnd.GetPaintManager().FindControl(name)) {
        rc = control->GetPos();
      }
    });
    return rc;
  }

  // Where the message box's buttons are, in its client coordinates.
  RECT BoxButton(const wchar_t* name) {
    RECT rc = {};
    auto box = std::make_unique<CMessageBoxWnd>();
    const HWND hBox = box->Create(nullptr, nullptr, WS_POPUP | WS_CLIPCHILDREN, WS_EX_TOOLWINDOW,
                                  CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT);
    if (hBox == nullptr) return rc;
    ::ShowWindow(hBox, SW_SHOWNOACTIVATE);
    Settle(hBox);
    if (SkinUI::CControlUI* control = box->GetPaintManager().FindControl(name)) {
      rc = control->GetPos();
    }
    ::DestroyWindow(hBox);
    return rc;
  }

  static void Settle(HWND hWnd) {
    ::UpdateWindow(hWnd);
    WaitFor([] { return false; }, 100);
    ::UpdateWindow(hWnd);
  }
};

// ---- A run of the program ----

class ProgramRun {
 public:
  explicit ProgramRun(const std::string& loginUrl, const std::wstring& folderName = std::wstring())
      : m_folder("[System]\r\nloginurl=" + loginUrl + "\r\n", folderName),
        m_tag(std::to_string(::GetCurrentProcessId()) + "-" + std::to_string(++s_runs)) {}

  // Starts the program with this run's tag in its environment.
  void Start() {
    ASSERT_TRUE(m_folder.IsReady());
    const std::wstring tag(m_tag.begin(), m_tag.end());
    ::SetEnvironmentVariableW(kRunVariable, tag.c_str());
    m_process = m_folder.Start();
    ::SetEnvironmentVariableW(kRunVariable, nullptr);
    ASSERT_TRUE(m_process.IsStarted());
  }

  // Starts the program and waits for its main window, maximised over the
  // work area with the browser's window in it.
  void StartAndWaitForBrowser() {
    ASSERT_NO_FATAL_FAILURE(Start());
    m_main = test::WaitForWindow(m_process, L"CBrowserWnd", kStartTimeoutMs);
    ASSERT_NE(m_main, nullptr) << "no main window; the program "
                               << (m_process.HasExited()
                                       ? "ended with " + std::to_string(*m_process.ExitCode())
                                       : std::string("still runs"));
    ASSERT_TRUE(WaitFor([&] { return ::IsZoomed(m_main) && BrowserChildOf(m_main) != nullptr; },
                        kStartTimeoutMs))
        << "the window did not maximise with its browser in it";
    m_browser = BrowserChildOf(m_main);
    m_engines = EngineProcesses(m_tag);
  }

  // Waits for the program to end and checks how it ended.
  void ExpectCleanEnd() {
    ASSERT_TRUE(m_process.WaitForExit(kExitTimeoutMs)) << "the program did not end";
    EXPECT_EQ(m_process.ExitCode(), 0u);
    EXPECT_TRUE(AllEnded(m_engines));
  }

  // Waits until the browser's window covers `expected`.
  ::testing::AssertionResult BrowserCovers(const RECT& expected) {
    RECT actual = {};
    const bool covers = WaitFor(
        [&] {
          actual = ChildRect(m_browser);
          return ::EqualRect(&actual, &expected) != FALSE;
        },
        5000);
    if (covers) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure()
           << "the browser lies at " << Describe(actual) << ", the body at " << Describe(expected);
  }

  SIZE ClientSize() const {
    const RECT rc = ClientRect(m_main);
    return SIZE{rc.right, rc.bottom};
  }

  static int s_runs;
  test::ProgramFolder m_folder;
  const std::string m_tag;
  test::TestProcess m_process;
  HWND m_main = nullptr;
  HWND m_browser = nullptr;
  std::set<int> m_engines;
};

int ProgramRun::s_runs = 0;

// The message box the program shows, once exactly one is up.
HWND WaitForOneBox(const test::TestProcess& process) {
  HWND box = nullptr;
  WaitFor([&] { return !WindowsOfClass(process.Id(), L"CMessageBoxWnd").empty(); }, 10000);
  // A second question would come right after the first.
  WaitFor([] { return false; }, 500);
  const std::vector<HWND> boxes = WindowsOfClass(process.Id(), L"CMessageBoxWnd");
  EXPECT_EQ(boxes.size(), 1u) << "the question is to be asked once";
  if (!boxes.empty()) box = boxes.front();
  return box;
}

TEST(MainWindow, OpensWithoutUpdateServerAndAnswersOutsideSenders) {
  SkinReference skin;
  // Nothing listens at the configured address: the update check fails, the
  // login page cannot load, and the program opens its window all the same.
  const std::string url =
      "http://127.0.0.1:" + std::to_string(test::ScriptedHttpServer::RefusingPort()) +
      "/app/login.jhtml";
  ProgramRun run(url);
  ASSERT_NO_FATAL_FAILURE(run.StartAndWaitForBrowser());
  HWND main = run.m_main;

  wchar_t text[64] = {};
  ::GetWindowTextW(main, text, 64);
  EXPECT_STREQ(text, L"Talmic");
  EXPECT_FALSE(run.m_engines.empty()) << "no browser program came up";

  // Maximised: the client area is the work area, the browser over "body".
  const RECT work = WorkArea(main);
  const SIZE workSize = {work.right - work.left, work.bottom - work.top};
  EXPECT_EQ(run.ClientSize().cx, workSize.cx);
  EXPECT_EQ(run.ClientSize().cy, workSize.cy);
  EXPECT_TRUE(run.BrowserCovers(skin.ControlRect(workSize, false, L"body")));

  // Restoring without a size gives the window back the skin's size.  Where
  // it goes is Wine's matter here: without a window manager on the display,
  // a window maximised over the whole screen sometimes keeps (0, 0) as its
  // place, so the centring itself is checked by the window's own tests,
  // which create and centre it the way the program does.
  ::PostMessageW(main, WM_USER_RESTORE_SIZE, 5, 0);
  // The window stops being maximised a moment before it takes its new
  // place, and this test watches from another process.
  WaitFor(
      [&] {
        const RECT now = WindowRect(main);
        return !::IsZoomed(main) && now.right - now.left != workSize.cx;
      },
      5000);
  EXPECT_FALSE(::IsZoomed(main));
  const RECT restored = WindowRect(main);
  EXPECT_EQ(restored.right - restored.left, 1100) << Describe(restored);
  EXPECT_EQ(restored.bottom - restored.top, 700) << Describe(restored);
  EXPECT_TRUE(run.BrowserCovers(skin.ControlRect(SIZE{1100, 700}, false, L"body")));

  // Tenths of the screen, centred; the browser follows every new size.
  const int cxScreen = ::GetSystemMetrics(SM_CXSCREEN);
  const int cyScreen = ::GetSystemMetrics(SM_CYSCREEN);
  struct Case {
    WPARAM wide;
    LPARAM high;
  };
  for (const Case& c : {Case{8, 9}, Case{10, 10}}) {
    SCOPED_TRACE(::testing::Message() << c.wide << " x " << c.high << " tenths");
    ::PostMessageW(main, WM_USER_RESTORE_SIZE, c.wide, c.high);
    const int cx = static_cast<int>(c.wide) * cxScreen / 10;
    const int cy = static_cast<int>(c.high) * cyScreen / 10;
    const RECT expected = {(cxScreen - cx) / 2, (cyScreen - cy) / 2, (cxScreen - cx) / 2 + cx,
                           (cyScreen - cy) / 2 + cy};
    RECT actual = {};
    EXPECT_TRUE(WaitFor(
        [&] {
          actual = WindowRect(main);
          return ::EqualRect(&actual, &expected) != FALSE;
        },
        5000))
        << Describe(actual) << " instead of " << Describe(expected);
    EXPECT_TRUE(run.BrowserCovers(skin.ControlRect(SIZE{cx, cy}, false, L"body")));
  }

  // Maximised "full": no title panel, so the body and the browser take its
  // room.
  ::PostMessageW(main, WM_USER_MAXIMIZE_FULL, 0, 0);
  ASSERT_TRUE(WaitFor([&] { return ::IsZoomed(main) != FALSE; }, 5000));
  const RECT fullBody = skin.ControlRect(run.ClientSize(), true, L"body");
  EXPECT_LT(fullBody.top, skin.ControlRect(run.ClientSize(), false, L"body").top);
  EXPECT_TRUE(run.BrowserCovers(fullBody));

  ::PostMessageW(main, WM_USER_QUIT, 0, 0);
  run.ExpectCleanEnd();
}

constexpr char kTitlePage[] = R"(<!DOCTYPE html>
<html><head><meta charset="utf-8"><title>login</title></head>
<body style="background:#f4f6f9">
<p>Welcome</p>
<script>setTitleText("你好，Talmic"); setTitleColor(255, 0, 0);</script>
</body></html>)";

TEST(MainWindow, ThePageRetitlesTheWindowAndClosingAsksFirst) {
  SkinReference skin;
  const SIZE reference = {1100, 700};
  // What the title label shows with the page's text on the red panel, and
  // with the skin's own text, drawn by the same window in this process.
  RECT label = {};
  std::vector<uint32_t> expected;
  std::vector<uint32_t> untitled;
  skin.WithMainWindow(reference, false, [&](HWND hWnd, CBrowserWnd& wnd) {
    label = wnd.GetPaintManager().FindControl(L"lab_title")->GetPos();
    ::SendMessageW(hWnd, WM_USER_TITLE_COLOR, 0xFFFF0000, 0);
    SkinReference::Settle(hWnd);
    untitled = ScreenPixels(hWnd, label);
    const CSentWindowText text("你好，Talmic");
    ::SendMessageW(hWnd, WM_USER_TITLE_TEXT, reinterpret_cast<WPARAM>(text.Text()), 0);
    SkinReference::Settle(hWnd);
    expected = ScreenPixels(hWnd, label);
  });
  const RECT noButton = skin.BoxButton(L"msg_btn_no");
  const RECT boxClose = skin.BoxButton(L"btn_close");
  const RECT yesButton = skin.BoxButton(L"msg_btn_yes");
  ASSERT_FALSE(::IsRectEmpty(&noButton));
  ASSERT_GT(CountDifferent(expected, untitled, 0), 50u) << "the reference shows no text";

  test::PageServer server;
  server.AddHtml("/app/login.jhtml", kTitlePage);
  ProgramRun run(server.Url("/app/login.jhtml"));
  ASSERT_NO_FATAL_FAILURE(run.StartAndWaitForBrowser());
  HWND main = run.m_main;
  const RECT quitControl = skin.ControlRect(run.ClientSize(), false, L"close");

  // The page's colour fills the title panel; a point no control covers
  // (right of the tab, left of the system buttons) shows it.
  const RECT tabStrip = skin.ControlRect(run.ClientSize(), false, L"tab_strip");
  const int freeX = quitControl.right + 40;
  ASSERT_LT(freeX, tabStrip.right);
  ASSERT_TRUE(WaitFor([&] { return ScreenPixel(main, freeX, 4) == 0xFF0000u; }, 30000))
      << "the title panel did not turn red";
  // The page's text, in the same font the same program draws: the label
  // is to look like the reference.  A few pixels of slack allow for font
  // smoothing that may differ between two processes.
  std::vector<uint32_t> shown;
  EXPECT_TRUE(WaitFor(
      [&] {
        shown = ScreenPixels(main, label);
        return CountDifferent(shown, expected, 32) <= shown.size() / 50;
      },
      10000))
      << CountDifferent(shown, expected, 32) << " of " << shown.size()
      << " pixels differ from the reference";
  EXPECT_GT(CountDifferent(shown, untitled, 32), 50u);

  // Another process's title texts are numbers that are no address in the
  // program: it reads none of them, lives on and keeps the page's text.
  const std::string ours = "forged";
  for (const WPARAM address :
       {WPARAM{0x10}, WPARAM{0xFFFFF000u}, reinterpret_cast<WPARAM>(ours.c_str())}) {
    DWORD_PTR answer = 0;
    ::SendMessageTimeoutW(main, WM_USER_TITLE_TEXT, address, 0, SMTO_ABORTIFHUNG, 5000, &answer);
  }
  WaitFor([] { return false; }, 500);
  ASSERT_FALSE(run.m_process.HasExited()) << "a forged title text ended the program";
  shown = ScreenPixels(main, label);
  EXPECT_LE(CountDifferent(shown, expected, 32), shown.size() / 50) << "the title changed";

  // WM_CLOSE and the system close command each ask once; "no" and the
  // box's close button leave everything running.
  struct Ask {
    const char* way;
    UINT message;
    WPARAM wParam;
    RECT answer;
  };
  for (const Ask& ask :
       {Ask{"WM_CLOSE, no", WM_CLOSE, 0, noButton},
        Ask{"SC_CLOSE, the box's close button", WM_SYSCOMMAND, SC_CLOSE, boxClose}}) {
    SCOPED_TRACE(ask.way);
    ::PostMessageW(main, ask.message, ask.wParam, 0);
    const HWND box = WaitForOneBox(run.m_process);
    ASSERT_NE(box, nullptr);
    EXPECT_FALSE(::IsWindowEnabled(main)) << "the box is modal";
    PostClick(box, ask.answer);
    EXPECT_TRUE(WaitFor([&] { return !::IsWindow(box); }, 10000));
    WaitFor([] { return false; }, 1000);
    EXPECT_TRUE(WindowsOfClass(run.m_process.Id(), L"CMessageBoxWnd").empty());
    EXPECT_FALSE(run.m_process.HasExited());
    EXPECT_TRUE(::IsWindow(main));
    EXPECT_TRUE(::IsWindowEnabled(main));
    EXPECT_TRUE(::IsWindow(run.m_browser));
    EXPECT_TRUE(std::all_of(run.m_engines.begin(), run.m_engines.end(),
                            [](int id) { return test::NativeProcessRuns(id); }));
  }

  // The "close" control asks the same question; yes ends the program.
  PostClick(main, quitControl);
  const HWND box = WaitForOneBox(run.m_process);
  ASSERT_NE(box, nullptr);
  PostClick(box, yesButton);
  run.ExpectCleanEnd();
}

// After a relaunch: the new instance, a main window of another process
// started from the same executable, comes up; it is asked to quit and ends
// cleanly, and no browser program of the run is left.
void ExpectFreshInstance(const ProgramRun& run) {
  const std::wstring executable = run.m_folder.Executable();
  DWORD freshId = 0;
  HWND fresh = nullptr;
  WaitFor(
      [&] {
        for (HWND hWnd : AllTopLevelWindows()) {
          wchar_t name[64] = {};
          ::GetClassNameW(hWnd, name, 64);
          DWORD id = 0;
          ::GetWindowThreadProcessId(hWnd, &id);
          if (std::wstring(name) != L"CBrowserWnd" || id == run.m_process.Id()) continue;
          const CKernelHandle process(::OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, id));
          wchar_t path[MAX_PATH] = {};
          DWORD length = MAX_PATH;
          if (process && ::QueryFullProcessImageNameW(process.Get(), 0, path, &length) &&
              _wcsicmp(path, executable.c_str()) == 0) {
            freshId = id;
            fresh = hWnd;
            return true;
          }
        }
        return false;
      },
      kStartTimeoutMs);
  ASSERT_NE(fresh, nullptr) << "no new instance came up";

  // The new instance was started by ours, so it is ours to end: asked to
  // quit like any instance, and ended by its handle only if it will not.
  const CKernelHandle freshProcess(::OpenProcess(
      SYNCHRONIZE | PROCESS_TERMINATE | PROCESS_QUERY_LIMITED_INFORMATION, FALSE, freshId));
  ASSERT_TRUE(freshProcess);
  WaitFor([&] { return ::IsZoomed(fresh) && BrowserChildOf(fresh) != nullptr; }, kStartTimeoutMs);
  ::PostMessageW(fresh, WM_USER_QUIT, 0, 0);
  const bool ended = ::WaitForSingleObject(freshProcess.Get(), kExitTimeoutMs) == WAIT_OBJECT_0;
  if (!ended) ::TerminateProcess(freshProcess.Get(), 1);
  EXPECT_TRUE(ended) << "the new instance did not quit";
  DWORD code = 1;
  ::GetExitCodeProcess(freshProcess.Get(), &code);
  EXPECT_EQ(code, 0u);
  // The new instance inherited the run's environment, and with it the tag
  // its own browser program carries.
  EXPECT_TRUE(AllEnded(EngineProcesses(run.m_tag)));
}

TEST(MainWindow, RelaunchEmptiesTheEnginesCacheAndStartsAFreshInstance) {
  // The account's own folders, and those of a user on a Chinese system: an
  // application-data folder and a program folder with Chinese names and
  // spaces (the cache path is then an ANSI short form that must reach the
  // engine as the same folder).
  const test::TempFolder profile;
  const std::wstring chineseAppData = profile / L"张三 的数据\\Local";
  ASSERT_TRUE(CreateDirectoryTree(chineseAppData.c_str()));
  struct Case {
    const char* name;
    bool chinese;
  };
  for (const Case& c : {Case{"the account's folders", false}, Case{"Chinese folders", true}}) {
    SCOPED_TRACE(c.name);
    std::unique_ptr<test::ScopedShellFolder> appData;
    if (c.chinese) {
      appData = std::make_unique<test::ScopedShellFolder>(L"Local AppData", chineseAppData);
      ASSERT_TRUE(appData->IsSet());
    }
    // Entries of our own in the engine's cache folder, which the relaunch
    // is to delete with everything else there.
    const std::wstring cache = AnsiToWide(GetAppDataFolder());
    ASSERT_FALSE(cache.empty());
    ::CreateDirectoryW(cache.c_str(), nullptr);
    if (c.chinese) {
      wchar_t longForm[MAX_PATH] = {};
      ::GetLongPathNameW(cache.c_str(), longForm, MAX_PATH);
      ASSERT_EQ(std::wstring(longForm).find(chineseAppData), 0u)
          << "the shell folder was not moved";
    }
    const std::wstring tag = L"relaunch-test-" + std::to_wstring(::GetCurrentProcessId());
    const std::wstring markerFolder = cache + tag;
    const std::wstring markerFile = cache + tag + L".txt";
    ::CreateDirectoryW(markerFolder.c_str(), nullptr);
    ASSERT_TRUE(test::WriteFileBytes(markerFolder + L"\\inside.txt", "cached"));
    ASSERT_TRUE(test::WriteFileBytes(markerFile, "cached"));

    const std::string url =
        "http://127.0.0.1:" + std::to_string(test::ScriptedHttpServer::RefusingPort()) + "/a/b";
    ProgramRun run(url, c.chinese ? L"测试 程序" : L"");
    ASSERT_NO_FATAL_FAILURE(run.StartAndWaitForBrowser());
    // The engine keeps its profile in that very folder (or in a folder of
    // its own inside it, should another instance hold the folder).
    const std::vector<std::wstring> cached = test::ListFolder(cache);
    EXPECT_TRUE(std::any_of(cached.begin(), cached.end(), [](const std::wstring& name) {
      return name == L"Downloads" || name.rfind(L"instance-", 0) == 0;
    })) << "the engine's profile is not in the application-data folder";

    ::PostMessageW(run.m_main, WM_USER_RELAUNCH, 0, 0);
    run.ExpectCleanEnd();
    EXPECT_EQ(::GetFileAttributesW(markerFile.c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_EQ(::GetFileAttributesW(markerFolder.c_str()), INVALID_FILE_ATTRIBUTES);

    ExpectFreshInstance(run);
  }
}

// Killed outright, the program gets no chance to shut its engine down; its
// browser program sees its private pipe close and ends by itself.
TEST(MainWindow, AKilledProgramLeavesNoBrowserProgramRunning) {
  const std::string url =
      "http://127.0.0.1:" + std::to_string(test::ScriptedHttpServer::RefusingPort()) + "/a/b";
  ProgramRun run(url);
  ASSERT_NO_FATAL_FAILURE(run.StartAndWaitForBrowser());
  ASSERT_FALSE(run.m_engines.empty()) << "the program's browser program was not found";
  run.m_process.Terminate();
  EXPECT_TRUE(AllEnded(run.m_engines));
}

// ---- Ending the program while the engine shows a dialog ----

// A page that opens one kind of the engine's dialogs, and how the program
// is asked to end while it is open.
struct DialogCase {
  const char* kind;
  const char* page;
  // The dialog comes from a page the user has clicked into (a question
  // before leaving a page is asked only then).
  bool click;
  enum Way { kQuit, kClose, kRelaunch } way;
};

constexpr char kDialogPageTail[] =
    "<style>body{margin:0;min-height:100vh;background:#eef}</style></body></html>";

const DialogCase kDialogCases[] = {
    {"an alert", "<html><body><script>onload=()=>setTimeout(()=>alert('stop here'))</script>",
     false, DialogCase::kQuit},
    {"a confirmation", "<html><body><script>onload=()=>setTimeout(()=>confirm('sure?'))</script>",
     false, DialogCase::kQuit},
    {"a prompt",
     "<html><body><script>onload=()=>setTimeout(()=>prompt('your name?','someone'))</script>",
     false, DialogCase::kQuit},
    {"a question before leaving",
     "<html><body onclick=\"location.href='/app/next.html'\"><script>"
     "onbeforeunload=e=>{e.preventDefault();e.returnValue='stay?';}</script>",
     true, DialogCase::kQuit},
    {"a download's save dialog",
     "<html><body><script>onload=()=>setTimeout(()=>location.href='/app/report.bin')</script>",
     false, DialogCase::kQuit},
    {"a confirmation, closed",
     "<html><body><script>onload=()=>setTimeout(()=>confirm('sure?'))</script>", false,
     DialogCase::kClose},
    {"an alert, relaunched",
     "<html><body><script>onload=()=>setTimeout(()=>alert('stop here'))</script>", false,
     DialogCase::kRelaunch},
    {"a download's save dialog, relaunched",
     "<html><body><script>onload=()=>setTimeout(()=>location.href='/app/report.bin')</script>",
     false, DialogCase::kRelaunch},
};

// The visible dialogs (the system's dialog class) a process shows.
std::vector<HWND> DialogsOf(const test::TestProcess& process) {
  return WindowsOfClass(process.Id(), L"#32770");
}

TEST(MainWindow, EndsWhileTheEngineShowsADialog) {
  SkinReference skin;
  const RECT yesButton = skin.BoxButton(L"msg_btn_yes");
  test::PageServer server;
  test::Page report;
  report.contentType = "application/octet-stream";
  report.headers = "Content-Disposition: attachment; filename=\"report.bin\"\r\n";
  report.body = std::string(4096, 'x');
  server.Add("/app/report.bin", report);
  server.AddHtml("/app/next.html", "<html><body>next</body></html>");
  for (const DialogCase& c : kDialogCases) {
    SCOPED_TRACE(c.kind);
    server.AddHtml("/app/login.jhtml", std::string(c.page) + kDialogPageTail);
    ProgramRun run(server.Url("/app/login.jhtml"));
    ASSERT_NO_FATAL_FAILURE(run.StartAndWaitForBrowser());
    if (c.click) {
      // Clicked once the page is there; until then a click may land on the
      // blank page before it.
      WaitFor([&] { return server.RequestsFor("/app/login.jhtml") > 0; }, 30000);
      WaitFor([] { return false; }, 2000);
      PostClick(run.m_browser, ClientRect(run.m_browser));
    }
    // Without its dialog the case proves little, but the program is still
    // to end as asked.
    EXPECT_TRUE(WaitFor([&] { return !DialogsOf(run.m_process).empty(); }, 30000))
        << "the page's dialog did not open";
    // The dialog is modal to the main window.
    EXPECT_FALSE(::IsWindowEnabled(run.m_main));

    switch (c.way) {
      case DialogCase::kQuit:
        ::PostMessageW(run.m_main, WM_USER_QUIT, 0, 0);
        break;
      case DialogCase::kClose: {
        ::PostMessageW(run.m_main, WM_CLOSE, 0, 0);
        const HWND box = WaitForOneBox(run.m_process);
        ASSERT_NE(box, nullptr);
        PostClick(box, yesButton);
        break;
      }
      case DialogCase::kRelaunch:
        ::PostMessageW(run.m_main, WM_USER_RELAUNCH, 0, 0);
        break;
    }
    // Ends within the bound, with exit code 0 and its browser program gone.
    run.ExpectCleanEnd();
    if (c.way == DialogCase::kRelaunch) ExpectFreshInstance(run);
  }
}

// The browser program is launched early, but only once the updater guard
// has let the program run: with the updater running, none ever starts.
TEST(MainWindow, ARunningUpdaterStopsTheProgramBeforeItsBrowserProgramStarts) {
  test::TempFolder updaterFolder;
  const std::wstring updater = updaterFolder / L"TalmicUpdate.exe";
  ASSERT_TRUE(::CopyFileW(test::InTestBin(L"sleeper.exe").c_str(), updater.c_str(), FALSE));
  test::TestProcess running = test::TestProcess::Start(updater);
  ASSERT_TRUE(running.IsStarted());
  ASSERT_TRUE(WaitFor([] { return IsUpdaterRunning() != 0; }, 5000));

  const std::string url =
      "http://127.0.0.1:" + std::to_string(test::ScriptedHttpServer::RefusingPort()) + "/a/b";
  ProgramRun run(url);
  run.Start();
  std::set<int> engines;
  const ULONGLONG deadline = ::GetTickCount64() + kExitTimeoutMs;
  while (!run.m_process.WaitForExit(5) && ::GetTickCount64() < deadline) {
    for (int id : EngineProcesses(run.m_tag)) engines.insert(id);
  }
  running.Terminate();
  ASSERT_TRUE(run.m_process.HasExited());
  EXPECT_EQ(run.m_process.ExitCode(), 0u);
  EXPECT_TRUE(engines.empty()) << "a browser program came up before the guard stopped the program";
}

// The browser program may already be starting when the update check hands
// over; it is ended before the program ends.
TEST(MainWindow, AHandOverShowsNoWindowAndLeavesNoBrowserProgram) {
  // The update server answers at once, while the browser program is still
  // being started, or late, when it runs.
  for (const unsigned delayMs : {0u, 4000u}) {
    SCOPED_TRACE("answered after " + std::to_string(delayMs) + " ms");
    test::ScriptedHttpServer server;
    test::ScriptedReply reply =
        test::ScriptedReply::Body(R"({"version":"9.0.0.0","upFiles":["Talmic.exe"]})");
    reply.delayMs = delayMs;
    server.Script({reply});
    // From a program folder with a Chinese name and a space, as a Chinese
    // installation has it.
    ProgramRun run(server.Url("/app/login.jhtml"), L"升级 测试");
    ASSERT_TRUE(::CopyFileW(test::InTestBin(L"..\\updater\\TalmicUpdate.exe").c_str(),
                            (run.m_folder / L"TalmicUpdate.exe").c_str(), FALSE));
    const std::wstring record = run.m_folder / L"updater-record.txt";
    ::SetEnvironmentVariableW(L"TALMIC_UPDATER_RECORD", record.c_str());
    run.Start();
    ::SetEnvironmentVariableW(L"TALMIC_UPDATER_RECORD", nullptr);

    bool sawWindow = false;
    std::set<int> engines;
    const ULONGLONG deadline = ::GetTickCount64() + kExitTimeoutMs;
    while (!run.m_process.WaitForExit(20) && ::GetTickCount64() < deadline) {
      sawWindow = sawWindow || !test::TopLevelWindowsOf(run.m_process.Id(), true).empty();
      for (int id : EngineProcesses(run.m_tag)) engines.insert(id);
    }
    ASSERT_TRUE(run.m_process.HasExited());
    EXPECT_EQ(run.m_process.ExitCode(), 0u);
    EXPECT_FALSE(sawWindow);
    // Checked at once: the program ends its browser program before it ends.
    for (int id : engines) {
      EXPECT_FALSE(test::NativeProcessRuns(id))
          << "browser program " << id << ": "
          << ReadWholeFile(L"Z:\\proc\\" + std::to_wstring(id) + L"\\stat").substr(0, 40);
    }
    if (delayMs > 0) {
      EXPECT_FALSE(engines.empty()) << "no browser program was started early";
    }
    // The updater was handed the work (it records how it was started).
    EXPECT_TRUE(WaitFor([&] { return !test::ReadFileBytes(record).empty(); }, 20000));
  }
}

}  // namespace
