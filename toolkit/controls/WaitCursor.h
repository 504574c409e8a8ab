// Shows the system wait cursor for the lifetime of the object and restores
// the cursor that was shown before.
#pragma once

#include <windows.h>

namespace SkinUI {

class CWaitCursor {
 public:
  CWaitCursor();
  ~CWaitCursor();
  CWaitCursor(const CWaitCursor&) = delete;
  CWaitCursor& operator=(const CWaitCursor&) = delete;

 protected:
  // Shared system cursor: it is not destroyed, only put back.
  HCURSOR m_hOrigCursor;
};

}  // namespace SkinUI
