#include "src/ChromiumProcess.h"

#include <winsock2.h>
#include <windows.h>

#include <string>

#include "src/DevToolsSocket.h"
#include "util/UniqueHandle.h"

namespace engine {
namespace {

constexpr DWORD kStartTimeoutMs = 30000;
constexpr DWORD kStopTimeoutMs = 15000;

bool FileExists(const std::wstring& path) {
  return ::GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

// Under Wine the browser is a native program, which needs native paths; on
// Windows the path is used as it is.
std::wstring NativePath(const std::wstring& path) {
  using ToUnix = char*(__cdecl*)(const wchar_t*);
  const auto toUnix = reinterpret_cast<ToUnix>(reinterpret_cast<void*>(
      ::GetProcAddress(::GetModuleHandleW(L"kernel32.dll"), "wine_get_unix_file_name")));
  if (toUnix == nullptr) return path;
  char* unixPath = toUnix(path.c_str());
  if (unixPath == nullptr) return path;
  const int units = ::MultiByteToWideChar(CP_UTF8, 0, unixPath, -1, nullptr, 0);
  std::wstring result(static_cast<size_t>(units > 0 ? units - 1 : 0), L'\0');
  ::MultiByteToWideChar(CP_UTF8, 0, unixPath, -1, result.data(), units);
  ::HeapFree(::GetProcessHeap(), 0, unixPath);
  return result;
}

std::wstring Quoted(const std::wstring& text) { return L"\"" + text + L"\""; }

}  // namespace

bool LoopbackPortAnswers(uint16_t port) {
  WSADATA data;
  if (::WSAStartup(MAKEWORD(2, 2), &data) != 0) return false;
  SOCKET probe = ::socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
  sockaddr_in address = {};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  address.sin_port = htons(port);
  const bool answers =
      probe != INVALID_SOCKET &&
      ::connect(probe, reinterpret_cast<sockaddr*>(&address), sizeof(address)) == 0;
  if (probe != INVALID_SOCKET) ::closesocket(probe);
  ::WSACleanup();
  return answers;
}

ChromiumProcess::~ChromiumProcess() { Stop(); }

std::wstring ChromiumProcess::FindExecutable() {
  wchar_t chosen[MAX_PATH] = {};
  const DWORD length = ::GetEnvironmentVariableW(L"TALMIC_BROWSER", chosen, MAX_PATH);
  if (length > 0 && length < MAX_PATH) return FileExists(chosen) ? chosen : std::wstring();

  const wchar_t* const candidates[] = {
      L"Z:\\usr\\lib\\chromium\\chromium",
      L"C:\\Program Files (x86)\\Microsoft\\Edge\\Application\\msedge.exe",
      L"C:\\Program Files\\Microsoft\\Edge\\Application\\msedge.exe",
      L"C:\\Program Files\\Google\\Chrome\\Application\\chrome.exe",
      L"C:\\Program Files (x86)\\Google\\Chrome\\Application\\chrome.exe",
  };
  for (const wchar_t* candidate : candidates) {
    if (FileExists(candidate)) return candidate;
  }
  return std::wstring();
}

bool ChromiumProcess::Start(const std::wstring& executable, const std::wstring& profileFolder,
                            const std::vector<std::wstring>& switches) {
  Stop();
  if (executable.empty() || profileFolder.empty()) return false;
  ::CreateDirectoryW(profileFolder.c_str(), nullptr);
  std::wstring folder = profileFolder;
  if (folder.back() != L'\\') folder += L'\\';
  // The browser writes its DevTools port and path here once it listens; a
  // file left by an earlier run must not be mistaken for that.
  const std::wstring portFile = folder + L"DevToolsActivePort";
  ::DeleteFileW(portFile.c_str());

  std::wstring commandLine = Quoted(NativePath(executable));
  const wchar_t* const fixed[] = {
      L"--headless=new",
      L"--no-sandbox",
      L"--disable-gpu",
      L"--no-first-run",
      L"--no-default-browser-check",
      L"--disable-background-networking",
      L"--disable-component-update",
      L"--disable-sync",
      L"--remote-debugging-address=127.0.0.1",
      L"--remote-debugging-port=0",
  };
  for (const wchar_t* option : fixed) commandLine += L" " + std::wstring(option);
  commandLine += L" " + Quoted(L"--user-data-dir=" + NativePath(folder));
  for (const std::wstring& option : switches) commandLine += L" " + option;
  commandLine += L" about:blank";

  // What the browser prints is the engine's log, not the program's output.
  SECURITY_ATTRIBUTES inheritable = {sizeof(inheritable), nullptr, TRUE};
  const CFileHandle nul(::CreateFileW(L"NUL", GENERIC_READ | GENERIC_WRITE,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE, &inheritable,
                                      OPEN_EXISTING, 0, nullptr));
  STARTUPINFOW startup = {};
  startup.cb = sizeof(startup);
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdInput = nul.Get();
  startup.hStdOutput = nul.Get();
  startup.hStdError = nul.Get();
  PROCESS_INFORMATION info = {};
  if (!::CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, TRUE, CREATE_NO_WINDOW,
                        nullptr, nullptr, &startup, &info)) {
    return false;
  }
  const CKernelHandle process(info.hProcess);
  const CKernelHandle thread(info.hThread);

  const ULONGLONG deadline = ::GetTickCount64() + kStartTimeoutMs;
  while (::GetTickCount64() < deadline) {
    const CFileHandle file(::CreateFileW(portFile.c_str(), GENERIC_READ,
                                         FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                         nullptr, OPEN_EXISTING, 0, nullptr));
    if (file) {
      char text[512] = {};
      DWORD got = 0;
      ::ReadFile(file.Get(), text, sizeof(text) - 1, &got, nullptr);
      const std::string content(text, got);
      const size_t line = content.find('\n');
      if (line != std::string::npos) {
        const unsigned long port = std::strtoul(content.c_str(), nullptr, 10);
        std::string path = content.substr(line + 1);
        while (!path.empty() && (path.back() == '\n' || path.back() == '\r')) path.pop_back();
        if (port > 0 && port < 65536 && !path.empty() &&
            LoopbackPortAnswers(static_cast<uint16_t>(port))) {
          m_port = static_cast<uint16_t>(port);
          m_browserPath = path;
          m_profileFolder = folder;
          return true;
        }
      }
    }
    ::Sleep(25);
  }
  // It never listened: end it by its handle, where the platform gives one.
  ::TerminateProcess(process.Get(), 1);
  return false;
}

void ChromiumProcess::Stop() {
  if (m_port == 0) return;
  {
    DevToolsSocket socket;
    if (socket.Connect(m_port, m_browserPath)) socket.Send(R"({"id":1,"method":"Browser.close"})");
  }
  // Under Wine the browser is a native process without a waitable handle;
  // its DevTools endpoint goes away when it has ended.
  const ULONGLONG deadline = ::GetTickCount64() + kStopTimeoutMs;
  while (LoopbackPortAnswers(m_port) && ::GetTickCount64() < deadline) ::Sleep(25);
  m_port = 0;
  m_browserPath.clear();
}

}  // namespace engine
