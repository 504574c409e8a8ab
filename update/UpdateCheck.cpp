#include "update/UpdateCheck.h"

#include <windows.h>
#include <shellapi.h>
#include <tlhelp32.h>

#include <json/reader.h>
#include <json/value.h>

#include <cstring>
#include <exception>

#include "app/AppConfig.h"
#include "update/HttpClient.h"
#include "util/TextUtil.h"
#include "util/UniqueHandle.h"

namespace {

constexpr char kUpdaterName[] = "TalmicUpdate.exe";
constexpr wchar_t kUpdaterFile[] = L"TalmicUpdate.exe";
constexpr wchar_t kUpdaterParameters[] = L"TalmicUpdate";
constexpr char kUpdatePage[] = "common/checkVersions.jhtml";

// Whether the server's reply asks for an update from the local version.
bool ReplyAsksForUpdate(const std::string& reply, const std::string& localVersion) {
  Json::Value root;
  try {
    // The reader's default features: comments allowed, any value as root.
    Json::Reader reader;
    if (!reader.parse(reply, root)) return false;
  } catch (const std::exception&) {
    // The reader gives up on replies nested too deeply by throwing.
    return false;
  }
  if (!root.isObject()) return false;

  const Json::Value& version = root["version"];
  if (version.isArray() || version.isObject()) return false;
  // Inequality, not ordering: an older server version is an update too.
  if (version.asString() == localVersion) return false;

  const Json::Value& files = root["upFiles"];
  return files.isArray() && files.size() > 0;
}

}  // namespace

uint32_t IsUpdaterRunning() {
  const CFileHandle snapshot(::CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
  if (!snapshot) return 0;

  PROCESSENTRY32W entry = {};
  entry.dwSize = sizeof(entry);
  for (BOOL more = ::Process32FirstW(snapshot.Get(), &entry); more;
       more = ::Process32NextW(snapshot.Get(), &entry)) {
    if (WideToUtf8(entry.szExeFile, std::wcslen(entry.szExeFile)) == kUpdaterName) {
      return entry.th32ProcessID;
    }
  }
  return 0;
}

std::string UpdateAddressFromLoginUrl(const std::string& loginUrl) {
  // An absolute URL keeps its own scheme, host and port, and the folder is
  // taken from its path alone: a "/" in the query or the fragment is not a
  // folder, and a URL without a path has the root folder (taking the last
  // "/" of "http://host:port" would make "common" the host).
  const size_t scheme = loginUrl.find("://");
  if (scheme != std::string::npos && scheme > 0 && loginUrl.find_first_of("/?#") == scheme + 1) {
    const size_t pathStart = loginUrl.find_first_of("/?#", scheme + 3);
    const std::string origin = loginUrl.substr(0, pathStart);
    std::string path;
    if (pathStart != std::string::npos && loginUrl[pathStart] == '/') {
      path = loginUrl.substr(pathStart, loginUrl.find_first_of("?#", pathStart) - pathStart);
    }
    const std::string folder = path.empty() ? "/" : path.substr(0, path.rfind('/') + 1);
    return origin + folder + kUpdatePage;
  }
  const size_t slash = loginUrl.rfind('/');
  if (slash == std::string::npos || slash == 0) return loginUrl;
  return loginUrl.substr(0, slash + 1) + kUpdatePage;
}

bool CheckForUpdate() {
  const std::string localVersion = GetProductVersion();
  const std::string address = UpdateAddressFromLoginUrl(WideToUtf8(ReadLoginUrl()));

  CHttpClient client;
  const std::wstring reply = client.Post(address);
  if (reply.empty()) return false;
  if (!ReplyAsksForUpdate(WideToUtf8(reply), localVersion)) return false;

  const std::wstring updater = GetModuleDirectory() + kUpdaterFile;
  if (::GetFileAttributesW(updater.c_str()) == INVALID_FILE_ATTRIBUTES) return false;

  ShellOpen(updater, kUpdaterParameters);
  return true;
}

void ShellOpen(const std::wstring& path, const std::wstring& parameters) {
  const std::wstring target = TrimRight(TrimLeft(path.c_str()).c_str());
  ::ShellExecuteW(nullptr, L"open", target.c_str(), parameters.c_str(), nullptr, SW_SHOWNORMAL);
}
