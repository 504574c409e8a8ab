#include "tests/support/TempFolder.h"

#include <windows.h>

#include <algorithm>
#include <atomic>

#include "util/UniqueHandle.h"

namespace test {

TempFolder::TempFolder() {
  static std::atomic<unsigned> counter{0};
  wchar_t base[MAX_PATH] = {};
  ::GetTempPathW(MAX_PATH, base);
  for (;;) {
    wchar_t name[64];
    swprintf(name, 64, L"talmic-test-%lu-%u-%lu", ::GetCurrentProcessId(), counter++,
             ::GetTickCount());
    m_path = std::wstring(base) + name + L"\\";
    if (::CreateDirectoryW(m_path.c_str(), nullptr)) break;
    if (::GetLastError() != ERROR_ALREADY_EXISTS) break;
  }
}

TempFolder::~TempFolder() { RemoveFolderRecursively(m_path); }

void RemoveFolderRecursively(const std::wstring& folder) {
  std::wstring base = folder;
  if (!base.empty() && base.back() != L'\\') base += L'\\';
  WIN32_FIND_DATAW entry;
  {
    const CFindHandle find(::FindFirstFileW((base + L"*").c_str(), &entry));
    if (find) {
      do {
        const std::wstring name = entry.cFileName;
        if (name == L"." || name == L"..") continue;
        const std::wstring path = base + name;
        ::SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL |
                                               (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY));
        if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
          RemoveFolderRecursively(path);
        } else {
          ::DeleteFileW(path.c_str());
        }
      } while (::FindNextFileW(find.Get(), &entry));
    }
  }
  ::SetFileAttributesW(base.c_str(), FILE_ATTRIBUTE_DIRECTORY);
  ::RemoveDirectoryW(base.c_str());
}

bool CopyFolder(const std::wstring& from, const std::wstring& to) {
  std::wstring source = from, target = to;
  if (source.back() != L'\\') source += L'\\';
  if (target.back() != L'\\') target += L'\\';
  ::CreateDirectoryW(target.c_str(), nullptr);
  WIN32_FIND_DATAW entry;
  const CFindHandle find(::FindFirstFileW((source + L"*").c_str(), &entry));
  if (!find) return false;
  bool ok = true;
  do {
    const std::wstring name = entry.cFileName;
    if (name == L"." || name == L"..") continue;
    if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
      ok = CopyFolder(source + name, target + name) && ok;
    } else {
      ok = ::CopyFileW((source + name).c_str(), (target + name).c_str(), FALSE) && ok;
    }
  } while (::FindNextFileW(find.Get(), &entry));
  return ok;
}

bool WriteFileBytes(const std::wstring& path, const std::string& bytes) {
  const CFileHandle file(::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                       FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return false;
  DWORD written = 0;
  return ::WriteFile(file.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written,
                     nullptr) &&
         written == bytes.size();
}

std::string ReadFileBytes(const std::wstring& path) {
  const CFileHandle file(::CreateFileW(path.c_str(), GENERIC_READ,
                                       FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                       FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return std::string();
  std::string bytes;
  char buffer[65536];
  DWORD got = 0;
  while (::ReadFile(file.Get(), buffer, sizeof(buffer), &got, nullptr) && got > 0) {
    bytes.append(buffer, got);
  }
  return bytes;
}

std::vector<std::wstring> ListFolder(const std::wstring& folder) {
  std::wstring base = folder;
  if (!base.empty() && base.back() != L'\\') base += L'\\';
  std::vector<std::wstring> names;
  WIN32_FIND_DATAW entry;
  const CFindHandle find(::FindFirstFileW((base + L"*").c_str(), &entry));
  if (!find) return names;
  do {
    const std::wstring name = entry.cFileName;
    if (name != L"." && name != L"..") names.push_back(name);
  } while (::FindNextFileW(find.Get(), &entry));
  std::sort(names.begin(), names.end());
  return names;
}

}  // namespace test
