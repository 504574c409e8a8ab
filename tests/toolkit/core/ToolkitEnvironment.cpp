#include "tests/toolkit/core/ToolkitEnvironment.h"

#include <windows.h>

#include "toolkit/core/PaintManagerUI.h"

namespace test {
namespace {

const auto* const kEnvironment = ::testing::AddGlobalTestEnvironment(new ToolkitEnvironment);

}  // namespace

void ToolkitEnvironment::SetUp() {
  SkinUI::CPaintManagerUI::SetInstance(::GetModuleHandleW(nullptr));
}

std::wstring ToolkitEnvironment::DataFile(const wchar_t* variable, const std::wstring& name) {
  wchar_t value[MAX_PATH * 2] = {};
  const DWORD length = ::GetEnvironmentVariableW(variable, value, MAX_PATH * 2);
  if (length == 0 || length >= MAX_PATH * 2) return std::wstring();
  std::wstring folder(value, length);
  if (folder.back() != L'\\') folder += L'\\';
  return folder + name;
}

void ToolkitEnvironment::ResetSkinSettings() {
  SkinUI::CPaintManagerUI::SetResourceZip(L"", false);
  SkinUI::CPaintManagerUI::SetResourcePath(L"");
  SkinUI::CPaintManagerUI::SetResourceDll(nullptr);
}

}  // namespace test
