// The extended application object: the same life cycle as CWinApp, plus the
// framework's resource-smart-update flag, fixed at construction.
#pragma once

#include "framework/CWinApp.h"

class CWinAppEx : public CWinApp {
 public:
  explicit CWinAppEx(BOOL resourceSmartUpdate = FALSE);

  BOOL InitInstance() override;

  BOOL m_bResourceSmartUpdate;
};
