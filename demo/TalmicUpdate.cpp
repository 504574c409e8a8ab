// A stand-in for the updater, which is a program of its own outside this
// client.  It records how it was started, its command line and working
// folder, one per line in UTF-8, into the file named by the environment
// variable TALMIC_UPDATER_RECORD (nothing when it is unset), and ends.
#include <windows.h>

#include <string>

#include "util/TextUtil.h"
#include "util/UniqueHandle.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, LPWSTR, int) {
  wchar_t record[MAX_PATH * 2] = {};
  const DWORD length = ::GetEnvironmentVariableW(L"TALMIC_UPDATER_RECORD", record, MAX_PATH * 2);
  if (length == 0 || length >= MAX_PATH * 2) return 0;

  wchar_t folder[MAX_PATH] = {};
  ::GetCurrentDirectoryW(MAX_PATH, folder);
  const std::string text = WideToUtf8(::GetCommandLineW()) + "\n" + WideToUtf8(folder) + "\n";

  const CFileHandle file(::CreateFileW(record, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                       FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return 1;
  DWORD written = 0;
  return ::WriteFile(file.Get(), text.data(), static_cast<DWORD>(text.size()), &written, nullptr)
             ? 0
             : 1;
}
