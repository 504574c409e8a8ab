// How soon the client is useful after its process starts, seen from
// outside as its user sees it: the main window visible, the demo login
// page's first frame painted in it, and the page's functions answering.
// Cold runs start with an empty browser cache folder, warm runs with the
// one the previous run left.  Beside each figure is its floor on this
// machine: an empty Win32 window started the same way for the window, and
// the browser program alone loading the same page headless to its first
// frame for the page.  Then the memory the client and its browser
// processes hold at idle with the page shown, beside the browser program
// alone holding the same page.
#include <windows.h>
#include <psapi.h>
#include <shlobj.h>

#include <cstdio>
#include <sstream>
#include <string>
#include <vector>

#include "StartupBenchPaths.h"
#include "bench/ChromiumFloor.h"
#include "browser/BrowserWindowMessages.h"
#include "demo/PageWatch.h"
#include "src/ChromiumProcess.h"
#include "tests/support/PageServer.h"
#include "tests/support/TempFolder.h"
#include "tests/support/TestProcess.h"
#include "tests/support/WindowProbe.h"
#include "util/TextUtil.h"
#include "util/UniqueHandle.h"

namespace {

using bench::ChromiumFloor;
using bench::MedianOf;

constexpr int kRuns = 7;
constexpr double kGiveUpMs = 60000;
// Long enough for the page's network panel and the browser's own start-up
// work to be over, so that what is measured is what an idle page holds.
constexpr DWORD kIdleMs = 4000;

double Now() { return ChromiumFloor::Now(); }

// Reads to the end rather than to the reported size: the system's process
// files report none.
std::string ReadFile(const std::wstring& path) {
  const CFileHandle file(::CreateFileW(path.c_str(), GENERIC_READ,
                                       FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                       nullptr, OPEN_EXISTING, 0, nullptr));
  std::string content;
  if (!file) return content;
  char buffer[4096];
  DWORD got = 0;
  while (::ReadFile(file.Get(), buffer, sizeof(buffer), &got, nullptr) && got > 0) {
    content.append(buffer, got);
  }
  return content;
}

// The client's browser cache, found the way the client finds it.
std::wstring ClientCacheFolder() {
  wchar_t local[MAX_PATH] = {};
  if (FAILED(::SHGetFolderPathW(nullptr, CSIDL_LOCAL_APPDATA, nullptr, 0, local))) return L"";
  return std::wstring(local) + L"\\KelpBrowser";
}

// The pixels of the client's browser window, which the browser program
// alone is given too, so that both have a page of the same size to paint.
struct PageSize {
  int width = 0;
  int height = 0;
};

struct ClientRun {
  PageSize page;
  double window = 0;
  double requested = 0;  // the browser asked the server for the login page
  double frame = 0;
  double api = 0;
  double workingSetMb = 0;
  double browserMb = 0;
};

// The proportional memory (shared pages split among their users) of the
// browser program's processes whose profile folder lies under the folder.
// Under Wine the browser is a native program that no Windows call sees,
// so its processes are read from the system's process folder; elsewhere
// the figure is zero.
double BrowserMemoryMb(const std::wstring& profileFolder) {
  const std::wstring native = engine::NativePath(profileFolder);
  // The whole argument, so that a folder inside this one is not taken.
  const std::string needle = "--user-data-dir=" + WideToUtf8(native) + " ";
  double kilobytes = 0;
  WIN32_FIND_DATAW entry;
  const CFindHandle find(::FindFirstFileW(L"Z:\\proc\\*", &entry));
  if (!find) return 0;
  do {
    const std::wstring pid = entry.cFileName;
    if (pid.empty() || pid.find_first_not_of(L"0123456789") != std::wstring::npos) continue;
    std::string commandLine = ReadFile(L"Z:\\proc\\" + pid + L"\\cmdline");
    for (char& c : commandLine) c = c == '\0' ? ' ' : c;
    if (commandLine.find(needle) == std::string::npos) continue;
    std::istringstream rollup(ReadFile(L"Z:\\proc\\" + pid + L"\\smaps_rollup"));
    std::string line;
    while (std::getline(rollup, line)) {
      if (line.rfind("Pss:", 0) == 0) kilobytes += std::atof(line.c_str() + 4);
    }
  } while (::FindNextFileW(find.Get(), &entry));
  return kilobytes / 1024.0;
}

// Starts the client, follows it until its page functions answer, and asks
// it to quit.
ClientRun RunClient(const std::wstring& exe, const test::PageServer& server, bool measureMemory) {
  ClientRun run;
  const int reportsBefore = server.RequestsFor("/app/report");
  const int loginsBefore = server.RequestsFor("/app/login.jhtml");
  const double start = Now();
  test::TestProcess client = test::TestProcess::Start(exe);
  if (!client.IsStarted()) return run;
  HWND window = nullptr;
  // The page's report may come before or after its first picture is on
  // screen; both are waited for.
  while ((run.api == 0 || run.frame == 0) && Now() - start < kGiveUpMs && !client.WaitForExit(2)) {
    if (window == nullptr) {
      window = demo::FindMainWindow(client.Id());
      if (window != nullptr) run.window = Now() - start;
    }
    if (run.requested == 0 && server.RequestsFor("/app/login.jhtml") > loginsBefore) {
      run.requested = Now() - start;
    }
    if (window != nullptr && run.frame == 0) {
      const HWND view = demo::FindBrowserView(window);
      if (demo::ShowsDemoPage(view)) {
        run.frame = Now() - start;
        RECT client = {};
        ::GetClientRect(view, &client);
        run.page = {client.right, client.bottom};
      }
    }
    // The page reports once as it starts and once when getMac answered.
    if (run.api == 0 && server.RequestsFor("/app/report") >= reportsBefore + 2) {
      run.api = Now() - start;
    }
  }
  if (measureMemory && run.api > 0) {
    ::Sleep(kIdleMs);
    PROCESS_MEMORY_COUNTERS counters = {};
    counters.cb = sizeof(counters);
    if (::GetProcessMemoryInfo(client.Handle(), &counters, sizeof(counters))) {
      run.workingSetMb = counters.WorkingSetSize / (1024.0 * 1024.0);
    }
    // The engine takes a folder of its own inside the cache folder when
    // another client already holds the cache folder itself.
    std::wstring profile = ClientCacheFolder() + L"\\";
    const std::wstring own = profile + L"instance-" + std::to_wstring(client.Id());
    if (::GetFileAttributesW(own.c_str()) != INVALID_FILE_ATTRIBUTES) profile = own + L"\\";
    run.browserMb = BrowserMemoryMb(profile);
  }
  if (window != nullptr) ::PostMessageW(window, WM_USER_QUIT, 0, 0);
  // The next run needs the browser program gone from the cache folder; the
  // client's quit waits for that.
  if (!client.WaitForExit(30000)) client.Terminate();
  return run;
}

// The empty window's floor: process start to its window visible.
double RunEmptyWindow(const std::wstring& exe) {
  const double start = Now();
  test::TestProcess process = test::TestProcess::Start(exe);
  if (!process.IsStarted()) return 0;
  double shown = 0;
  while (shown == 0 && Now() - start < kGiveUpMs && !process.WaitForExit(1)) {
    for (HWND window : test::TopLevelWindowsOf(process.Id(), true)) {
      ::PostMessageW(window, WM_CLOSE, 0, 0);
      shown = Now() - start;
    }
  }
  if (!process.WaitForExit(10000)) process.Terminate();
  return shown;
}

// The browser program alone: launched with the profile, the page loaded in
// a new target, timed from before the launch to the first frame that shows
// the page as the client's own figure sees it.
struct AloneRun {
  bench::FloorTimes times;
  double ready = 0;      // the browser program answered over its pipe
  double requested = 0;  // it asked the server for the page
};

AloneRun RunChromiumAlone(const std::wstring& profile, const test::PageServer& server,
                          const std::string& url, const PageSize& page, double* memoryMb) {
  AloneRun run;
  ChromiumFloor floor;
  floor.SetPageSize(page.width, page.height);
  const int requestsBefore = server.RequestsFor("/app/login.jhtml");
  const double start = Now();
  if (!floor.Start(profile)) return run;
  run.ready = Now() - start;
  bench::FloorTimes& times = run.times;
  times = floor.Load(
      url,
      [](const engine::FramePicture& picture) {
        return demo::ShowsDemoPage(picture.width, picture.height, picture.pixels.data());
      },
      start,
      [&] {
        if (run.requested == 0 && server.RequestsFor("/app/login.jhtml") > requestsBefore) {
          run.requested = Now() - start;
        }
      });
  if (memoryMb != nullptr) {
    ::Sleep(kIdleMs);
    *memoryMb = BrowserMemoryMb(profile);
  }
  floor.Stop();
  return run;
}

// The browser program alone, launched by a Windows program as its first
// line: what any program Wine starts could show at best.  Timed from before
// the program's start, as the client is; `started` is when its first line
// ran.  The profile folder is named without a closing backslash, which
// would escape the quote after it on the program's command line.
struct AloneProgramRun {
  double started = 0;
  double ready = 0;
  double frame = 0;
};

AloneProgramRun RunChromiumAloneProgram(const std::wstring& exe, const std::wstring& profile,
                                        const std::string& url, const PageSize& page,
                                        const std::wstring& figures) {
  AloneProgramRun run;
  ::DeleteFileW(figures.c_str());
  const double start = Now();
  test::TestProcess program = test::TestProcess::Start(
      exe, L"\"" + profile + L"\" \"" + Utf8ToWide(url) + L"\" \"" + figures + L"\" " +
               std::to_wstring(page.width) + L" " + std::to_wstring(page.height));
  if (!program.IsStarted()) return run;
  if (!program.WaitForExit(static_cast<DWORD>(kGiveUpMs))) {
    program.Terminate();
    return run;
  }
  double firstLine = 0, ready = 0, frame = 0;
  if (std::sscanf(ReadFile(figures).c_str(), "%lf %lf %lf", &firstLine, &ready, &frame) != 3 ||
      frame <= 0) {
    return run;
  }
  run.started = firstLine - start;
  run.ready = run.started + ready;
  run.frame = run.started + frame;
  return run;
}

// The hand-off: a program folder whose update check finds another version
// and hands over to the updater stand-in, which records that it ran.
// Timed from the process start to the updater's record (the updater
// started and ran), and to the client's end.
struct HandOff {
  double updater = 0;
  double ended = 0;
};

HandOff RunHandOff(const std::wstring& exe, const std::wstring& record) {
  HandOff run;
  ::DeleteFileW(record.c_str());
  const double start = Now();
  test::TestProcess client = test::TestProcess::Start(exe);
  if (!client.IsStarted()) return run;
  while ((run.updater == 0 || run.ended == 0) && Now() - start < kGiveUpMs) {
    if (run.ended == 0 && client.WaitForExit(1)) run.ended = Now() - start;
    if (run.updater == 0 && !ReadFile(record).empty()) run.updater = Now() - start;
    if (run.ended != 0 && run.updater == 0) ::Sleep(1);
  }
  if (!client.WaitForExit(10000)) client.Terminate();
  return run;
}

// Copies the program folder and gives it the configuration; false when it
// cannot.
bool MakeProgramFolder(const std::wstring& dist, const std::wstring& folder,
                       const std::string& loginUrl) {
  ::CreateDirectoryW(folder.c_str(), nullptr);
  return test::CopyFolder(dist, folder) &&
         test::WriteFileBytes(folder + L"\\wex.ini", "[System]\r\nloginurl=" + loginUrl + "\r\n");
}

std::wstring Environment(const wchar_t* name) {
  wchar_t value[MAX_PATH] = {};
  const DWORD length = ::GetEnvironmentVariableW(name, value, MAX_PATH);
  return length > 0 && length < MAX_PATH ? value : std::wstring();
}

double Ratio(double ours, double floor) { return floor > 0 ? ours / floor : 0.0; }

}  // namespace

int wmain() {
  // Each figure is seen as soon as it is printed, even through a pipe.
  std::setvbuf(stdout, nullptr, _IONBF, 0);
  // STARTUP_BENCH_DIST measures another program folder (an earlier build,
  // say) instead of this build's; STARTUP_BENCH_BEFORE_DIST names an
  // earlier build whose hand-off is timed beside this one's.  Figures
  // taken at another DPI are named with the suffix STARTUP_BENCH_SUFFIX.
  const std::wstring otherDist = Environment(L"STARTUP_BENCH_DIST");
  const std::wstring dist = otherDist.empty() ? std::wstring(TALMIC_BENCH_DIST) : otherDist;
  const std::wstring beforeDist = Environment(L"STARTUP_BENCH_BEFORE_DIST");
  const std::string suffix = WideToUtf8(Environment(L"STARTUP_BENCH_SUFFIX"));
  const char* const tag = suffix.c_str();
  const std::wstring demoFolder = TALMIC_BENCH_DEMO;
  const std::wstring emptyWindow = TALMIC_BENCH_EMPTY_WINDOW;

  std::string login = ReadFile(demoFolder + L"\\login.html");
  if (login.empty()) {
    std::printf("startup: cannot read the demo page in %ls\n", demoFolder.c_str());
    return 1;
  }
  // The page's broken link is not followed here; any port will do.
  const std::string placeholder = "__REFUSED_PORT__";
  if (login.find(placeholder) != std::string::npos) {
    login.replace(login.find(placeholder), placeholder.size(), "9");
  }
  test::PageServer server;
  server.AddHtml("/app/login.jhtml", login);
  server.Add("/app/common/checkVersions.jhtml",
             test::Page{200, "application/json; charset=utf-8",
                        "{\"version\":\"1.0.0.0\",\"upFiles\":[]}", ""});
  server.Add("/app/report", test::Page{204, "text/plain", "", ""});
  // The hand-off's update check finds another version.
  server.Add("/handoff/common/checkVersions.jhtml",
             test::Page{200, "application/json; charset=utf-8",
                        "{\"version\":\"9.0.0.0\",\"upFiles\":[\"Talmic.exe\"]}", ""});
  const std::string url = server.Url("/app/login.jhtml");

  test::TempFolder work;
  const std::wstring program = work / L"program";
  if (!MakeProgramFolder(dist, program, url)) {
    std::printf("startup: cannot copy the program folder %ls\n", dist.c_str());
    return 1;
  }
  const std::wstring exe = program + L"\\Talmic.exe";

  // The client and its two floors run by turns, one round at a time, so
  // that the machine's load, which changes over the benchmark's minute,
  // weighs on all three alike.  The client's cold runs empty its cache
  // folder first, as a new user or a relaunch (which empties it too) would
  // have it.  That folder is the one every client in this Wine prefix uses,
  // so no other client should run meanwhile (`make bench` runs nothing
  // else).  The browser program alone starts cold on a profile folder
  // emptied just before in the same way (the files a browser program's
  // profile leaves take the system a while to delete, which the start right
  // after it shares), warm on one filled before.
  std::vector<ClientRun> cold, warm;
  PageSize page{1280, 800};
  std::vector<AloneRun> aloneCold, aloneWarm;
  std::vector<AloneProgramRun> programCold, programWarm;
  const std::wstring figures = work / L"alone-program.txt";
  const std::wstring aloneColdProfile = work / L"alone-cold";
  const std::wstring programColdProfile = work / L"program-cold";
  for (int run = 0; run < kRuns; ++run) {
    test::RemoveFolderRecursively(ClientCacheFolder());
    cold.push_back(RunClient(exe, server, false));
    if (cold.back().page.width > 0) page = cold.back().page;
    test::RemoveFolderRecursively(aloneColdProfile);
    aloneCold.push_back(RunChromiumAlone(aloneColdProfile + L"\\", server, url, page, nullptr));
    test::RemoveFolderRecursively(programColdProfile);
    programCold.push_back(RunChromiumAloneProgram(TALMIC_BENCH_ALONE_PROGRAM, programColdProfile,
                                                  url, page, figures));
  }
  const std::wstring warmProfile = work / L"alone-warm\\";
  const std::wstring programProfile = work / L"program-warm";
  RunChromiumAlone(warmProfile, server, url, page, nullptr);
  RunChromiumAloneProgram(TALMIC_BENCH_ALONE_PROGRAM, programProfile, url, page, figures);
  ClientRun idle;
  double aloneMemory = 0;
  for (int run = 0; run < kRuns; ++run) {
    const bool last = run == kRuns - 1;
    warm.push_back(RunClient(exe, server, last));
    if (last) idle = warm.back();
    aloneWarm.push_back(
        RunChromiumAlone(warmProfile, server, url, page, last ? &aloneMemory : nullptr));
    programWarm.push_back(
        RunChromiumAloneProgram(TALMIC_BENCH_ALONE_PROGRAM, programProfile, url, page, figures));
  }

  std::vector<double> empty;
  for (int run = 0; run < kRuns; ++run) empty.push_back(RunEmptyWindow(emptyWindow));

  const auto median = [](const auto& runs, auto field) {
    std::vector<double> values;
    for (const auto& run : runs) values.push_back(field(run));
    return MedianOf(values);
  };
  if (median(warm, [](const ClientRun& r) { return r.window; }) == 0) {
    std::printf("startup: Talmic.exe showed no main window; its figures below are 0\n");
  }
  const double emptyMedian = MedianOf(empty);
  for (const bool isCold : {true, false}) {
    const char* kind = isCold ? "cold" : "warm";
    const std::vector<ClientRun>& runs = isCold ? cold : warm;
    const std::vector<AloneRun>& alone = isCold ? aloneCold : aloneWarm;
    const double window = median(runs, [](const ClientRun& r) { return r.window; });
    const double requested = median(runs, [](const ClientRun& r) { return r.requested; });
    const double frame = median(runs, [](const ClientRun& r) { return r.frame; });
    const double api = median(runs, [](const ClientRun& r) { return r.api; });
    const double aloneReady = median(alone, [](const AloneRun& r) { return r.ready; });
    const double aloneRequested = median(alone, [](const AloneRun& r) { return r.requested; });
    const double aloneFrame = median(alone, [](const AloneRun& r) { return r.times.firstFrame; });
    std::printf(
        "startup_window_visible_%s%s: %.0f ms (empty Win32 window: %.0f ms, ratio %.2f;"
        " target at most 300 ms with a warm wineserver)\n",
        kind, tag, window, emptyMedian, Ratio(window, emptyMedian));
    std::printf(
        "startup_first_page_frame_%s%s: %.0f ms (Chromium alone, headless, to its first frame:"
        " %.0f ms, ratio %.2f; target at most 1.25)\n",
        kind, tag, frame, aloneFrame, Ratio(frame, aloneFrame));
    // Where the time goes, each figure from the process start (medians of
    // each, so they need not add up): the page asked for and its first
    // frame, beside the browser program alone answering, asking for the
    // page and showing it.
    std::printf(
        "startup_breakdown_%s%s: window %.0f ms, login page requested %.0f ms, first frame"
        " %.0f ms (Chromium alone: answering %.0f ms, page requested %.0f ms, first frame"
        " %.0f ms; both pages %dx%d pixels)\n",
        kind, tag, window, requested, frame, aloneReady, aloneRequested, aloneFrame, page.width,
        page.height);
    // The client's first frame beside the browser program alone launched by
    // a program Wine starts: the part of the gap no client under Wine can
    // close is that program's own start.
    const std::vector<AloneProgramRun>& program = isCold ? programCold : programWarm;
    const double programStarted =
        median(program, [](const AloneProgramRun& r) { return r.started; });
    const double programReady = median(program, [](const AloneProgramRun& r) { return r.ready; });
    const double programFrame = median(program, [](const AloneProgramRun& r) { return r.frame; });
    std::printf(
        "startup_first_page_frame_%s%s_beside_a_program: %.0f ms (Chromium alone launched by a"
        " Windows program as its first line: %.0f ms, ratio %.2f; that program's first line ran"
        " at %.0f ms, the browser answered at %.0f ms)\n",
        kind, tag, frame, programFrame, Ratio(frame, programFrame), programStarted, programReady);
    std::printf("startup_page_api_answering_%s%s: %.0f ms (Chromium alone has no page API)\n", kind,
                tag, api);
  }
  std::printf("memory_client_working_set_idle%s: %.1f MB\n", tag, idle.workingSetMb);
  std::printf(
      "memory_browser_processes_idle%s: %.1f MB proportional (Chromium alone with the same page:"
      " %.1f MB, ratio %.2f)\n",
      tag, idle.browserMb, aloneMemory, Ratio(idle.browserMb, aloneMemory));

  // The hand-off to the updater, with this build and, when named, the
  // earlier one.
  const std::wstring record = work / L"updater-record.txt";
  ::SetEnvironmentVariableW(L"TALMIC_UPDATER_RECORD", record.c_str());
  const auto timeHandOff = [&](const std::wstring& from, const wchar_t* name, HandOff& result) {
    const std::wstring folder = work / name;
    if (!MakeProgramFolder(from, folder, server.Url("/handoff/login.jhtml")) ||
        !::CopyFileW(TALMIC_BENCH_UPDATER, (folder + L"\\TalmicUpdate.exe").c_str(), FALSE)) {
      return false;
    }
    std::vector<HandOff> runs;
    for (int run = 0; run < kRuns; ++run)
      runs.push_back(RunHandOff(folder + L"\\Talmic.exe", record));
    result.updater = median(runs, [](const HandOff& r) { return r.updater; });
    result.ended = median(runs, [](const HandOff& r) { return r.ended; });
    return true;
  };
  HandOff now;
  HandOff before;
  if (timeHandOff(dist, L"handoff", now)) {
    std::string beside = "no earlier build named";
    if (!beforeDist.empty() && timeHandOff(beforeDist, L"handoff-before", before)) {
      char text[160];
      std::snprintf(text, sizeof(text),
                    "the earlier build: updater ran at %.0f ms, ended at %.0f ms", before.updater,
                    before.ended);
      beside = text;
    }
    std::printf(
        "startup_handoff_to_updater%s: %.0f ms from the process start to the updater run, client"
        " ended at %.0f ms (%s)\n",
        tag, now.updater, now.ended, beside.c_str());
  }
  ::SetEnvironmentVariableW(L"TALMIC_UPDATER_RECORD", nullptr);
  return 0;
}
