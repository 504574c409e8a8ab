// What a window offers the dialog builder for the element names the
// builder does not know itself: its own control classes.
#pragma once

#include <windows.h>

namespace SkinUI {

class CControlUI;

class IDialogBuilderCallback {
 public:
  // A new control for the element name `pstrClass`, or null when the
  // window has no class of that name.  The builder owns what it gets.
  virtual CControlUI* CreateControl(LPCWSTR pstrClass) = 0;

 protected:
  // The builder never deletes its callback; whoever made it does.
  ~IDialogBuilderCallback() = default;
};

}  // namespace SkinUI
