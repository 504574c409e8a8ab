// The browser program launched early, before CefInitialize: adopted by it,
// ended when the program leaves without it, and the application's
// command-line handlers asked once.  Each case runs in a
// program of its own, as a launch can be begun once per process; the first
// browser of each gets the page the engine prepared, whose documents have
// the page functions before their own first script.
#include <windows.h>

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "include/engine_early_launch.h"
#include "src/ChromiumProcess.h"
#include "tests/engine/EngineHarness.h"
#include "tests/support/NativeProcesses.h"
#include "tests/support/PageServer.h"
#include "tests/support/ScopedEnvironment.h"
#include "tests/support/TempFolder.h"
#include "tests/support/TestProcess.h"

namespace enginetest {
namespace {

constexpr wchar_t kModeVariable[] = L"ENGINE_EARLY_MODE";
constexpr wchar_t kCacheVariable[] = L"ENGINE_EARLY_CACHE";
constexpr wchar_t kUrlVariable[] = L"ENGINE_EARLY_URL";

std::wstring Variable(const wchar_t* name) {
  wchar_t value[1024] = {};
  const DWORD length = ::GetEnvironmentVariableW(name, value, 1024);
  return length > 0 && length < 1024 ? value : std::wstring();
}

// The browser program's process id, which the engine records in the
// profile folder under Wine; 0 while there is none running.
// Whether any process of the machine runs with the profile folder as its
// browser profile: the browser program or one of its helpers.  The shell
// that started the browser leaves a watcher behind that carries the same
// arguments; it is no browser, and ends within a tenth of a second once
// the launch is over.
bool AnyProcessOnProfile(const std::wstring& profile) {
  const std::wstring native = engine::NativePath(profile);
  const std::string needle = "--user-data-dir=" + CefString(native).ToString();
  WIN32_FIND_DATAW entry;
  const HANDLE listing = ::FindFirstFileW(L"Z:\\proc\\*", &entry);
  if (listing == INVALID_HANDLE_VALUE) return false;
  bool found = false;
  do {
    const unsigned long pid = std::wcstoul(entry.cFileName, nullptr, 10);
    if (pid == 0 || !test::NativeProcessRuns(pid)) continue;
    std::string commandLine =
        test::ReadFileBytes(L"Z:\\proc\\" + std::to_wstring(pid) + L"\\cmdline");
    if (commandLine.rfind("/bin/sh", 0) == 0) continue;
    for (char& c : commandLine) c = c == '\0' ? ' ' : c;
    found = found || commandLine.find(needle) != std::string::npos;
  } while (!found && ::FindNextFileW(listing, &entry));
  ::FindClose(listing);
  return found;
}

// A page function answering a fixed text.
class AnswerHandler : public CefV8Handler {
 public:
  bool Execute(const CefString&, CefRefPtr<CefV8Value>, const CefV8ValueList&,
               CefRefPtr<CefV8Value>& retval, CefString&) override {
    retval = CefV8Value::CreateString("42");
    return true;
  }
  IMPLEMENT_REFCOUNTING(AnswerHandler);
};

// The first script of the document and of its inner frame each call the
// page function; the title tells what they got.
constexpr char kFirstScriptPage[] =
    "<html><head><script>var first = typeof answer == 'function' ? answer() : 'missing';"
    "</script></head><body><iframe srcdoc=\"<script>parent.inner = typeof answer == 'function'"
    " ? answer() : 'missing';</script>\"></iframe><script>onload = function() {"
    " document.title = first + '|' + window.inner; };</script></body></html>";

// Holds the loader's lock of this process, as a thread loading a DLL does:
// no other thread can start or look up a function meanwhile.
class LoaderLock {
 public:
  LoaderLock() {
    const HMODULE ntdll = ::GetModuleHandleW(L"ntdll.dll");
    m_lock = reinterpret_cast<LockFunction>(
        reinterpret_cast<void*>(::GetProcAddress(ntdll, "LdrLockLoaderLock")));
    m_unlock = reinterpret_cast<UnlockFunction>(
        reinterpret_cast<void*>(::GetProcAddress(ntdll, "LdrUnlockLoaderLock")));
    ULONG disposition = 0;
    m_held = m_lock != nullptr && m_unlock != nullptr && m_lock(0, &disposition, &m_cookie) >= 0;
  }
  ~LoaderLock() {
    if (m_held) m_unlock(0, m_cookie);
  }
  LoaderLock(const LoaderLock&) = delete;
  LoaderLock& operator=(const LoaderLock&) = delete;
  bool IsHeld() const { return m_held; }

 private:
  using LockFunction = LONG(NTAPI*)(ULONG, ULONG*, ULONG_PTR*);
  using UnlockFunction = LONG(NTAPI*)(ULONG, ULONG_PTR);
  LockFunction m_lock = nullptr;
  UnlockFunction m_unlock = nullptr;
  ULONG_PTR m_cookie = 0;
  bool m_held = false;
};

CefSettings SettingsFor(const std::wstring& cache) {
  CefSettings settings;
  settings.multi_threaded_message_loop = 1;
  CefString(&settings.cache_path) = cache;
  return settings;
}

// The first browser shows the page with the functions in place in both
// its documents' first scripts.
void ExpectFunctionsInFirstScripts(const std::string& url) {
  HostWindow host(300, 200);
  CefRefPtr<TestClient> client = new TestClient();
  ASSERT_TRUE(OpenBrowser(host, client, url, 300, 200));
  EXPECT_TRUE(client->log.WaitFor("title", "42|42", 30000)) << client->log.Describe();
  CloseBrowser(client);
}

// The program each case runs; its mode says what it does.
TEST(EngineEarlyLaunch, Program) {
  const std::wstring mode = Variable(kModeVariable);
  if (mode.empty()) GTEST_SKIP() << "started by EarlyLaunchCases only";
  const std::wstring cache = Variable(kCacheVariable);
  const std::string url = CefString(Variable(kUrlVariable)).ToString();
  TestApp::Functions()["answer"] = new AnswerHandler();
  CefRefPtr<TestApp> app = new TestApp();
  const CefSettings settings = SettingsFor(cache);
  const CefMainArgs args(::GetModuleHandleW(nullptr));

  if (mode == L"none") {
    // No browser program: nothing starts, now or in CefInitialize, and the
    // handler is not asked a second time.
    EXPECT_FALSE(EngineBeginEarlyLaunch(settings, app));
    EXPECT_FALSE(CefInitialize(args, settings, app, nullptr));
    EXPECT_EQ(app->log.Count("command line"), 1u);
    EXPECT_FALSE(AnyProcessOnProfile(cache));
    CefShutdown();
    return;
  }

  ASSERT_TRUE(EngineBeginEarlyLaunch(settings, app));
  EXPECT_FALSE(EngineBeginEarlyLaunch(settings, app)) << "a second launch was begun";
  EXPECT_EQ(app->log.Count("command line"), 1u);
  if (mode == L"end at once") {
    // Given up while it is still being started.
    EngineEndEarlyLaunch();
    EXPECT_FALSE(AnyProcessOnProfile(cache)) << "a browser process outlived the launch";
    return;
  }
  if (mode == L"adopt while loading") {
    // The program goes on to load the DLLs of its windows, which holds the
    // loader's lock for tens of milliseconds at a time: the launch starts
    // the browser program meanwhile all the same.
    const LoaderLock loading;
    ASSERT_TRUE(loading.IsHeld());
    EXPECT_TRUE(WaitUntil([&] { return RunningBrowserIn(cache) != 0; }, 20000))
        << "the launch waited for the DLLs being loaded";
  }
  // The launch goes on while this thread does other work.
  unsigned long early = 0;
  ASSERT_TRUE(WaitUntil([&] { return (early = RunningBrowserIn(cache)) != 0; }, 60000))
      << "the early launch started no browser program";
  // The browser program answers well within this; a launch given up
  // before is ended as it starts, one given up after as it runs.
  if (mode.find(L"running") != std::wstring::npos) ::Sleep(3000);
  if (mode.rfind(L"end", 0) == 0) {
    EngineEndEarlyLaunch();
    EXPECT_FALSE(test::NativeProcessRuns(early)) << "the browser program outlived the launch";
    EXPECT_TRUE(WaitUntil([&] { return !AnyProcessOnProfile(cache); }, 5000))
        << "a helper of the browser program outlived it";
    EngineEndEarlyLaunch();  // nothing left to end
    return;
  }
  if (mode.rfind(L"exit", 0) == 0) {
    // Leaves without CefInitialize or ending the launch: the engine ends
    // it as the process exits; the starting test checks.
    return;
  }
  if (mode.rfind(L"adopt", 0) == 0) {
    ASSERT_TRUE(CefInitialize(args, settings, app, nullptr));
    ASSERT_TRUE(app->log.WaitFor("context initialized", "", 30000));
    EXPECT_EQ(RunningBrowserIn(cache), early) << "CefInitialize started another browser program";
  } else {
    FAIL() << "unknown mode";
  }
  EXPECT_EQ(app->log.Count("command line"), 1u);
  const std::vector<Event> launches = app->log.Named("child launch");
  ASSERT_EQ(launches.size(), 1u);
  EXPECT_NE(launches[0].thread, ::GetCurrentThreadId());
  ExpectFunctionsInFirstScripts(url);
  CefShutdown();
  EXPECT_FALSE(test::NativeProcessRuns(early));
}

TEST(EngineEarlyLaunch, EarlyLaunchCases) {
  test::PageServer server;
  server.AddHtml("/first.html", kFirstScriptPage);
  const wchar_t* const modes[] = {
      L"adopt", L"adopt while loading", L"end at once", L"end", L"end running",
      L"exit",  L"exit running",        L"none"};
  for (const wchar_t* mode : modes) {
    SCOPED_TRACE(CefString(mode).ToString());
    test::TempFolder folder;
    const std::wstring cache = folder / L"cache";
    test::ScopedEnvironment modeVariable(kModeVariable, mode);
    test::ScopedEnvironment cacheVariable(kCacheVariable, cache);
    test::ScopedEnvironment url(kUrlVariable, CefString(server.Url("/first.html")).ToWString());
    std::unique_ptr<test::ScopedEnvironment> noBrowser;
    if (std::wstring(mode) == L"none") {
      noBrowser =
          std::make_unique<test::ScopedEnvironment>(L"TALMIC_BROWSER", folder / L"no-browser.exe");
    }
    test::TestProcess program = test::TestProcess::StartOwnTest(L"EngineEarlyLaunch.Program");
    ASSERT_TRUE(program.IsStarted());
    unsigned long browser = 0;
    ASSERT_TRUE(WaitUntil(
        [&] {
          if (const unsigned long running = RunningBrowserIn(cache)) browser = running;
          return program.HasExited();
        },
        120000))
        << "the program did not end";
    EXPECT_EQ(program.ExitCode().value_or(1), 0u) << "the program's own checks failed";
    // Whatever the program did, it left no browser program behind.
    if (browser != 0) {
      EXPECT_FALSE(test::NativeProcessRuns(browser));
    }
    if (std::wstring(mode).rfind(L"exit", 0) == 0) {
      EXPECT_NE(browser, 0u) << "the launch never started a browser program";
    }
  }
}

}  // namespace
}  // namespace enginetest
