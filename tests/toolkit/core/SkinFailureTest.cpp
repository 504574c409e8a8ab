// A skin that cannot be built, end to end: a real program shows the error
// message box without owner and ends with exit code 1 once it is closed.

#include <windows.h>

#include <string>

#include "gtest/gtest.h"
#include "tests/support/TestEnvironment.h"
#include "tests/support/TestProcess.h"
#include "tests/support/WindowProbe.h"

namespace {

constexpr wchar_t kMessageBoxClass[] = L"#32770";
// The static control holding a message box's text.
constexpr int kMessageBoxTextId = 0xFFFF;

std::wstring WindowText(HWND window) {
  wchar_t text[256] = {};
  ::GetWindowTextW(window, text, 256);
  return text;
}

class SkinFailure : public ::testing::TestWithParam<const wchar_t*> {};

TEST_P(SkinFailure, ShowsTheErrorBoxAndEndsWithCodeOne) {
  test::TestProcess process =
      test::TestProcess::Start(test::InTestBin(L"broken_skin_window.exe"), GetParam());
  ASSERT_TRUE(process.IsStarted());
  const HWND box = test::WaitForWindow(process, kMessageBoxClass, 30000);
  ASSERT_NE(box, nullptr) << "no message box came";
  EXPECT_EQ(WindowText(box), L"SkinUI");
  EXPECT_EQ(WindowText(::GetDlgItem(box, kMessageBoxTextId)), L"加载资源文件失败");
  EXPECT_EQ(::GetWindow(box, GW_OWNER), nullptr);
  // The process waits for the user.
  EXPECT_FALSE(process.WaitForExit(300));

  ::PostMessageW(box, WM_COMMAND, IDOK, 0);
  ASSERT_TRUE(process.WaitForExit(15000));
  EXPECT_EQ(process.ExitCode(), 1u);
}

INSTANTIATE_TEST_SUITE_P(Skins, SkinFailure, ::testing::Values(L"missing", L"malformed"),
                         [](const ::testing::TestParamInfo<const wchar_t*>& info) {
                           return std::string(info.param, info.param + std::wcslen(info.param));
                         });

// The same program with a skin that builds gets past its window and shows
// nothing: the exit code above comes from the failure, not the program.
TEST(SkinFailureProbe, AValidSkinShowsNoBoxAndEndsNormally) {
  test::TestProcess process =
      test::TestProcess::Start(test::InTestBin(L"broken_skin_window.exe"), L"valid");
  ASSERT_TRUE(process.IsStarted());
  ASSERT_TRUE(process.WaitForExit(30000));
  EXPECT_EQ(process.ExitCode(), 0u);
}

}  // namespace
