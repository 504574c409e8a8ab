// An exception that nothing in the engine handles ends the program through
// its crash filter, with a minidump, from any engine thread.
#include <windows.h>

#include <gtest/gtest.h>

#include "src/TaskThread.h"
#include "tests/support/TempFolder.h"
#include "tests/support/TestEnvironment.h"
#include "tests/support/TestProcess.h"

namespace {

TEST(EngineCrash, AnUnhandledExceptionOnAnEngineThreadWritesAMinidump) {
  for (const wchar_t* where : {L"task", L"delayed", L"invoke", L"reader"}) {
    SCOPED_TRACE(testing::Message() << where);
    // The probe runs from a folder of its own, where its dump goes.
    test::TempFolder folder;
    const std::wstring probe = folder / L"engine_crash_probe.exe";
    ASSERT_TRUE(
        ::CopyFileW(test::InTestBin(L"engine_crash_probe.exe").c_str(), probe.c_str(), FALSE));
    test::TestProcess process = test::TestProcess::Start(probe, where);
    ASSERT_TRUE(process.IsStarted());
    ASSERT_TRUE(process.WaitForExit(60000)) << "the probe did not end";
    EXPECT_EQ(process.ExitCode().value_or(0), engine::kUnhandledExceptionCode)
        << "the exception did not reach the crash filter";
    const std::vector<std::wstring> dumps = test::ListFolder(folder / L"dump\\");
    ASSERT_EQ(dumps.size(), 1u);
    EXPECT_EQ(test::ReadFileBytes(folder / (L"dump\\" + dumps[0])).substr(0, 4), "MDMP");
  }
}

}  // namespace
