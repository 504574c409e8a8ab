#include "tests/support/ScopedShellFolder.h"

#include <windows.h>

namespace test {
namespace {

// The folder the system reads first, which may hold variables, and the one
// it keeps the resolved path in.
constexpr wchar_t kUserShellFolders[] =
    L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders";
constexpr wchar_t kShellFolders[] =
    L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";

std::optional<std::wstring> ReadValue(const wchar_t* key, const std::wstring& name) {
  wchar_t value[1024] = {};
  DWORD size = sizeof(value) - sizeof(wchar_t);
  if (::RegGetValueW(HKEY_CURRENT_USER, key, name.c_str(),
                     RRF_RT_REG_SZ | RRF_RT_REG_EXPAND_SZ | RRF_NOEXPAND, nullptr, value,
                     &size) != ERROR_SUCCESS) {
    return std::nullopt;
  }
  return std::wstring(value);
}

bool WriteValue(const wchar_t* key, const std::wstring& name,
                const std::optional<std::wstring>& value, DWORD type) {
  if (!value) {
    const LSTATUS status = ::RegDeleteKeyValueW(HKEY_CURRENT_USER, key, name.c_str());
    return status == ERROR_SUCCESS || status == ERROR_FILE_NOT_FOUND;
  }
  return ::RegSetKeyValueW(HKEY_CURRENT_USER, key, name.c_str(), type, value->c_str(),
                           static_cast<DWORD>((value->size() + 1) * sizeof(wchar_t))) ==
         ERROR_SUCCESS;
}

}  // namespace

ScopedShellFolder::ScopedShellFolder(const std::wstring& name, const std::wstring& folder)
    : m_name(name),
      m_user(ReadValue(kUserShellFolders, name)),
      m_resolved(ReadValue(kShellFolders, name)) {
  m_set = WriteValue(kUserShellFolders, name, folder, REG_EXPAND_SZ) &&
          WriteValue(kShellFolders, name, folder, REG_SZ);
}

ScopedShellFolder::~ScopedShellFolder() {
  WriteValue(kUserShellFolders, m_name, m_user, REG_EXPAND_SZ);
  WriteValue(kShellFolders, m_name, m_resolved, REG_SZ);
}

}  // namespace test
