// A stand-in for a console program such as arp or ipconfig.  Copied under
// that program's name, it prints the bytes of the file of its own name with
// ".txt" beside it, each line feed written as a carriage return and line
// feed the way console programs end their lines, and it records its
// arguments (joined by single spaces, UTF-8) in the file of its name with
// ".args", so that tests can tell it ran and how it was called.  Without an
// output file it prints nothing and exits with 1.
#include <windows.h>

#include <string>

#include "tests/support/TempFolder.h"
#include "util/UniqueHandle.h"

namespace {

void WriteAll(HANDLE handle, const std::string& bytes) {
  size_t done = 0;
  while (done < bytes.size()) {
    DWORD written = 0;
    if (!::WriteFile(handle, bytes.data() + done, static_cast<DWORD>(bytes.size() - done), &written,
                     nullptr) ||
        written == 0) {
      return;
    }
    done += written;
  }
}

std::string ToUtf8(const std::wstring& text) {
  if (text.empty()) return std::string();
  const int size = ::WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()),
                                         nullptr, 0, nullptr, nullptr);
  std::string bytes(static_cast<size_t>(size), '\0');
  ::WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), bytes.data(), size,
                        nullptr, nullptr);
  return bytes;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  wchar_t self[MAX_PATH * 4] = {};
  const DWORD length = ::GetModuleFileNameW(nullptr, self, MAX_PATH * 4);
  std::wstring stem(self, length);
  const size_t dot = stem.find_last_of(L'.');
  if (dot != std::wstring::npos && stem.find_last_of(L'\\') < dot) stem.resize(dot);

  std::wstring arguments;
  for (int i = 1; i < argc; ++i) {
    if (i > 1) arguments += L' ';
    arguments += argv[i];
  }
  {
    const CFileHandle record(::CreateFileW((stem + L".args").c_str(), GENERIC_WRITE, 0, nullptr,
                                           CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (record) WriteAll(record.Get(), ToUtf8(arguments));
  }

  const std::wstring outputFile = stem + L".txt";
  if (::GetFileAttributesW(outputFile.c_str()) == INVALID_FILE_ATTRIBUTES) return 1;
  std::string output;
  for (const char c : test::ReadFileBytes(outputFile)) {
    if (c == '\n') output += '\r';
    output += c;
  }
  WriteAll(::GetStdHandle(STD_OUTPUT_HANDLE), output);
  return 0;
}
