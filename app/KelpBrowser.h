// The application object: its InitInstance is the whole life of the program.
#pragma once

#include "framework/CWinAppEx.h"

class CBrowserWnd;

class CKelpBrowser : public CWinAppEx {
 public:
  CKelpBrowser();
  ~CKelpBrowser() override;

  // Runs the start-up sequence and, once the main window exists, its loop.
  // Always returns false, so the framework goes straight to its exit path.
  BOOL InitInstance() override;

 private:
  // The main window; it deletes itself when its window is destroyed.
  CBrowserWnd* m_pBrowserWnd = nullptr;
};
