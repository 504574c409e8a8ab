// Starting and stopping the engine: the hash, a missing browser program,
// two programs on one cache folder, and shutdown leaving nothing behind.
#include <gtest/gtest.h>

#include <algorithm>

#include "include/cef_api_hash.h"
#include "tests/engine/EngineHarness.h"
#include "tests/support/NativeProcesses.h"
#include "tests/support/PageServer.h"
#include "tests/support/ScopedEnvironment.h"
#include "tests/support/TempFolder.h"
#include "tests/support/TestEnvironment.h"
#include "tests/support/TestProcess.h"

namespace enginetest {
namespace {

// The browser program's process id, which the engine records in the
// profile folder under Wine.
TEST(EngineLifecycle, TheLibraryReportsTheInterfaceHash) {
  EXPECT_STREQ(cef_api_hash(0), "64b27477b82b44b51ce817522f744fca6768cbbb");
  EXPECT_STREQ(CEF_API_HASH_PLATFORM, "64b27477b82b44b51ce817522f744fca6768cbbb");
}

TEST(EngineLifecycle, WithoutABrowserProgramInitialisationFailsAndNothingRuns) {
  SharedEngine::Stop();
  test::TempFolder folder;
  test::ScopedEnvironment browser(L"TALMIC_BROWSER", folder / L"no-browser.exe");
  CefRefPtr<TestApp> app = new TestApp();
  CefSettings settings;
  settings.multi_threaded_message_loop = 1;
  CefString(&settings.cache_path) = folder / L"cache";
  EXPECT_FALSE(CefInitialize(CefMainArgs(::GetModuleHandleW(nullptr)), settings, app, nullptr));
  EXPECT_EQ(app->log.Count("context initialized"), 0u);
  CefWindowInfo info;
  info.SetAsPopup(nullptr, "none");
  EXPECT_FALSE(CefBrowserHost::CreateBrowser(info, new TestClient(), "about:blank",
                                             CefBrowserSettings(), nullptr));
  CefShutdown();  // harmless without an engine
}

TEST(EngineLifecycle, ShutdownEndsTheBrowserAndFreesTheProfile) {
  ASSERT_TRUE(SharedEngine::Start());
  const std::wstring profile = SharedEngine::CacheFolder() + L"cache";
  CefRefPtr<TestApp> app = SharedEngine::App();
  ASSERT_TRUE(app->log.WaitFor("context initialized", ""));
  const unsigned long browserProcess = RunningBrowserIn(profile);
  ASSERT_NE(browserProcess, 0u);
  {
    HostWindow host(200, 100);
    CefRefPtr<TestClient> client = new TestClient();
    ASSERT_TRUE(OpenBrowser(host, client, "about:blank", 200, 100));
    // Shut down with the browser still open, as the application does.
    SharedEngine::Stop();
    EXPECT_FALSE(test::NativeProcessRuns(browserProcess))
        << "shutdown returned before the browser ended";
    EXPECT_EQ(::GetWindowThreadProcessId(client->Browser()->GetHost()->GetWindowHandle(), nullptr),
              0u)
        << "the browser's window outlived the engine";
  }
  test::RemoveFolderRecursively(profile);
  EXPECT_EQ(::GetFileAttributesW(profile.c_str()), INVALID_FILE_ATTRIBUTES)
      << "the profile folder could not be deleted";
  CefShutdown();  // a second call does nothing
}

// Run as a second program by the test below.
TEST(EngineLifecycle, SecondProgram) {
  wchar_t cache[MAX_PATH] = {};
  wchar_t url[1024] = {};
  if (::GetEnvironmentVariableW(L"ENGINE_TEST_CACHE", cache, MAX_PATH) == 0 ||
      ::GetEnvironmentVariableW(L"ENGINE_TEST_URL", url, 1024) == 0) {
    GTEST_SKIP() << "started by SecondProgramOnTheSameCacheWorks only";
  }
  CefRefPtr<TestApp> app = new TestApp();
  CefSettings settings;
  settings.multi_threaded_message_loop = 1;
  CefString(&settings.cache_path) = std::wstring(cache);
  ASSERT_TRUE(CefInitialize(CefMainArgs(::GetModuleHandleW(nullptr)), settings, app, nullptr));
  {
    HostWindow host(200, 100);
    CefRefPtr<TestClient> client = new TestClient();
    ASSERT_TRUE(OpenBrowser(host, client, CefString(url).ToString(), 200, 100));
    EXPECT_TRUE(client->log.WaitFor("title", "second"));
  }
  CefShutdown();
}

TEST(EngineLifecycle, SecondProgramOnTheSameCacheWorks) {
  ASSERT_TRUE(SharedEngine::Start());
  test::PageServer server;
  server.AddHtml("/second.html", "<html><head><title>second</title></head></html>");
  {
    HostWindow host(200, 100);
    CefRefPtr<TestClient> client = new TestClient();
    ASSERT_TRUE(OpenBrowser(host, client, server.Url("/second.html"), 200, 100));
    ASSERT_TRUE(client->log.WaitFor("title", "second"));

    test::ScopedEnvironment cache(L"ENGINE_TEST_CACHE", SharedEngine::CacheFolder() + L"cache");
    test::ScopedEnvironment url(L"ENGINE_TEST_URL",
                                CefString(server.Url("/second.html")).ToWString());
    test::TestProcess second = test::TestProcess::StartOwnTest(L"EngineLifecycle.SecondProgram");
    ASSERT_TRUE(second.IsStarted());
    ASSERT_TRUE(WaitUntil([&] { return second.HasExited(); }, 120000));
    EXPECT_EQ(second.ExitCode().value_or(1), 0u) << "the second program's engine failed";
    // The first program's browser still works.
    client->log.Clear();
    client->Browser()->Reload();
    EXPECT_TRUE(client->log.WaitFor("title", "second"));
    CloseBrowser(client);
  }
}

// Run as a program that is killed by the test below: it starts the engine
// and waits, never shutting it down.
TEST(EngineLifecycle, ProgramKilledWhileRunning) {
  wchar_t cache[MAX_PATH] = {};
  if (::GetEnvironmentVariableW(L"ENGINE_TEST_KILLED_CACHE", cache, MAX_PATH) == 0) {
    GTEST_SKIP() << "started by AKilledProgramLeavesNoBrowserRunning only";
  }
  CefRefPtr<TestApp> app = new TestApp();
  CefSettings settings;
  settings.multi_threaded_message_loop = 1;
  CefString(&settings.cache_path) = std::wstring(cache);
  ASSERT_TRUE(CefInitialize(CefMainArgs(::GetModuleHandleW(nullptr)), settings, app, nullptr));
  ::Sleep(INFINITE);
}

TEST(EngineLifecycle, AKilledProgramLeavesNoBrowserRunning) {
  test::TempFolder folder;
  const std::wstring cache = folder / L"cache";
  test::ScopedEnvironment killed(L"ENGINE_TEST_KILLED_CACHE", cache);
  test::TestProcess program =
      test::TestProcess::StartOwnTest(L"EngineLifecycle.ProgramKilledWhileRunning");
  ASSERT_TRUE(program.IsStarted());
  unsigned long browserProcess = 0;
  ASSERT_TRUE(WaitUntil(
      [&] {
        browserProcess = RunningBrowserIn(cache);
        return browserProcess != 0;
      },
      60000))
      << "the program's browser never started";
  const std::vector<unsigned long> processes = test::NativeProcessTree(browserProcess);
  // Killed without a chance to shut anything down: the browser sees its
  // pipe close and ends by itself, with all its helper processes.
  program.Terminate();
  EXPECT_TRUE(WaitUntil(
      [&] {
        return std::none_of(processes.begin(), processes.end(),
                            [](unsigned long pid) { return test::NativeProcessRuns(pid); });
      },
      20000))
      << "the browser outlived the program that started it";
}

}  // namespace
}  // namespace enginetest
