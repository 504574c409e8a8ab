#include "app/AppConfig.h"

#include <windows.h>
#include <shlobj.h>

#include <cstdio>
#include <vector>

#include "util/UniqueHandle.h"

const std::wstring g_strConfigPath = GetModuleDirectory() + L"wex.ini";

std::wstring GetModuleDirectory() {
  wchar_t path[MAX_PATH] = {};
  ::GetModuleFileNameW(nullptr, path, MAX_PATH);
  // Older systems leave a path that fills the buffer unterminated; the cut
  // path is used as it comes back, so terminate it here.
  path[MAX_PATH - 1] = L'\0';

  std::wstring full(path);
  // A module's path is always absolute, but Wine gives that of a program
  // started from a network share as "UNC\server\share\..." (its internal
  // name without the "\??\" in front); taken as it is, that path would be
  // relative to the current folder, and the configuration, skins and crash
  // dumps would be looked for there.
  if (full.compare(0, 4, L"UNC\\") == 0) full.replace(0, 3, L"\\");
  const size_t slash = full.rfind(L'\\');
  if (slash == std::wstring::npos) return full + L'\\';
  return full.substr(0, slash + 1);
}

std::string GetAppDataFolder() {
  char shortPath[MAX_PATH] = {};
  LPITEMIDLIST itemList = nullptr;
  if (SUCCEEDED(::SHGetSpecialFolderLocation(nullptr, CSIDL_LOCAL_APPDATA, &itemList))) {
    const CCoTaskMem owner(itemList);
    char longPath[MAX_PATH] = {};
    if (::SHGetPathFromIDListA(itemList, longPath)) {
      if (::GetShortPathNameA(longPath, shortPath, MAX_PATH) >= MAX_PATH) {
        // Too long for the buffer: the call wrote nothing we may use.
        shortPath[0] = '\0';
      }
    }
  }
  return std::string(shortPath) + "\\KelpBrowser\\";
}

std::string GetProductVersion() {
  char path[4096] = {};
  ::GetModuleFileNameA(nullptr, path, sizeof(path) - 1);

  DWORD ignored = 0;
  const DWORD size = ::GetFileVersionInfoSizeA(path, &ignored);
  if (size == 0) return std::string();
  std::vector<BYTE> data(size);
  if (!::GetFileVersionInfoA(path, 0, size, data.data())) return std::string();

  VS_FIXEDFILEINFO* info = nullptr;
  UINT length = 0;
  if (!::VerQueryValueW(data.data(), L"\\", reinterpret_cast<void**>(&info), &length) ||
      info == nullptr || length < sizeof(VS_FIXEDFILEINFO)) {
    return std::string();
  }

  char text[200] = {};
  std::snprintf(text, sizeof(text), "%d.%d.%d.%d", HIWORD(info->dwProductVersionMS),
                LOWORD(info->dwProductVersionMS), HIWORD(info->dwProductVersionLS),
                LOWORD(info->dwProductVersionLS));
  return text;
}

std::wstring ReadLoginUrl() {
  wchar_t url[260] = {};
  ::GetPrivateProfileStringW(L"System", L"loginurl", L"", url, 260, g_strConfigPath.c_str());
  return url;
}
