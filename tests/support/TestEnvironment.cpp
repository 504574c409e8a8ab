#include "tests/support/TestEnvironment.h"

#include <windows.h>

namespace test {
namespace {

std::wstring FolderFromEnvironment(const wchar_t* name) {
  wchar_t value[MAX_PATH * 4] = {};
  const DWORD length = ::GetEnvironmentVariableW(name, value, MAX_PATH * 4);
  if (length == 0 || length >= MAX_PATH * 4) return std::wstring();
  std::wstring folder(value);
  if (!folder.empty() && folder.back() != L'\\') folder += L'\\';
  return folder;
}

}  // namespace

std::wstring DistFolder() { return FolderFromEnvironment(L"TALMIC_DIST"); }
std::wstring TestBinFolder() { return FolderFromEnvironment(L"TALMIC_TEST_BIN"); }
std::wstring InDist(const std::wstring& name) { return DistFolder() + name; }
std::wstring InTestBin(const std::wstring& name) { return TestBinFolder() + name; }

}  // namespace test
