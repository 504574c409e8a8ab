#include "app/CrashDump.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <regex>

#include "tests/support/NetworkShare.h"
#include "tests/support/ProgramFolder.h"
#include "tests/support/ScopedEnvironment.h"
#include "tests/support/TempFolder.h"
#include "tests/support/TestEnvironment.h"
#include "tests/support/TestProcess.h"
#include "tests/support/WindowProbe.h"
#include "util/UniqueHandle.h"

namespace {

TEST(DumpCallback, KeepsOnlyModulesReferencedByMemory) {
  struct Case {
    const char* name;
    ULONG kind;
    ULONG flagsBefore;
    BOOL result;
    ULONG flagsAfter;
  };
  const ULONG all = ModuleWriteModule | ModuleWriteDataSeg | ModuleWriteMiscRecord |
                    ModuleWriteCvRecord | ModuleReferencedByMemory;
  const ULONG unreferenced = all & ~ModuleReferencedByMemory;
  const Case cases[] = {
      {"referenced module kept", ModuleCallback, all, TRUE, all},
      {"unreferenced module dropped", ModuleCallback, unreferenced, TRUE,
       unreferenced & ~ModuleWriteModule},
      {"thread", ThreadCallback, 0x7F, TRUE, 0x7F},
      {"extended thread", ThreadExCallback, 0x7F, TRUE, 0x7F},
      {"include thread", IncludeThreadCallback, 0x7F, TRUE, 0x7F},
      {"include module", IncludeModuleCallback, 0x7F, TRUE, 0x7F},
      {"memory", MemoryCallback, 0x7F, FALSE, 0x7F},
      {"cancel", CancelCallback, 0x7F, FALSE, 0x7F},
      {"kernel minidump", WriteKernelMinidumpCallback, 0x7F, FALSE, 0x7F},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    MINIDUMP_CALLBACK_INPUT input = {};
    input.CallbackType = c.kind;
    MINIDUMP_CALLBACK_OUTPUT output = {};
    output.ModuleWriteFlags = c.flagsBefore;
    EXPECT_EQ(DumpCallback(nullptr, &input, &output), c.result);
    EXPECT_EQ(output.ModuleWriteFlags, c.flagsAfter);
  }
}

TEST(DumpCallback, RefusesMissingInputOrOutput) {
  MINIDUMP_CALLBACK_INPUT input = {};
  MINIDUMP_CALLBACK_OUTPUT output = {};
  EXPECT_FALSE(DumpCallback(nullptr, nullptr, &output));
  EXPECT_FALSE(DumpCallback(nullptr, &input, nullptr));
}

// Runs the crash probe from a private folder, as the client would run from
// its own, and waits for it to end.
class Crash : public ::testing::Test {
 protected:
  void SetUp() override {
    // A program folder with a Chinese name and a space, as a Chinese
    // installation has it.
    ASSERT_TRUE(::CreateDirectoryW(folder.Path().c_str(), nullptr));
    probe = folder / L"crash_probe.exe";
    ASSERT_TRUE(::CopyFileW(test::InTestBin(L"crash_probe.exe").c_str(), probe.c_str(), FALSE))
        << ::GetLastError();
  }

  DWORD RunProbe(const std::wstring& where) {
    test::TestProcess process = test::TestProcess::Start(probe, where);
    EXPECT_TRUE(process.IsStarted());
    bool sawWindow = false;
    const ULONGLONG deadline = ::GetTickCount64() + 60000;
    while (!process.WaitForExit(20) && ::GetTickCount64() < deadline) {
      sawWindow = sawWindow || !test::TopLevelWindowsOf(process.Id(), true).empty();
    }
    EXPECT_TRUE(process.HasExited()) << "the crashed process did not end";
    EXPECT_FALSE(sawWindow) << "a crash must not show anything";
    // Neither a debugger nor a new copy of the program may follow a crash.
    EXPECT_TRUE(test::ChildProcessIds(process.Id()).empty());
    return process.ExitCode().value_or(0);
  }

  std::wstring DumpFolder() const { return folder / L"dump\\"; }

  // A folder inside a temporary one, removed with it.
  struct Folder {
    std::wstring path;
    const std::wstring& Path() const { return path; }
    std::wstring operator/(const std::wstring& name) const { return path + name; }
  };
  test::TempFolder base;
  const Folder folder{base / L"崩溃 测试\\"};
  std::wstring probe;
};

// The local time as the dump's name spells it.
std::wstring LocalStamp() {
  SYSTEMTIME now;
  ::GetLocalTime(&now);
  wchar_t text[32];
  swprintf(text, 32, L"%04d%02d%02d_%02d%02d%02d", now.wYear, now.wMonth, now.wDay, now.wHour,
           now.wMinute, now.wSecond);
  return text;
}

TEST_F(Crash, WritesOneMinidumpNamedAfterTheLocalTime) {
  for (const wchar_t* where : {L"main", L"thread"}) {
    SCOPED_TRACE(::testing::Message() << "fault on " << (where[0] == L'm' ? "main" : "thread"));
    test::RemoveFolderRecursively(DumpFolder());
    ASSERT_EQ(::GetFileAttributesW(DumpFolder().c_str()), INVALID_FILE_ATTRIBUTES);

    const std::wstring before = LocalStamp();
    EXPECT_EQ(RunProbe(where), static_cast<DWORD>(EXCEPTION_ACCESS_VIOLATION));
    const std::wstring after = LocalStamp();

    // The missing dump folder was created, and holds exactly one dump.
    const std::vector<std::wstring> files = test::ListFolder(DumpFolder());
    ASSERT_EQ(files.size(), 1u);
    const std::wstring& name = files[0];
    ASSERT_TRUE(std::regex_match(name, std::wregex(L"\\d{8}_\\d{6}\\.dmp"))) << name.c_str();
    const std::wstring stamp = name.substr(0, 15);
    EXPECT_LE(before, stamp);
    EXPECT_GE(after, stamp);

    const std::string dump = test::ReadFileBytes(DumpFolder() + name);
    ASSERT_GE(dump.size(), 32u);
    EXPECT_EQ(dump.substr(0, 4), "MDMP");
  }
}

TEST_F(Crash, AFileNamedDumpMeansNoDumpButTheProcessStillEnds) {
  ASSERT_TRUE(test::WriteFileBytes(folder / L"dump", "not a folder"));
  EXPECT_EQ(RunProbe(L"main"), static_cast<DWORD>(EXCEPTION_ACCESS_VIOLATION));
  EXPECT_EQ(test::ReadFileBytes(folder / L"dump"), "not a folder");
  EXPECT_EQ(test::ListFolder(folder.Path()),
            (std::vector<std::wstring>{L"crash_probe.exe", L"dump"}));
}

TEST(CrashOnANetworkShare, WritesTheDumpBesideTheProgramThere) {
  const test::NetworkShare share;
  ASSERT_TRUE(share.IsReady());
  const std::wstring probe = share / L"app\\crash_probe.exe";
  ASSERT_TRUE(::CreateDirectoryW((share / L"app").c_str(), nullptr));
  ASSERT_TRUE(::CopyFileW(test::InTestBin(L"crash_probe.exe").c_str(), probe.c_str(), FALSE))
      << ::GetLastError();
  test::TestProcess process = test::TestProcess::Start(probe, L"thread");
  ASSERT_TRUE(process.IsStarted());
  ASSERT_TRUE(process.WaitForExit(60000));
  EXPECT_EQ(process.ExitCode().value_or(0), static_cast<DWORD>(EXCEPTION_ACCESS_VIOLATION));
  const std::vector<std::wstring> files = test::ListFolder(share / L"app\\dump\\");
  ASSERT_EQ(files.size(), 1u) << "no dump beside the program on the share";
  EXPECT_EQ(test::ReadFileBytes(share / (L"app\\dump\\" + files[0])).substr(0, 4), "MDMP");
}

TEST(ShippedProgramCrash, AFaultOnAnyThreadOfTheProgramWritesADump) {
  // The real program, at its window (without an engine it gets there at
  // once); a thread started in it from outside faults at its first
  // instruction, as a fault on any of its threads, the engine's included,
  // would.
  const test::ScopedEnvironment noEngine(L"TALMIC_BROWSER", test::kNoBrowserProgram);
  const test::ProgramFolder program("[System]\r\nloginurl=http://127.0.0.1:9/\r\n");
  ASSERT_TRUE(program.IsReady());
  test::TestProcess client = program.Start();
  ASSERT_TRUE(client.IsStarted());
  const HWND main = test::WaitForWindow(client, L"", 60000);
  ASSERT_NE(main, nullptr) << "the program showed no window";

  const auto faultAtStart = reinterpret_cast<LPTHREAD_START_ROUTINE>(uintptr_t{0x10});
  const CKernelHandle thread(
      ::CreateRemoteThread(client.Handle(), nullptr, 0, faultAtStart, nullptr, 0, nullptr));
  ASSERT_TRUE(thread.IsValid()) << ::GetLastError();
  EXPECT_TRUE(client.WaitForExit(60000)) << "the fault did not end the program";
  EXPECT_EQ(client.ExitCode().value_or(0), static_cast<DWORD>(EXCEPTION_ACCESS_VIOLATION));

  const std::vector<std::wstring> files = test::ListFolder(program / L"dump\\");
  ASSERT_EQ(files.size(), 1u);
  EXPECT_TRUE(std::regex_match(files[0], std::wregex(L"\\d{8}_\\d{6}\\.dmp"))) << files[0].c_str();
  EXPECT_EQ(test::ReadFileBytes(program / (L"dump\\" + files[0])).substr(0, 4), "MDMP");
}

}  // namespace
