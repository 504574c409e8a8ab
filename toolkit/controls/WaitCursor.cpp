#include "toolkit/controls/WaitCursor.h"

namespace SkinUI {

CWaitCursor::CWaitCursor() : m_hOrigCursor(::SetCursor(::LoadCursorW(nullptr, IDC_WAIT))) {}

CWaitCursor::~CWaitCursor() { ::SetCursor(m_hOrigCursor); }

}  // namespace SkinUI
