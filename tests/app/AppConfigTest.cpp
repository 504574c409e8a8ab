#include "app/AppConfig.h"

#include <windows.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "tests/support/ScopedShellFolder.h"
#include "tests/support/TempFolder.h"
#include "util/FileUtil.h"
#include "util/TextUtil.h"

namespace {

std::wstring ExecutablePath() {
  wchar_t path[MAX_PATH] = {};
  ::GetModuleFileNameW(nullptr, path, MAX_PATH);
  return path;
}

TEST(ModuleDirectory, IsTheExecutablesFolderWithATrailingBackslash) {
  const std::wstring directory = GetModuleDirectory();
  const std::wstring exe = ExecutablePath();
  ASSERT_FALSE(directory.empty());
  EXPECT_EQ(directory.back(), L'\\');
  EXPECT_EQ(exe.compare(0, directory.size(), directory), 0) << "directory of " << exe.c_str();
  EXPECT_EQ(exe.find(L'\\', directory.size()), std::wstring::npos);
}

TEST(ModuleDirectory, ConfigurationPathIsBesideTheExecutable) {
  EXPECT_EQ(g_strConfigPath, GetModuleDirectory() + L"wex.ini");
}

// Writes the configuration file beside this test program for one test and
// removes it afterwards, so each case starts from no file at all.
class LoginUrl : public ::testing::Test {
 protected:
  void TearDown() override { ::DeleteFileW(g_strConfigPath.c_str()); }
  void Write(const std::string& bytes) {
    ASSERT_TRUE(test::WriteFileBytes(g_strConfigPath, bytes));
  }
};

TEST_F(LoginUrl, MissingFileGivesEmptyText) {
  ::DeleteFileW(g_strConfigPath.c_str());
  EXPECT_EQ(ReadLoginUrl(), L"");
}

TEST_F(LoginUrl, ReadsOnlyTheKeyOfSectionSystem) {
  struct Case {
    const char* name;
    std::string file;
    std::wstring expected;
  };
  const std::string long300(300, 'x');
  const Case cases[] = {
      {"plain", "[System]\r\nloginurl=http://host/app/login.jhtml\r\n",
       L"http://host/app/login.jhtml"},
      {"other section", "[Other]\r\nloginurl=http://host/\r\n", L""},
      {"other key", "[System]\r\nloginUrlX=http://host/\r\n", L""},
      {"section name is not case-sensitive", "[system]\r\nLOGINURL=http://h/\r\n", L"http://h/"},
      {"empty value", "[System]\r\nloginurl=\r\n", L""},
      {"blanks around the value", "[System]\r\nloginurl =  http://h/a  \r\n", L"http://h/a"},
      {"300 characters are cut to 259", "[System]\r\nloginurl=" + long300 + "\r\n",
       std::wstring(259, L'x')},
      {"later sections do not override", "[System]\r\nloginurl=a\r\n[Extra]\r\nloginurl=b\r\n",
       L"a"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Write(c.file);
    EXPECT_EQ(ReadLoginUrl(), c.expected);
  }
}

TEST_F(LoginUrl, ReadsAUnicodeFile) {
  // A file saved as UTF-16 with its byte-order mark keeps characters that the
  // ANSI code page cannot hold.
  const std::wstring text = L"\xFEFF[System]\r\nloginurl=http://h/\x767B\x5F55?x=\x00E9\r\n";
  Write(std::string(reinterpret_cast<const char*>(text.data()), text.size() * sizeof(wchar_t)));
  EXPECT_EQ(ReadLoginUrl(), L"http://h/\x767B\x5F55?x=\x00E9");
}

TEST_F(LoginUrl, EachCallReadsTheFileAnew) {
  Write("[System]\r\nloginurl=first\r\n");
  EXPECT_EQ(ReadLoginUrl(), L"first");
  Write("[System]\r\nloginurl=second\r\n");
  EXPECT_EQ(ReadLoginUrl(), L"second");
}

TEST(ProductVersion, IsTheProductVersionNotTheFileVersion) {
  // This test program's version resource says product 2.10.0.7, file 3.1.4.1.
  EXPECT_EQ(GetProductVersion(), "2.10.0.7");
}

TEST(AppDataFolder, IsTheShortLocalApplicationDataFolderAndKelpBrowser) {
  // The account's own folder, and one whose name has Chinese characters
  // and a space, as an account named in Chinese has: its short form is
  // another name altogether.
  const test::TempFolder elsewhere;
  const std::wstring chinese = elsewhere / L"用户 数据\\Local";
  ASSERT_TRUE(CreateDirectoryTree(chinese.c_str()));
  for (const bool redirected : {false, true}) {
    SCOPED_TRACE(redirected ? "Chinese folder with a space" : "the account's folder");
    std::unique_ptr<test::ScopedShellFolder> shellFolder;
    if (redirected) {
      shellFolder = std::make_unique<test::ScopedShellFolder>(L"Local AppData", chinese);
      ASSERT_TRUE(shellFolder->IsSet());
    }
    const std::string folder = GetAppDataFolder();
    const std::string suffix = "\\KelpBrowser\\";
    ASSERT_GT(folder.size(), suffix.size());
    ASSERT_EQ(folder.substr(folder.size() - suffix.size()), suffix);
    const std::string base = folder.substr(0, folder.size() - suffix.size());
    EXPECT_EQ(base.find(' '), std::string::npos) << base;

    char expected[MAX_PATH] = {};
    ASSERT_EQ(::SHGetFolderPathA(nullptr, CSIDL_LOCAL_APPDATA, nullptr, 0, expected), S_OK);
    char longForm[MAX_PATH] = {};
    ASSERT_NE(::GetLongPathNameA(base.c_str(), longForm, MAX_PATH), 0u) << base;
    EXPECT_EQ(::lstrcmpiA(longForm, expected), 0) << longForm << " vs " << expected;
    if (redirected) {
      wchar_t wideLong[MAX_PATH] = {};
      ASSERT_NE(::GetLongPathNameW(AnsiToWide(base).c_str(), wideLong, MAX_PATH), 0u);
      EXPECT_EQ(std::wstring(wideLong), chinese);
    }
  }
}

}  // namespace
