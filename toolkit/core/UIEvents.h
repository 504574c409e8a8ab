// The events a paint manager delivers to one control, and the flags of the
// single control-tree search every lookup goes through.
#pragma once

#include <windows.h>

namespace SkinUI {

class CControlUI;

// Event kinds.  The values are fixed: controls compare them and test
// ranges (key events 3...6, mouse events 9...18).
enum EVENTTYPE_UI {
  EventKeyDown = 3,
  EventKeyUp = 4,
  EventChar = 5,
  EventSysKey = 6,
  EventMouseMove = 9,
  EventMouseLeave = 10,
  EventMouseEnter = 11,
  EventMouseHover = 12,
  EventButtonDown = 13,
  EventButtonUp = 14,
  EventRButtonDown = 15,
  EventDblClick = 16,
  EventContextMenu = 17,
  EventScrollWheel = 18,
  EventKillFocus = 20,
  EventSetFocus = 21,
  EventWindowSize = 22,
  EventSetCursor = 23,
  EventTimer = 24,
  EventNotify = 25,
  EventCommand = 26,

  // The ranges, inclusive.
  EventKeyFirst = EventKeyDown,
  EventKeyLast = EventSysKey,
  EventMouseFirst = EventMouseMove,
  EventMouseLast = EventScrollWheel,
};

inline bool IsMouseEvent(int type) { return type >= EventMouseFirst && type <= EventMouseLast; }
inline bool IsKeyEvent(int type) { return type >= EventKeyFirst && type <= EventKeyLast; }

typedef struct tagTEventUI {
  int Type = 0;
  CControlUI* pSender = nullptr;
  DWORD dwTimestamp = 0;
  POINT ptMouse = {};
  wchar_t chKey = 0;
  WORD wKeyState = 0;
  WPARAM wParam = 0;
  LPARAM lParam = 0;
} TEventUI;

// Flags of CControlUI::FindControl.
enum : UINT {
  FindVisible = 0x00000001,   // skip invisible controls
  FindEnabled = 0x00000002,   // skip disabled controls
  FindHitTest = 0x00000004,   // data is a POINT; only mouse-enabled controls containing it
  FindTopFirst = 0x00000008,  // children from last to first
  FindMeFirst = 0x80000000u,  // a container before its children
};

// Bits of CControlUI::GetControlFlags.
enum : UINT {
  ControlFlagTabStop = 0x00000001,    // Tab and Shift+Tab stop here
  ControlFlagSetCursor = 0x00000002,  // wants set-cursor events
};

// The callback of a control search: the control to stop the search with,
// or null to go on.
typedef CControlUI*(CALLBACK* FINDCONTROLPROC)(CControlUI* pControl, LPVOID pData);

}  // namespace SkinUI
