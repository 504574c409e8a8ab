// Starts the client for `make run` and watches it from outside: it waits
// for the main window, then for the demo page to be painted in it, saves a
// picture of the window, and then either asks the client to quit (when no
// one is watching the display) or waits until its user has closed it.
//
// Usage: DemoLauncher.exe TALMIC_EXE SCREENSHOT_PNG [--quit]
// It prints one "name: value" line per event for the run script to read.
#include <windows.h>

#include <chrono>
#include <cstdio>
#include <string>

#include "browser/BrowserWindowMessages.h"
#include "demo/PageWatch.h"
#include "util/TextUtil.h"
#include "util/UniqueHandle.h"

namespace {

// How long the client may take to show its window, and then its page; a
// cold start under Wine is counted in seconds, not minutes.
constexpr DWORD kWindowTimeoutMs = 90000;
constexpr DWORD kPageTimeoutMs = 90000;
constexpr DWORD kQuitTimeoutMs = 30000;

double Now() {
  using Clock = std::chrono::steady_clock;
  return std::chrono::duration<double, std::milli>(Clock::now().time_since_epoch()).count();
}

void Say(const char* name, const std::string& value) {
  std::printf("%s: %s\n", name, value.c_str());
  std::fflush(stdout);
}

std::string Milliseconds(double ms) { return std::to_string(static_cast<long long>(ms)) + " ms"; }

// Polls until the condition holds, the process ends or the time is up.
template <typename Condition>
bool WaitWhileRunning(HANDLE process, DWORD timeoutMs, Condition condition) {
  const double end = Now() + timeoutMs;
  while (!condition()) {
    if (Now() > end) return false;
    if (::WaitForSingleObject(process, 20) == WAIT_OBJECT_0) return condition();
  }
  return true;
}

int Finish(HANDLE process) {
  DWORD code = 0;
  ::GetExitCodeProcess(process, &code);
  Say("exit", std::to_string(code));
  return static_cast<int>(code);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: DemoLauncher.exe TALMIC_EXE SCREENSHOT_PNG [--quit]\n");
    return 2;
  }
  const std::wstring executable = argv[1];
  const std::wstring screenshot = argv[2];
  const bool quit = argc > 3 && std::wstring(argv[3]) == L"--quit";
  std::wstring folder = executable.substr(0, executable.find_last_of(L"\\/") + 1);
  if (folder.empty()) folder = L".";

  std::wstring commandLine = L"\"" + executable + L"\"";
  STARTUPINFOW startup = {};
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION info = {};
  const double start = Now();
  if (!::CreateProcessW(executable.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        folder.c_str(), &startup, &info)) {
    Say("failed", "cannot start " + WideToUtf8(executable));
    return 2;
  }
  const CKernelHandle process(info.hProcess);
  const CKernelHandle thread(info.hThread);

  HWND window = nullptr;
  if (!WaitWhileRunning(process.Get(), kWindowTimeoutMs, [&] {
        window = demo::FindMainWindow(info.dwProcessId);
        return window != nullptr;
      })) {
    if (::WaitForSingleObject(process.Get(), 0) == WAIT_OBJECT_0) {
      Say("ended", "before showing a window");
      return Finish(process.Get());
    }
    Say("gave-up", "no main window");
    ::TerminateProcess(process.Get(), 1);
    ::WaitForSingleObject(process.Get(), 5000);
    return Finish(process.Get());
  }
  Say("window", Milliseconds(Now() - start));

  const bool painted = WaitWhileRunning(process.Get(), kPageTimeoutMs, [&] {
    return demo::ShowsDemoPage(demo::FindBrowserView(window));
  });
  if (painted) {
    Say("page", Milliseconds(Now() - start));
    // The page has just painted its first picture; the rest of its text and
    // the network panel follow within moments.
    ::Sleep(1500);
  } else if (::WaitForSingleObject(process.Get(), 0) != WAIT_OBJECT_0) {
    Say("gave-up", "the page did not show");
  }
  if (::IsWindow(window) && demo::SaveScreenshot(window, screenshot)) {
    Say("screenshot", WideToUtf8(screenshot));
  }

  if (::WaitForSingleObject(process.Get(), 0) == WAIT_OBJECT_0) {
    Say("ended", "while its window showed");
    return Finish(process.Get());
  }
  if (quit) {
    // The main window's own request to shut the engine down and quit.
    ::PostMessageW(window, WM_USER_QUIT, 0, 0);
    if (::WaitForSingleObject(process.Get(), kQuitTimeoutMs) != WAIT_OBJECT_0) {
      Say("gave-up", "it did not quit when asked");
      ::TerminateProcess(process.Get(), 1);
      ::WaitForSingleObject(process.Get(), 5000);
    }
  } else {
    Say("running", "close the window to end it");
    ::WaitForSingleObject(process.Get(), INFINITE);
  }
  return Finish(process.Get());
}
