#include "update/UpdateCheck.h"

#include <gtest/gtest.h>

#include "tests/support/ProgramFolder.h"
#include "tests/support/ScopedEnvironment.h"
#include "tests/support/TempFolder.h"
#include "tests/support/TestEnvironment.h"
#include "tests/support/TestProcess.h"
#include "tests/support/WindowProbe.h"

namespace {

// Starts the sleeper under another name from a private folder.
test::TestProcess StartNamed(const test::TempFolder& folder, const std::wstring& name) {
  const std::wstring exe = folder / name;
  EXPECT_TRUE(::CopyFileW(test::InTestBin(L"sleeper.exe").c_str(), exe.c_str(), FALSE));
  test::TestProcess process = test::TestProcess::Start(exe);
  EXPECT_TRUE(process.IsStarted());
  // The process shows up in snapshots once its executable is mapped; give it
  // a moment, as a user's updater would have had.
  for (int i = 0; i < 100; ++i) {
    bool listed = false;
    for (const std::wstring& running : test::RunningProcessNames()) listed |= running == name;
    if (listed) break;
    ::Sleep(50);
  }
  return process;
}

TEST(UpdaterGuard, FindsOnlyTheExactName) {
  EXPECT_EQ(IsUpdaterRunning(), 0u) << "an updater was already running";
  struct Case {
    const wchar_t* name;
    bool found;
  };
  const Case cases[] = {
      {L"TalmicUpdate.exe", true},   {L"talmicupdate.exe", false},  {L"TALMICUPDATE.EXE", false},
      {L"TalmicUpdate2.exe", false}, {L"XTalmicUpdate.exe", false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message() << "process " << c.name);
    test::TempFolder folder;
    test::TestProcess process = StartNamed(folder, c.name);
    EXPECT_EQ(IsUpdaterRunning(), c.found ? process.Id() : 0u);
    process.Terminate();
  }
  EXPECT_EQ(IsUpdaterRunning(), 0u);
}

TEST(UpdaterGuard, ARunningUpdaterEndsTheClientSilently) {
  test::TempFolder updaterFolder;
  test::TestProcess updater = StartNamed(updaterFolder, L"TalmicUpdate.exe");
  ASSERT_NE(IsUpdaterRunning(), 0u);

  test::ProgramFolder program("[System]\r\nloginurl=http://127.0.0.1:9/app/login.jhtml\r\n");
  ASSERT_TRUE(program.IsReady());
  test::TestProcess client = program.Start();
  ASSERT_TRUE(client.IsStarted());

  bool sawWindow = false;
  const ULONGLONG deadline = ::GetTickCount64() + 5000;
  while (!client.WaitForExit(10) && ::GetTickCount64() < deadline) {
    sawWindow = sawWindow || !test::TopLevelWindowsOf(client.Id()).empty();
  }
  ASSERT_TRUE(client.HasExited()) << "the client did not end within 5 seconds";
  EXPECT_EQ(client.ExitCode(), 0u);
  EXPECT_FALSE(sawWindow);
  EXPECT_TRUE(test::ChildProcessIds(client.Id()).empty());
  EXPECT_EQ(::GetFileAttributesW((program / L"dump").c_str()), INVALID_FILE_ATTRIBUTES);
}

TEST(UpdaterGuard, AnUpdaterInOtherLetterCaseDoesNotStopTheClient) {
  test::TempFolder updaterFolder;
  test::TestProcess other = StartNamed(updaterFolder, L"talmicupdate.exe");
  EXPECT_EQ(IsUpdaterRunning(), 0u);

  test::ProgramFolder program("[System]\r\nloginurl=http://127.0.0.1:9/app/login.jhtml\r\n");
  ASSERT_TRUE(program.IsReady());
  const test::ScopedEnvironment noEngine(L"TALMIC_BROWSER", test::kNoBrowserProgram);
  test::TestProcess client = program.Start();
  ASSERT_TRUE(client.IsStarted());
  EXPECT_TRUE(test::RunToEnd(client, 60000)) << "the client's window never showed";
  ASSERT_TRUE(client.HasExited());
  EXPECT_EQ(client.ExitCode(), 0u);
}

}  // namespace
