#include "src/ProgramStart.h"

#include <windows.h>

#include <gtest/gtest.h>

#include "util/UniqueHandle.h"

namespace {

// Leaves the handle all over the stack below the caller's frame, as the
// program's earlier calls leave their values behind them.
__attribute__((noinline)) void LeaveOnStack(HANDLE handle) {
  [[maybe_unused]] volatile HANDLE area[16 * 1024];
  for (size_t i = 0; i < sizeof(area) / sizeof(area[0]); ++i) area[i] = handle;
}

// Under Wine, starting a native program reports as its process and thread
// whatever the system's stack held, and the system resumes that "thread".
// Here that is a live event of this program's: using the reported values
// closed it (and could as well have ended a process or resumed a thread).
TEST(ProgramStart, ANativeProgramLeavesThisProgramsHandlesAlone) {
  const CKernelHandle event(::CreateEventW(nullptr, TRUE, FALSE, nullptr));
  ASSERT_TRUE(event);
  CKernelHandle process;
  LeaveOnStack(event.Get());
  ASSERT_TRUE(engine::StartProgram(L"Z:\\bin\\true", true, {}, &process));
  EXPECT_FALSE(process) << "a native program has no Windows process";
  DWORD flags = 0;
  EXPECT_TRUE(::GetHandleInformation(event.Get(), &flags)) << "the event was closed";
  EXPECT_EQ(::WaitForSingleObject(event.Get(), 0), static_cast<DWORD>(WAIT_TIMEOUT));
}

TEST(ProgramStart, AWindowsProgramComesWithItsProcess) {
  CKernelHandle process;
  ASSERT_TRUE(
      engine::StartProgram(L"C:\\windows\\system32\\cmd.exe /c exit 3", false, {}, &process));
  ASSERT_TRUE(process);
  ASSERT_EQ(::WaitForSingleObject(process.Get(), 30000), static_cast<DWORD>(WAIT_OBJECT_0));
  DWORD code = 0;
  ASSERT_TRUE(::GetExitCodeProcess(process.Get(), &code));
  EXPECT_EQ(code, 3u);
}

TEST(ProgramStart, AMissingProgramFails) {
  CKernelHandle process;
  EXPECT_FALSE(engine::StartProgram(L"Z:\\no\\such\\program", true, {}, &process));
  EXPECT_FALSE(engine::StartProgram(L"C:\\no\\such\\program.exe", false, {}, &process));
  EXPECT_FALSE(process);
}

}  // namespace
