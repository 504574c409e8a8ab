#include "framework/CWinApp.h"

namespace {

CWinApp* g_pApplication = nullptr;
bool g_controlContainerEnabled = false;

std::wstring ExecutableBaseName() {
  wchar_t path[MAX_PATH] = {};
  ::GetModuleFileNameW(nullptr, path, MAX_PATH);
  path[MAX_PATH - 1] = L'\0';
  std::wstring name(path);
  const size_t slash = name.find_last_of(L"\\/");
  if (slash != std::wstring::npos) name.erase(0, slash + 1);
  const size_t dot = name.rfind(L'.');
  if (dot != std::wstring::npos) name.erase(dot);
  return name;
}

}  // namespace

CWinApp::CWinApp(const wchar_t* appName)
    : m_pszAppName(nullptr), m_appName(appName != nullptr ? appName : ExecutableBaseName()) {
  m_pszAppName = m_appName.c_str();
  g_pApplication = this;
}

CWinApp::~CWinApp() {
  if (g_pApplication == this) g_pApplication = nullptr;
}

BOOL CWinApp::InitInstance() { return TRUE; }

int CWinApp::Run() {
  MSG msg;
  for (;;) {
    const BOOL got = ::GetMessageW(&msg, nullptr, 0, 0);
    if (got == 0) {
      m_exitCode = static_cast<int>(msg.wParam);
      break;
    }
    if (got == -1) break;
    ::TranslateMessage(&msg);
    ::DispatchMessageW(&msg);
  }
  return ExitInstance();
}

int CWinApp::ExitInstance() { return m_exitCode; }

CWinApp* AfxGetApp() { return g_pApplication; }

std::wstring AfxGetAppName() {
  return g_pApplication != nullptr ? std::wstring(g_pApplication->m_pszAppName)
                                   : ExecutableBaseName();
}

HINSTANCE AfxGetInstanceHandle() {
  return g_pApplication != nullptr ? g_pApplication->m_hInstance : nullptr;
}

void AfxEnableControlContainer() { g_controlContainerEnabled = true; }

bool AfxIsControlContainerEnabled() { return g_controlContainerEnabled; }
