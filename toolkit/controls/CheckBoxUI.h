// A check box: an option under its own class name, checked when selected.
#pragma once

#include <windows.h>

#include "toolkit/controls/OptionUI.h"

namespace SkinUI {

class CCheckBoxUI : public COptionUI {
 public:
  LPCWSTR GetClass() const override;

  void SetCheck(bool bCheck);
  bool GetCheck() const;
};

}  // namespace SkinUI
