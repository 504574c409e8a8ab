#include "src/ChromiumProcess.h"

#include <windows.h>
#include <winternl.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "src/DevToolsPipe.h"
#include "src/ProgramStart.h"
#include "util/UniqueHandle.h"

namespace engine {
namespace {

constexpr DWORD kStartTimeoutMs = 30000;
constexpr DWORD kStopTimeoutMs = 15000;
// How long a browser that was told to close, and did not, gets once its
// pipe is closed too, before it is killed.
constexpr DWORD kClosedPipeTimeoutMs = 5000;
// The id of the commands this class sends itself.  The connection counts
// its own ids up from 1, so the two never meet.
constexpr int kOwnCommandId = 2000000000;

// The C runtime's flags for an inherited descriptor: open, a pipe, a
// device.
constexpr unsigned char kCrtOpen = 0x01;
constexpr unsigned char kCrtPipe = 0x08;
constexpr unsigned char kCrtDevice = 0x40;

bool FileExists(const std::wstring& path) {
  return ::GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::wstring Quoted(const std::wstring& text) { return L"\"" + text + L"\""; }

// The first bytes of a small file, or "" when it cannot be read.
std::string ReadSmallFile(const std::wstring& path, size_t limit = 512) {
  const CFileHandle file(::CreateFileW(path.c_str(), GENERIC_READ,
                                       FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                       nullptr, OPEN_EXISTING, 0, nullptr));
  if (!file) return std::string();
  std::string text(limit, '\0');
  DWORD got = 0;
  if (!::ReadFile(file.Get(), text.data(), static_cast<DWORD>(limit), &got, nullptr)) {
    return std::string();
  }
  text.resize(got);
  return text;
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

// The system's calls the launch makes that no import library offers.  They
// are looked up as the program starts: a look-up waits while another thread
// loads a DLL, and the browser is launched on a thread of its own while the
// program's main thread loads the DLLs its windows need.
struct SystemCalls {
  using CreateFileFunction = NTSTATUS(NTAPI*)(PHANDLE, ACCESS_MASK, POBJECT_ATTRIBUTES,
                                              PIO_STATUS_BLOCK, PLARGE_INTEGER, ULONG, ULONG, ULONG,
                                              ULONG, PVOID, ULONG);
  using ToUnixFunction = char*(__cdecl*)(const wchar_t*);
  CreateFileFunction createFile = nullptr;
  // Wine's alone; missing elsewhere.
  ToUnixFunction toUnix = nullptr;

  SystemCalls()
      : createFile(reinterpret_cast<CreateFileFunction>(reinterpret_cast<void*>(
            ::GetProcAddress(::GetModuleHandleW(L"ntdll.dll"), "NtCreateFile")))),
        toUnix(reinterpret_cast<ToUnixFunction>(reinterpret_cast<void*>(
            ::GetProcAddress(::GetModuleHandleW(L"kernel32.dll"), "wine_get_unix_file_name")))) {}
};
const SystemCalls g_systemCalls;

// Whether the Unix process runs.  A process that has ended but was not yet
// reaped by its parent counts as ended.
bool NativeProcessRuns(unsigned long pid) {
  const std::string stat = ReadSmallFile(L"Z:\\proc\\" + std::to_wstring(pid) + L"\\stat");
  const size_t name = stat.rfind(") ");
  if (name == std::string::npos || name + 2 >= stat.size()) return false;
  const char state = stat[name + 2];
  return state != 'Z' && state != 'X';
}

// Kills a native process under Wine and waits, briefly, until it has
// ended: Wine gives no handle to a native program, so its end is seen only
// in the system's process table.
void KillNative(unsigned long pid, DWORD timeoutMs) {
  ProgramStartOptions options;
  options.flags = CREATE_NO_WINDOW;
  if (!StartProgram(L"Z:\\bin\\kill -KILL " + std::to_wstring(pid), true, options)) return;
  const ULONGLONG deadline = ::GetTickCount64() + timeoutMs;
  while (NativeProcessRuns(pid) && ::GetTickCount64() < deadline) ::Sleep(5);
}

// Opens the pipe the program writes to for writing only.  Opened through
// CreateFile, Wine would open it for reading as well, and the program's
// own reading end would then keep a write to a browser that has ended
// waiting for ever.  Fails while the browser's shell has not opened its
// reading end yet, as Wine does not wait for it.
HANDLE OpenWriteOnly(const std::wstring& path) {
  const auto create = g_systemCalls.createFile;
  if (create == nullptr) return INVALID_HANDLE_VALUE;
  std::wstring ntPath = L"\\??\\" + path;
  UNICODE_STRING name;
  name.Buffer = ntPath.data();
  name.Length = static_cast<USHORT>(ntPath.size() * sizeof(wchar_t));
  name.MaximumLength = name.Length;
  OBJECT_ATTRIBUTES attributes = {};
  attributes.Length = sizeof(attributes);
  attributes.ObjectName = &name;
  attributes.Attributes = OBJ_CASE_INSENSITIVE;
  IO_STATUS_BLOCK status = {};
  HANDLE handle = INVALID_HANDLE_VALUE;
  const NTSTATUS result =
      create(&handle, FILE_WRITE_DATA | SYNCHRONIZE, &attributes, &status, nullptr, 0,
             FILE_SHARE_READ | FILE_SHARE_WRITE, FILE_OPEN,
             FILE_SYNCHRONOUS_IO_NONALERT | FILE_NON_DIRECTORY_FILE, nullptr, 0);
  return result >= 0 ? handle : INVALID_HANDLE_VALUE;
}

// A name no earlier start used: the process id and the moment.
std::wstring UniqueName() {
  LARGE_INTEGER now;
  ::QueryPerformanceCounter(&now);
  wchar_t name[64];
  swprintf(name, 64, L"devtools-%lu-%llx", ::GetCurrentProcessId(),
           static_cast<unsigned long long>(now.QuadPart));
  return name;
}

}  // namespace

std::wstring NativePath(const std::wstring& path) {
  const auto toUnix = g_systemCalls.toUnix;
  if (toUnix == nullptr) return path;
  char* unixPath = toUnix(path.c_str());
  if (unixPath == nullptr) return path;
  const int units = ::MultiByteToWideChar(CP_UTF8, 0, unixPath, -1, nullptr, 0);
  std::wstring result(static_cast<size_t>(units > 0 ? units - 1 : 0), L'\0');
  ::MultiByteToWideChar(CP_UTF8, 0, unixPath, -1, result.data(), units);
  ::HeapFree(::GetProcessHeap(), 0, unixPath);
  return result;
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
  // Left by an engine of an earlier version, which drove the browser over
  // a port.
  ::DeleteFileW((folder + L"DevToolsActivePort").c_str());
  m_pidFile = folder + L"BrowserProcessId";
  WaitForEarlierBrowser(folder);
  ::DeleteFileW(m_pidFile.c_str());
  m_nativePid = 0;
  m_pipeFolder.clear();

  std::wstring commandLine = Quoted(NativePath(executable));
  // Under Wine the browser is a native process that no Windows handle
  // reaches, and Wine passes no pipe to it; a shell starts it instead, and
  // gives it two named pipes that only this user can open and that exist
  // only until both sides have them open:
  // - it makes a folder only this user may enter (failing if the name is
  //   taken) and the two pipes in it;
  // - it opens them as the browser's descriptors 3 (what it reads) and 4
  //   (what it writes).  Each open waits until this program has opened the
  //   other end, so the program cannot miss them;
  // - it removes the folder, which tells the program that both ends are
  //   open, and records its process id, which the browser keeps;
  // - it points the browser's output at nothing, as a native browser would
  //   otherwise inherit the Unix output of the program that started Wine;
  // - should this program end before it has opened its ends, a watcher
  //   removes the folder and ends the waiting shell.
  // Once it runs, the browser closes itself when its input pipe closes,
  // which happens when this program ends in any way.
  const std::wstring shell = L"Z:\\bin\\sh";
  const bool native = NativePath(executable) != executable && FileExists(shell);
  SECURITY_ATTRIBUTES inheritable = {sizeof(inheritable), nullptr, TRUE};
  CFileHandle browserReads;
  CFileHandle browserWrites;
  if (native) {
    m_pipeFolder = folder + UniqueName();
    // The script's own quotes are escaped for the command line it is part of.
    const wchar_t* const script =
        LR"(owner=$0; dir=$1; pids=$2; shift 2; umask 077; )"
        LR"(mkdir -m 700 \"$dir\" || exit 1; )"
        LR"(mkfifo \"$dir/in\" \"$dir/out\" || { rm -rf \"$dir\"; exit 1; }; )"
        LR"(shell=$$; ( while [ -d \"$dir\" ]; do )"
        LR"(if [ $owner != 0 ] && ! kill -0 $owner; then rm -rf \"$dir\"; kill $shell; exit; fi; )"
        LR"(sleep 0.1; done ) </dev/null >/dev/null 2>&1 & )"
        LR"(exec 3<\"$dir/in\" 4>\"$dir/out\"; echo $$ >\"$pids\"; rm -rf \"$dir\"; )"
        LR"(exec \"$@\" </dev/null >/dev/null 2>&1)";
    commandLine = Quoted(NativePath(shell)) + L" -c " + Quoted(script) + L" " +
                  std::to_wstring(OwnNativeProcessId()) + L" " + Quoted(NativePath(m_pipeFolder)) +
                  L" " + Quoted(NativePath(m_pidFile)) + L" " + commandLine;
  } else {
    // On Windows the browser takes the two pipes as the C runtime's
    // descriptors 3 and 4, inherited through the start-up information; only
    // its own ends are inheritable, so that it alone holds them and sees
    // its input end when this program's end closes.
    HANDLE readEnd = nullptr;
    HANDLE writeEnd = nullptr;
    if (!::CreatePipe(&readEnd, &writeEnd, nullptr, 0)) return false;
    browserReads.Reset(readEnd);
    m_toBrowser = writeEnd;
    if (!::CreatePipe(&readEnd, &writeEnd, nullptr, 0)) {
      EndUnready();
      return false;
    }
    m_fromBrowser = readEnd;
    browserWrites.Reset(writeEnd);
    ::SetHandleInformation(browserReads.Get(), HANDLE_FLAG_INHERIT, HANDLE_FLAG_INHERIT);
    ::SetHandleInformation(browserWrites.Get(), HANDLE_FLAG_INHERIT, HANDLE_FLAG_INHERIT);
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
      // DevTools over the two pipes only: no port any local program or
      // page could reach.
      L"--remote-debugging-pipe",
  };
  for (const wchar_t* option : fixed) commandLine += L" " + std::wstring(option);
  commandLine += L" " + Quoted(L"--user-data-dir=" + NativePath(folder));
  for (const std::wstring& option : switches) commandLine += L" " + option;
  commandLine += L" about:blank";

  // What the browser prints is the engine's log, not the program's output.
  const CFileHandle nul(::CreateFileW(L"NUL", GENERIC_READ | GENERIC_WRITE,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE, &inheritable,
                                      OPEN_EXISTING, 0, nullptr));
  STARTUPINFOEXW startup = {};
  startup.StartupInfo.cb = sizeof(startup.StartupInfo);
  startup.StartupInfo.dwFlags = STARTF_USESTDHANDLES;
  startup.StartupInfo.hStdInput = nul.Get();
  startup.StartupInfo.hStdOutput = nul.Get();
  startup.StartupInfo.hStdError = nul.Get();
  // The C runtime's table of inherited descriptors: their count, a flag
  // byte for each, then a handle for each, packed.
  std::vector<unsigned char> descriptors;
  std::vector<HANDLE> inherited = {nul.Get()};
  if (!native) {
    const HANDLE handles[] = {nul.Get(), nul.Get(), nul.Get(), browserReads.Get(),
                              browserWrites.Get()};
    const unsigned char flags[] = {kCrtOpen | kCrtDevice, kCrtOpen | kCrtDevice,
                                   kCrtOpen | kCrtDevice, kCrtOpen | kCrtPipe, kCrtOpen | kCrtPipe};
    const int count = 5;
    descriptors.resize(sizeof(int) + count * (1 + sizeof(HANDLE)));
    std::memcpy(descriptors.data(), &count, sizeof(int));
    std::memcpy(descriptors.data() + sizeof(int), flags, count);
    std::memcpy(descriptors.data() + sizeof(int) + count, handles, count * sizeof(HANDLE));
    startup.StartupInfo.cbReserved2 = static_cast<WORD>(descriptors.size());
    startup.StartupInfo.lpReserved2 = descriptors.data();
    inherited.push_back(browserReads.Get());
    inherited.push_back(browserWrites.Get());
  }
  // Only these handles go to the browser, even while another thread of the
  // program starts a process of its own with inheritable handles.
  SIZE_T listSize = 0;
  ::InitializeProcThreadAttributeList(nullptr, 1, 0, &listSize);
  std::vector<unsigned char> list(listSize);
  DWORD flags = CREATE_NO_WINDOW;
  if (listSize > 0) {
    auto* attributes = reinterpret_cast<LPPROC_THREAD_ATTRIBUTE_LIST>(list.data());
    if (::InitializeProcThreadAttributeList(attributes, 1, 0, &listSize)) {
      if (::UpdateProcThreadAttribute(attributes, 0, PROC_THREAD_ATTRIBUTE_HANDLE_LIST,
                                      inherited.data(), inherited.size() * sizeof(HANDLE), nullptr,
                                      nullptr)) {
        startup.lpAttributeList = attributes;
        startup.StartupInfo.cb = sizeof(startup);
        flags |= EXTENDED_STARTUPINFO_PRESENT;
      }
    }
  }
  ProgramStartOptions options;
  options.flags = flags;
  options.inheritHandles = true;
  options.startup = &startup.StartupInfo;
  CKernelHandle process;
  const bool started = StartProgram(commandLine, native, options, &process);
  if (startup.lpAttributeList != nullptr) ::DeleteProcThreadAttributeList(startup.lpAttributeList);
  if (!started) {
    EndUnready();
    return false;
  }
  // Under Wine the browser's shell is a native program, without a handle.
  m_process = process.Release();
  m_launched = true;
  m_profileFolder = folder;
  return true;
}

void ChromiumProcess::WaitForEarlierBrowser(const std::wstring& folder) {
  // A program that ended without stopping its browser leaves the browser's
  // process id behind; that browser ends by itself once it sees its pipe
  // close, but while it does, it still holds the profile, and a new browser
  // would hand itself over to it and end.  Its lock on the profile cannot
  // tell: under Wine the lock is a link to nowhere, which Wine's file calls
  // do not see.  So the process itself is waited for, if it is still a
  // browser on this profile (the id may since have gone to another).
  const unsigned long earlier = std::strtoul(ReadSmallFile(m_pidFile).c_str(), nullptr, 10);
  if (earlier == 0 || !NativeProcessRuns(earlier)) return;
  std::string commandLine =
      ReadSmallFile(L"Z:\\proc\\" + std::to_wstring(earlier) + L"\\cmdline", 65536);
  std::replace(commandLine.begin(), commandLine.end(), '\0', ' ');
  const std::wstring native = NativePath(folder);
  std::string profile(native.size() * 3 + 1, '\0');
  profile.resize(static_cast<size_t>(std::max(
      0,
      ::WideCharToMultiByte(CP_UTF8, 0, native.c_str(), static_cast<int>(native.size()),
                            profile.data(), static_cast<int>(profile.size()), nullptr, nullptr))));
  profile = "--user-data-dir=" + profile;
  if (commandLine.find(profile) == std::string::npos) return;
  const ULONGLONG deadline = ::GetTickCount64() + kStopTimeoutMs;
  while (NativeProcessRuns(earlier) && ::GetTickCount64() < deadline) ::Sleep(10);
}

bool ChromiumProcess::OpenWinePipe(unsigned long long deadline) {
  const std::wstring in = m_pipeFolder + L"\\in";
  const std::wstring out = m_pipeFolder + L"\\out";
  // The pipes are not seen by the file attribute calls under Wine: opening
  // them is the only test of whether they exist yet.
  CFileHandle toBrowser;
  while (!toBrowser && ::GetTickCount64() < deadline) {
    toBrowser.Reset(OpenWriteOnly(in));
    if (!toBrowser) ::Sleep(1);
  }
  if (!toBrowser) return false;
  // Wine opens the reading end at once, even before a writer exists; the
  // shell removes the folder only once its writing end is open, and only
  // then does a read wait for data rather than find the end.
  CFileHandle fromBrowser;
  while (!fromBrowser && ::GetTickCount64() < deadline) {
    fromBrowser.Reset(::CreateFileW(out.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                    nullptr, OPEN_EXISTING, 0, nullptr));
    if (!fromBrowser) ::Sleep(1);
  }
  if (!fromBrowser) return false;
  while (FileExists(m_pipeFolder)) {
    if (::GetTickCount64() >= deadline) return false;
    ::Sleep(1);
  }
  m_nativePid = std::strtoul(ReadSmallFile(m_pidFile).c_str(), nullptr, 10);
  m_abortablePid = m_nativePid;
  m_fromBrowser = fromBrowser.Release();
  m_toBrowser = toBrowser.Release();
  return true;
}

bool ChromiumProcess::AwaitFirstAnswer() {
  // The browser reads its pipe once it is ready for commands; its first
  // answer says it is.
  const std::string id = std::to_string(kOwnCommandId);
  if (!m_pipe->Send("{\"id\":" + id + ",\"method\":\"Browser.getVersion\"}")) return false;
  std::string message;
  for (;;) {
    const DevToolsPipe::Received got = m_pipe->Receive(message);
    if (got == DevToolsPipe::Received::kEnded) return false;
    if (message.compare(0, 7 + id.size(), "{\"id\":" + id + ",") == 0) return true;
  }
}

bool ChromiumProcess::WaitUntilReady(const std::function<bool()>& cancelled) {
  if (!m_launched) return false;
  m_launched = false;
  const ULONGLONG deadline = ::GetTickCount64() + kStartTimeoutMs;
  if (!m_pipeFolder.empty() && !OpenWinePipe(deadline)) {
    EndUnready();
    return false;
  }
  m_pipe = std::make_shared<DevToolsPipe>(std::exchange(m_fromBrowser, nullptr),
                                          std::exchange(m_toBrowser, nullptr));
  // Under Wine the starting shell stays blocked until both pipes are open,
  // so a launch given up is ended only once they are: then the browser
  // exists, and its process id is known.
  if (cancelled && cancelled()) {
    Kill();
    return false;
  }
  // A browser that fails to start ends, and its pipe with it.
  const bool answered = AwaitFirstAnswer();
  m_abortablePid = 0;
  if (!answered) {
    m_pipe.reset();
    EndUnready();
    return false;
  }
  return true;
}

void ChromiumProcess::EndUnready() {
  // Closing our ends ends a browser that has them; one that never got as
  // far is ended by its handle where the platform gives one.
  if (m_fromBrowser != nullptr) ::CloseHandle(std::exchange(m_fromBrowser, nullptr));
  if (m_toBrowser != nullptr) ::CloseHandle(std::exchange(m_toBrowser, nullptr));
  if (m_process != nullptr) {
    ::TerminateProcess(m_process, 1);
    ::CloseHandle(std::exchange(m_process, nullptr));
  }
  if (!m_pipeFolder.empty() && FileExists(m_pipeFolder)) {
    ::DeleteFileW((m_pipeFolder + L"\\in").c_str());
    ::DeleteFileW((m_pipeFolder + L"\\out").c_str());
    ::RemoveDirectoryW(m_pipeFolder.c_str());
  }
  m_pipeFolder.clear();
  m_launched = false;
}

void ChromiumProcess::Abort() {
  // Its pipe ends as it dies, and with it the wait for its answer.
  if (const unsigned long pid = m_abortablePid.exchange(0)) KillNative(pid, kClosedPipeTimeoutMs);
}

void ChromiumProcess::Kill() {
  if (m_launched) EndUnready();
  if (!m_pipe) return;
  // Without its input the browser closes itself, should the kill miss it.
  m_pipe->CloseSending();
  if (m_process != nullptr) {
    ::TerminateProcess(m_process, 1);
    ::WaitForSingleObject(m_process, kClosedPipeTimeoutMs);
    ::CloseHandle(std::exchange(m_process, nullptr));
  } else if (m_nativePid != 0) {
    KillNative(m_nativePid, kClosedPipeTimeoutMs);
  }
  m_pipe.reset();
  ::DeleteFileW(m_pidFile.c_str());
  m_nativePid = 0;
}

void ChromiumProcess::Stop() {
  if (m_launched) EndUnready();
  if (!m_pipe) return;
  const ULONGLONG deadline = ::GetTickCount64() + kStopTimeoutMs;
  const auto ended = [this] {
    if (m_process != nullptr) return ::WaitForSingleObject(m_process, 0) == WAIT_OBJECT_0;
    return m_nativePid == 0 || !NativeProcessRuns(m_nativePid);
  };
  const auto waitUntil = [&](ULONGLONG until) {
    while (!ended() && ::GetTickCount64() < until) {
      if (m_process != nullptr) {
        ::WaitForSingleObject(m_process, static_cast<DWORD>(until - ::GetTickCount64()));
      } else {
        ::Sleep(10);
      }
    }
    return ended();
  };
  m_pipe->Send("{\"id\":" + std::to_string(kOwnCommandId + 1) + ",\"method\":\"Browser.close\"}");
  // The browser has let go of its profile once its process has ended.
  if (!waitUntil(deadline)) {
    // A browser that does not close when asked still closes when its
    // input ends; one that does not even then is killed.
    m_pipe->CloseSending();
    if (!waitUntil(::GetTickCount64() + kClosedPipeTimeoutMs)) {
      if (m_process != nullptr) {
        ::TerminateProcess(m_process, 1);
        ::WaitForSingleObject(m_process, kClosedPipeTimeoutMs);
      } else if (m_nativePid != 0) {
        KillNative(m_nativePid, kClosedPipeTimeoutMs);
      }
    }
  }
  m_pipe->CloseSending();
  m_pipe.reset();
  if (m_process != nullptr) ::CloseHandle(std::exchange(m_process, nullptr));
  ::DeleteFileW(m_pidFile.c_str());
  m_nativePid = 0;
}

}  // namespace engine
