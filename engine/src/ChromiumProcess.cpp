#include "src/ChromiumProcess.h"

#include <winsock2.h>
#include <windows.h>

#include <string>
#include <utility>

#include "src/DevToolsSocket.h"
#include "util/UniqueHandle.h"

namespace engine {
namespace {

constexpr DWORD kStartTimeoutMs = 30000;
constexpr DWORD kStopTimeoutMs = 15000;

bool FileExists(const std::wstring& path) {
  return ::GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::wstring Quoted(const std::wstring& text) { return L"\"" + text + L"\""; }

}  // namespace

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
  return Launch(executable, profileFolder, switches) && WaitUntilReady();
}

bool ChromiumProcess::Launch(const std::wstring& executable, const std::wstring& profileFolder,
                             const std::vector<std::wstring>& switches) {
  Stop();
  if (executable.empty() || profileFolder.empty()) return false;
  ::CreateDirectoryW(profileFolder.c_str(), nullptr);
  std::wstring folder = profileFolder;
  if (folder.back() != L'\\') folder += L'\\';
  // The browser writes its DevTools port and path here once it listens; a
  // file left by an earlier run must not be mistaken for that.
  m_portFile = folder + L"DevToolsActivePort";
  ::DeleteFileW(m_portFile.c_str());

  std::wstring commandLine = Quoted(NativePath(executable));
  // Under Wine a native browser inherits the Unix output of the program
  // that started Wine, whatever standard handles it is given; a shell in
  // between points its output at nothing, so that the browser holds no
  // pipe of anyone's open.
  const std::wstring shell = L"Z:\\bin\\sh";
  if (NativePath(executable) != executable && FileExists(shell)) {
    commandLine = Quoted(NativePath(shell)) +
                  L" -c \"exec \\\"$0\\\" \\\"$@\\\" </dev/null >/dev/null 2>&1\" " + commandLine;
  }
  const wchar_t* const fixed[] = {
      L"--headless=new",
      L"--no-sandbox",
      L"--disable-gpu",
      L"--no-first-run",
      L"--no-default-browser-check",
      L"--disable-background-networking",
      L"--disable-component-update",
      L"--disable-sync",
      // Pages of every origin share one renderer, so that one session sees
      // every frame; and a page may open windows without a user gesture,
      // as the embedding application decides about each one itself.
      L"--disable-site-isolation-trials",
      L"--disable-features=IsolateOrigins,site-per-process",
      L"--disable-popup-blocking",
      // The page is always on screen for its user, even though the browser
      // shows no window of its own.
      L"--disable-background-timer-throttling",
      L"--disable-renderer-backgrounding",
      L"--disable-backgrounding-occluded-windows",
      // What the browser logs stays out of the program's output.
      L"--log-level=3",
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
  // Under Wine a native program comes without process or thread handles.
  if (info.hThread != nullptr) ::CloseHandle(info.hThread);
  m_process = info.hProcess;
  m_launched = true;
  m_profileFolder = folder;
  return true;
}

bool ChromiumProcess::WaitUntilReady() {
  if (!m_launched) return false;
  m_launched = false;
  const CKernelHandle process(std::exchange(m_process, nullptr));
  const std::wstring& portFile = m_portFile;
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
  if (m_launched) {
    // Launched but never waited for: end it by its handle where the
    // platform gives one.
    if (m_process != nullptr) {
      ::TerminateProcess(m_process, 1);
      ::CloseHandle(std::exchange(m_process, nullptr));
    }
    m_launched = false;
  }
  if (m_port == 0) return;
  {
    DevToolsSocket socket;
    if (socket.Connect(m_port, m_browserPath)) socket.Send(R"({"id":1,"method":"Browser.close"})");
  }
  // Under Wine the browser is a native process without a waitable handle;
  // its DevTools endpoint goes away when it has ended.
  const ULONGLONG deadline = ::GetTickCount64() + kStopTimeoutMs;
  while (LoopbackPortAnswers(m_port) && ::GetTickCount64() < deadline) ::Sleep(25);
  // The endpoint closes before the browser has let go of its profile; the
  // profile's lock entry goes last.
  const std::wstring lock = m_profileFolder + L"SingletonLock";
  while (::GetTickCount64() < deadline) {
    WIN32_FIND_DATAW found;
    const CFindHandle entry(::FindFirstFileW(lock.c_str(), &found));
    if (!entry) break;
    ::Sleep(25);
  }
  m_port = 0;
  m_browserPath.clear();
}

}  // namespace engine
