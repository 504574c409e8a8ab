// The process-wide settings: paths, the archive setting, plugins and the
// colour adjustment.

#include <windows.h>

#include <string>

#include "tests/support/TempFolder.h"
#include "tests/support/TestEnvironment.h"
#include "tests/toolkit/core/CoreTestSupport.h"
#include "toolkit/core/PaintManagerUI.h"

namespace {

using SkinUI::CPaintManagerUI;

struct PathCase {
  const wchar_t* given;
  const wchar_t* stored;
};

class ResourcePath : public test::SkinSettingsTest,
                     public ::testing::WithParamInterface<PathCase> {};

TEST_P(ResourcePath, EndsInASeparator) {
  CPaintManagerUI::SetResourcePath(GetParam().given);
  EXPECT_EQ(std::wstring(CPaintManagerUI::GetResourcePath()), GetParam().stored);
}

INSTANTIATE_TEST_SUITE_P(Paths, ResourcePath,
                         ::testing::Values(PathCase{L"C:\\app\\skin", L"C:\\app\\skin\\"},
                                           PathCase{L"C:\\app\\skin\\", L"C:\\app\\skin\\"},
                                           PathCase{L"C:/app/skin/", L"C:/app/skin/"},
                                           PathCase{L"skin", L"skin\\"}, PathCase{L"", L""},
                                           PathCase{nullptr, L""}));

class Settings : public test::SkinSettingsTest {};

TEST_F(Settings, TheInstancePathIsTheModulesFolder) {
  wchar_t module[MAX_PATH] = {};
  ::GetModuleFileNameW(nullptr, module, MAX_PATH);
  std::wstring folder(module);
  folder.erase(folder.rfind(L'\\') + 1);
  EXPECT_EQ(std::wstring(CPaintManagerUI::GetInstancePath()), folder);
  HINSTANCE instance = CPaintManagerUI::GetInstance();
  CPaintManagerUI::SetInstance(nullptr);
  EXPECT_TRUE(CPaintManagerUI::GetInstancePath().IsEmpty());
  CPaintManagerUI::SetInstance(instance);
  EXPECT_EQ(CPaintManagerUI::GetInstance(), instance);
}

TEST_F(Settings, TheCurrentPathIsTheProcesssCurrentDirectory) {
  const std::wstring before(CPaintManagerUI::GetCurrentPath());
  ASSERT_FALSE(before.empty());
  test::TempFolder folder;
  CPaintManagerUI::SetCurrentPath(folder.Path().c_str());
  std::wstring now(CPaintManagerUI::GetCurrentPath());
  CPaintManagerUI::SetCurrentPath(before.c_str());
  // The folder's path ends in a backslash, the current directory not.
  EXPECT_EQ(now + L"\\", folder.Path());
  EXPECT_EQ(std::wstring(CPaintManagerUI::GetCurrentPath()), before);
}

TEST_F(Settings, TheArchiveSettingIsStored) {
  CPaintManagerUI::SetResourcePath(test::CoreData().c_str());
  CPaintManagerUI::SetResourceZip(L"skin.zip");
  EXPECT_EQ(std::wstring(CPaintManagerUI::GetResourceZip()), L"skin.zip");
  EXPECT_FALSE(CPaintManagerUI::IsCachedResourceZip());
  EXPECT_EQ(CPaintManagerUI::GetResourceZipHandle(), nullptr);
  CPaintManagerUI::SetResourceZip(L"skin.zip", true);
  EXPECT_TRUE(CPaintManagerUI::IsCachedResourceZip());
  EXPECT_NE(CPaintManagerUI::GetResourceZipHandle(), nullptr);
  // The same setting again changes nothing.
  CPaintManagerUI::SetResourceZip(L"skin.zip", true);
  EXPECT_NE(CPaintManagerUI::GetResourceZipHandle(), nullptr);
}

TEST_F(Settings, TheColourAdjustmentIsClamped) {
  short h = 0;
  short s = 0;
  short l = 0;
  CPaintManagerUI::GetHSL(&h, &s, &l);
  EXPECT_EQ(h, 180);
  EXPECT_EQ(s, 100);
  EXPECT_EQ(l, 100);
  CPaintManagerUI::SetHSL(true, 400, -5, 250);
  CPaintManagerUI::GetHSL(&h, &s, &l);
  EXPECT_EQ(h, 360);
  EXPECT_EQ(s, 0);
  EXPECT_EQ(l, 200);
  CPaintManagerUI::SetHSL(false, -1, 150, 50);
  CPaintManagerUI::GetHSL(&h, &s, &l);
  EXPECT_EQ(h, 0);
  EXPECT_EQ(s, 150);
  EXPECT_EQ(l, 50);
  CPaintManagerUI::SetHSL(true, 180, 100, 100);
  CPaintManagerUI::GetHSL(&h, &s, &l);
  EXPECT_EQ(h, 180);
}

TEST_F(Settings, PluginsNeedTheirFactory) {
  EXPECT_FALSE(CPaintManagerUI::LoadPlugin(L"no-such-plugin.dll"));
  EXPECT_FALSE(CPaintManagerUI::LoadPlugin(L""));
  // kernel32 loads, but has no "CreateControl".
  EXPECT_FALSE(CPaintManagerUI::LoadPlugin(L"kernel32.dll"));
  const int before = CPaintManagerUI::GetPlugins()->GetSize();
  const std::wstring plugin = test::InTestBin(L"toolkit_test_plugin.dll");
  ASSERT_TRUE(CPaintManagerUI::LoadPlugin(plugin.c_str())) << "no plugin at " << plugin.size();
  ASSERT_EQ(CPaintManagerUI::GetPlugins()->GetSize(), before + 1);
  // Loading it again adds nothing.
  EXPECT_TRUE(CPaintManagerUI::LoadPlugin(plugin.c_str()));
  ASSERT_EQ(CPaintManagerUI::GetPlugins()->GetSize(), before + 1);
  auto create =
      reinterpret_cast<SkinUI::LPCREATECONTROL>(CPaintManagerUI::GetPlugins()->GetAt(before));
  EXPECT_EQ(reinterpret_cast<uintptr_t>(create(L"Anything")), 0x5EEDu);
}

}  // namespace
