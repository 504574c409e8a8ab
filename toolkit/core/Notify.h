// Notifications from controls to the listeners of their window, and the
// interfaces a window registers with its paint manager to see messages
// and notifications.
#pragma once

#include <windows.h>

#include "toolkit/controls/SkinString.h"

namespace SkinUI {

class CControlUI;

typedef struct tagTNotifyUI {
  CSkinString sType;
  // Filled only while the window uses virtual windows.
  CSkinString sVirtualWnd;
  CControlUI* pSender = nullptr;
  DWORD dwTimestamp = 0;
  POINT ptMouse = {};
  WPARAM wParam = 0;
  LPARAM lParam = 0;
} TNotifyUI;

// Receives every notification of a window.
class INotifyUI {
 public:
  virtual void Notify(TNotifyUI& msg) = 0;

 protected:
  ~INotifyUI() = default;
};

// Sees a window's messages before the paint manager does; setting
// `bHandled` ends their processing with the returned result.
class IMessageFilterUI {
 public:
  virtual LRESULT MessageHandler(UINT uMsg, WPARAM wParam, LPARAM lParam, bool& bHandled) = 0;

 protected:
  ~IMessageFilterUI() = default;
};

// Offered every message of the loop first; a result of 0 consumes it.
class ITranslateAccelerator {
 public:
  virtual LRESULT TranslateAcceleratorW(MSG* pMsg) = 0;

 protected:
  ~ITranslateAccelerator() = default;
};

}  // namespace SkinUI
