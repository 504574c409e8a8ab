#include "src/BrowserLaunch.h"

#include <windows.h>

#include <string>

#include "include/cef_command_line.h"

namespace engine {
namespace {

// Switches that would take the browser program out of the engine's hands;
// the engine sets them itself.
const wchar_t* const kReservedSwitches[] = {
    L"headless",
    L"remote-debugging-port",
    L"remote-debugging-address",
    L"remote-debugging-pipe",
    L"user-data-dir",
    L"type",
    L"no-startup-window",
};

bool IsReserved(const std::wstring& name) {
  for (const wchar_t* reserved : kReservedSwitches) {
    if (_wcsicmp(name.c_str(), reserved) == 0) return true;
  }
  return false;
}

void AddSwitches(CefRefPtr<CefCommandLine> commandLine, std::vector<std::wstring>& switches) {
  CefCommandLine::SwitchMap map;
  commandLine->GetSwitches(map);
  for (const auto& entry : map) {
    const std::wstring name = entry.first.ToWString();
    if (IsReserved(name)) continue;
    std::wstring option = L"--" + name;
    if (!entry.second.empty()) option += L"=" + entry.second.ToWString();
    // Quoted as one argument, whatever the value holds.
    std::wstring quoted = L"\"";
    for (const wchar_t c : option) {
      if (c == L'"') quoted += L'\\';
      quoted += c;
    }
    switches.push_back(quoted + L"\"");
  }
}

// The DPI of this program's windows unless they are aware of each monitor's
// own: 96 for a program that is not DPI aware, the system's for one that is.
UINT SystemDpi() {
  using DpiForSystem = UINT(WINAPI*)();
  const auto dpiForSystem = reinterpret_cast<DpiForSystem>(reinterpret_cast<void*>(
      ::GetProcAddress(::GetModuleHandleW(L"user32.dll"), "GetDpiForSystem")));
  const UINT dpi = dpiForSystem != nullptr ? dpiForSystem() : 96;
  return dpi != 0 ? dpi : 96;
}

// A DPI's scale as the browser program's switch takes it ("1.5"), to four
// places, written out by hand: formatted output would follow the C
// runtime's locale in its decimal point.
std::wstring ScaleText(UINT dpi) {
  const unsigned int tenThousandths = (dpi * 10000u + 48u) / 96u;
  std::wstring text = std::to_wstring(tenThousandths / 10000u);
  std::wstring fraction = std::to_wstring(tenThousandths % 10000u);
  if (fraction == L"0") return text;
  fraction.insert(0, 4 - fraction.size(), L'0');
  fraction.erase(fraction.find_last_not_of(L'0') + 1);
  return text + L"." + fraction;
}

std::wstring ModulePath() {
  wchar_t path[MAX_PATH] = {};
  ::GetModuleFileNameW(nullptr, path, MAX_PATH);
  return path;
}

// Opens the folder's lock file for this program alone; false when another
// program holds it.
bool HoldLock(const std::wstring& folder, CFileHandle& lock) {
  lock.Reset(::CreateFileW((folder + L"\\engine.lock").c_str(), GENERIC_READ | GENERIC_WRITE, 0,
                           nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_HIDDEN | FILE_FLAG_DELETE_ON_CLOSE,
                           nullptr));
  return lock.IsValid();
}

// Where the browser program keeps its profile.  Two programs may name the
// same cache folder, but one profile serves one browser program only: the
// first to hold the folder's lock uses it, later ones get a folder of their
// own inside it.
std::wstring ChooseProfile(const std::wstring& cachePath, CFileHandle& lock) {
  std::wstring base = cachePath;
  if (base.empty()) {
    wchar_t temp[MAX_PATH] = {};
    ::GetTempPathW(MAX_PATH, temp);
    base = std::wstring(temp) + L"TalmicEngine";
  }
  if (base.back() == L'\\' || base.back() == L'/') base.pop_back();
  ::CreateDirectoryW(base.c_str(), nullptr);
  if (HoldLock(base, lock)) return base;
  const std::wstring own = base + L"\\instance-" + std::to_wstring(::GetCurrentProcessId());
  ::CreateDirectoryW(own.c_str(), nullptr);
  HoldLock(own, lock);
  return own;
}

}  // namespace

BrowserLaunch::BrowserLaunch(const CefSettings& settings, CefRefPtr<CefApp> application)
    : m_application(application),
      m_cachePath(CefString(&settings.cache_path).ToWString()),
      m_executable(ChromiumProcess::FindExecutable()),
      m_dpi(SystemDpi()) {
  CefRefPtr<CefCommandLine> commandLine = CefCommandLine::CreateCommandLine();
  commandLine->SetProgram(ModulePath());
  if (application) application->OnBeforeCommandLineProcessing(CefString(), commandLine);
  AddSwitches(commandLine, m_switches);
}

BrowserLaunch::~BrowserLaunch() = default;

bool BrowserLaunch::Suits(const CefSettings& settings, CefRefPtr<CefApp> application) const {
  return m_application.get() == application.get() &&
         m_cachePath == CefString(&settings.cache_path).ToWString() &&
         m_executable == ChromiumProcess::FindExecutable() && m_dpi == SystemDpi();
}

bool BrowserLaunch::Launch() {
  if (m_executable.empty()) return false;
  // The browser process's own part of the command line is asked for on
  // the thread that launches it, once, as the engine's public API has it.
  if (!m_childAsked) {
    m_childAsked = true;
    CefRefPtr<CefBrowserProcessHandler> browserHandler =
        m_application ? m_application->GetBrowserProcessHandler() : nullptr;
    CefRefPtr<CefCommandLine> child = CefCommandLine::CreateCommandLine();
    child->SetProgram(CefString(m_executable));
    if (browserHandler) browserHandler->OnBeforeChildProcessLaunch(child);
    AddSwitches(child, m_switches);
  }
  m_profile = ChooseProfile(m_cachePath, m_profileLock);
  m_downloadFolder = m_profile + L"\\Downloads\\";
  ::CreateDirectoryW(m_downloadFolder.c_str(), nullptr);
  std::vector<std::wstring> switches = m_switches;
  // The browser program renders at the scale of this program's windows,
  // so that the pictures it sends have the windows' own pixels.
  if (m_dpi > 96) switches.push_back(L"--force-device-scale-factor=" + ScaleText(m_dpi));
  if (m_process.Launch(m_executable, m_profile, switches)) return true;
  m_profileLock.Reset();
  return false;
}

bool BrowserLaunch::WaitUntilReady(const std::function<bool()>& cancelled) {
  return m_process.WaitUntilReady(cancelled);
}

}  // namespace engine
