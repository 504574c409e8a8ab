#include "framework/CWinAppEx.h"

CWinAppEx::CWinAppEx(BOOL resourceSmartUpdate) : m_bResourceSmartUpdate(resourceSmartUpdate) {}

BOOL CWinAppEx::InitInstance() { return CWinApp::InitInstance(); }
