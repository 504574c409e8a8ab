#include "src/ChromiumProcess.h"

#include <winsock2.h>
#include <windows.h>

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#include "src/DevToolsSocket.h"
#include "util/UniqueHandle.h"

namespace engine {
namespace {

constexpr DWORD kStartTimeoutMs = 30000;
// How often the port file is read when no change of the profile folder
// wakes the wait first.
constexpr DWORD kReadyPollMs = 25;
constexpr DWORD kStopTimeoutMs = 15000;

bool FileExists(const std::wstring& path) {
  return ::GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::wstring Quoted(const std::wstring& text) { return L"\"" + text + L"\""; }

// The first bytes of a small file, or "" when it cannot be read.
std::string ReadSmallFile(const std::wstring& path) {
  const CFileHandle file(::CreateFileW(path.c_str(), GENERIC_READ,
                                       FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                       nullptr, OPEN_EXISTING, 0, nullptr));
  if (!file) return std::string();
  char text[512] = {};
  DWORD got = 0;
  if (!::ReadFile(file.Get(), text, sizeof(text) - 1, &got, nullptr)) return std::string();
  return std::string(text, got);
}

// Under Wine, the Unix process id of the program itself; 0 elsewhere.
// Wine opens files in its server process, so reading the kernel's
// "/proc/self" would describe the server; but it looks up a file's
// attributes in the program's own process.  The program's main thread has
// the process's id, so of all processes only the program itself has a
// thread of its own id under "/proc/self/task".
unsigned long OwnNativeProcessId() {
  std::vector<unsigned long> pids;
  WIN32_FIND_DATAW entry;
  const CFindHandle processes(::FindFirstFileW(L"Z:\\proc\\*", &entry));
  if (!processes) return 0;
  do {
    wchar_t* end = nullptr;
    const unsigned long pid = std::wcstoul(entry.cFileName, &end, 10);
    if (pid != 0 && *end == L'\0') pids.push_back(pid);
  } while (::FindNextFileW(processes.Get(), &entry));
  // Newest first: the program has just started, and each look-up is a
  // call into the system, made while the program's start-up waits.
  std::sort(pids.rbegin(), pids.rend());
  for (const unsigned long pid : pids) {
    const std::wstring thread = L"Z:\\proc\\self\\task\\" + std::to_wstring(pid);
    if (::GetFileAttributesW(thread.c_str()) != INVALID_FILE_ATTRIBUTES) return pid;
  }
  return 0;
}

// Whether the Unix process runs.  A process that has ended but was not yet
// reaped by its parent counts as ended.
bool NativeProcessRuns(unsigned long pid) {
  const std::string stat = ReadSmallFile(L"Z:\\proc\\" + std::to_wstring(pid) + L"\\stat");
  const size_t name = stat.rfind(") ");
  if (name == std::string::npos || name + 2 >= stat.size()) return false;
  const char state = stat[name + 2];
  return state != 'Z' && state != 'X';
}

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
  // Under Wine a missing native program is only noticed by the shell that
  // would run it, long after the launch reported success; a missing program
  // is told at once instead of after the whole start-up timeout.
  if (!FileExists(executable)) return false;
  ::CreateDirectoryW(profileFolder.c_str(), nullptr);
  std::wstring folder = profileFolder;
  if (folder.back() != L'\\') folder += L'\\';
  // The browser writes its DevTools port and path here once it listens; a
  // file left by an earlier run must not be mistaken for that.
  m_portFile = folder + L"DevToolsActivePort";
  ::DeleteFileW(m_portFile.c_str());

  m_pidFile = folder + L"BrowserProcessId";
  ::DeleteFileW(m_pidFile.c_str());
  m_nativePid = 0;

  std::wstring commandLine = Quoted(NativePath(executable));
  // Under Wine the browser is a native process that no Windows handle
  // reaches, so a shell starts it and does three things first:
  // - it points the browser's output at nothing, as a native browser would
  //   otherwise inherit the Unix output of the program that started Wine
  //   and hold the pipe of whoever reads it open;
  // - it records its process id, which the browser keeps, so that Stop can
  //   wait for the browser process itself to end;
  // - it leaves a watcher behind that ends the browser should this program
  //   end without shutting the engine down (killed, or crashed).
  const std::wstring shell = L"Z:\\bin\\sh";
  if (NativePath(executable) != executable && FileExists(shell)) {
    // The script's own quotes are escaped for the command line it is part of.
    const wchar_t* const script =
        LR"(owner=$0; echo $$ >\"$1\"; shift; browser=$$; )"
        LR"(if [ $owner != 0 ]; then )"
        LR"(( while kill -0 $owner && kill -0 $browser; do sleep 1; done; )"
        LR"(kill -0 $owner || kill $browser ) </dev/null >/dev/null 2>&1 & )"
        LR"(fi; exec \"$@\" </dev/null >/dev/null 2>&1)";
    commandLine = Quoted(NativePath(shell)) + L" -c " + Quoted(script) + L" " +
                  std::to_wstring(OwnNativeProcessId()) + L" " + Quoted(NativePath(m_pidFile)) +
                  L" " + commandLine;
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
      // The browser program shows none of its own windows, yet it would
      // render the address bar's suggestion pop-ups for every window in
      // renderers of their own, and keep their pages loaded ahead.  Only one
      // list of disabled features counts, so every entry is in this one.
      // A document that is left keeps its frame (RenderDocument off), so
      // that what its unload handlers call still reaches the engine.
      L"--disable-features=IsolateOrigins,site-per-process,WebUIOmniboxPopup,"
      L"WebUIOmniboxAimPopup,WebUIOmniboxFullPopup,PreloadTopChromeWebUI,RenderDocument",
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
  const ULONGLONG deadline = ::GetTickCount64() + kStartTimeoutMs;
  // The browser's port file is read again as soon as anything in the
  // profile folder changes, rather than on the next tick of a poll: the
  // whole start-up waits for it.  The watch is made before the first read,
  // so a file written in between is still seen; the poll stays, for a
  // platform that reports no changes.
  const CChangeNotification change(::FindFirstChangeNotificationW(
      m_profileFolder.c_str(), FALSE,
      FILE_NOTIFY_CHANGE_FILE_NAME | FILE_NOTIFY_CHANGE_SIZE | FILE_NOTIFY_CHANGE_LAST_WRITE));
  while (::GetTickCount64() < deadline) {
    const std::string content = ReadSmallFile(m_portFile);
    const size_t line = content.find('\n');
    if (line != std::string::npos) {
      const unsigned long port = std::strtoul(content.c_str(), nullptr, 10);
      std::string path = content.substr(line + 1);
      while (!path.empty() && (path.back() == '\n' || path.back() == '\r')) path.pop_back();
      if (port > 0 && port < 65536 && !path.empty() &&
          LoopbackPortAnswers(static_cast<uint16_t>(port))) {
        m_port = static_cast<uint16_t>(port);
        m_browserPath = path;
        m_nativePid = std::strtoul(ReadSmallFile(m_pidFile).c_str(), nullptr, 10);
        return true;
      }
    }
    if (change) {
      ::WaitForSingleObject(change.Get(), kReadyPollMs);
      ::FindNextChangeNotification(change.Get());
    } else {
      ::Sleep(kReadyPollMs);
    }
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
  // Even then the process may still be writing into the profile while it
  // ends; where its process id is known, wait for the process itself.
  while (m_nativePid != 0 && NativeProcessRuns(m_nativePid) && ::GetTickCount64() < deadline) {
    ::Sleep(25);
  }
  ::DeleteFileW(m_pidFile.c_str());
  m_nativePid = 0;
  m_port = 0;
  m_browserPath.clear();
}

}  // namespace engine
