#include "tests/support/NetworkShare.h"

#include <windows.h>

#include <atomic>

#include "tests/support/TempFolder.h"

namespace test {
namespace {

// The Wine prefix as a Windows path, or "" when not running under Wine.
std::wstring PrefixFolder() {
  wchar_t unixPath[MAX_PATH] = {};
  const DWORD length = ::GetEnvironmentVariableW(L"WINEPREFIX", unixPath, MAX_PATH);
  if (length == 0 || length >= MAX_PATH || unixPath[0] != L'/') return std::wstring();
  std::wstring path = L"Z:";
  for (const wchar_t* c = unixPath; *c != L'\0'; ++c) path += *c == L'/' ? L'\\' : *c;
  if (path.back() != L'\\') path += L'\\';
  return path;
}

}  // namespace

NetworkShare::NetworkShare() {
  // Wine answers a network path \\server\share\... from the folder
  // dosdevices\unc\server\share of its prefix; there is no network client.
  // A server name of the test's own keeps parallel tests apart.
  static std::atomic<unsigned> counter{0};
  const std::wstring prefix = PrefixFolder();
  if (prefix.empty()) return;
  m_server =
      L"talmic-" + std::to_wstring(::GetCurrentProcessId()) + L"-" + std::to_wstring(counter++);
  const std::wstring unc = prefix + L"dosdevices\\unc\\";
  ::CreateDirectoryW(unc.c_str(), nullptr);
  m_backing = unc + m_server + L"\\";
  if (!::CreateDirectoryW(m_backing.c_str(), nullptr)) return;
  if (!::CreateDirectoryW((m_backing + L"share").c_str(), nullptr)) return;
  m_path = L"\\\\" + m_server + L"\\share\\";
  m_ready = ::GetFileAttributesW(m_path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

NetworkShare::~NetworkShare() {
  if (!m_backing.empty()) RemoveFolderRecursively(m_backing);
}

}  // namespace test
