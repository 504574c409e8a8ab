// Routing of a window's notifications to member functions through message
// maps, and to named sub-handlers ("virtual windows").
//
// A message map is a static table of entries (notification type, control
// name or empty for any control, the kind of handler, the handler) plus a
// link to the map of the class's base.  A class that wants its own map
// overrides GetMessageMap and defines its table with the SkinMap* entry
// helpers below, ending it with SkinMapEnd():
//
//   const SKIN_MSGMAP_ENTRY CMyWnd::kMessageEntries[] = {
//       SkinMapNotify(L"click", L"okbtn", &CMyWnd::OnOk),
//       SkinMapNotify(L"selectchanged", L"", &CMyWnd::OnSelect),
//       SkinMapEnd()};
//   const SKIN_MSGMAP CMyWnd::kMessageMap = {&WindowImplBase::GetThisMessageMap,
//                                            kMessageEntries};
//
// The chain for an object runs from its own class's map through each base
// map to CNotifyPump's, which is empty.
#pragma once

#include <windows.h>

#include <type_traits>

#include "toolkit/controls/SkinString.h"
#include "toolkit/controls/StdStringPtrMap.h"
#include "toolkit/core/Notify.h"

namespace SkinUI {

class CNotifyPump;

// What kind of handler an entry holds.
enum SkinMapSignature : UINT {
  // Marks the end of a table.
  SkinSigEnd = 0,
  // The handler takes the notification's wParam and lParam.
  SkinSigWParamLParam = 1,
  // The handler takes the notification itself.
  SkinSigNotify = 2,
};

typedef void (CNotifyPump::*SKIN_PMSG_WL)(WPARAM wParam, LPARAM lParam);
typedef void (CNotifyPump::*SKIN_PMSG_N)(TNotifyUI& msg);

struct SKIN_MSGMAP_ENTRY {
  CSkinString sMsgType;
  // Empty: any control.
  CSkinString sCtrlName;
  UINT nSig;
  SKIN_PMSG_WL pfnWParamLParam;
  SKIN_PMSG_N pfnNotify;
};

struct SKIN_MSGMAP {
  // The base class's map, or null at the end of the chain.
  const SKIN_MSGMAP* (*pfnGetBaseMap)();
  const SKIN_MSGMAP_ENTRY* lpEntries;
};

// An entry whose handler takes the notification.  The handler belongs to a
// class derived from CNotifyPump; a virtual handler is called virtually.
template <class T>
SKIN_MSGMAP_ENTRY SkinMapNotify(LPCWSTR pstrType, LPCWSTR pstrCtrlName,
                                void (T::*pfn)(TNotifyUI&)) {
  static_assert(std::is_base_of<CNotifyPump, T>::value, "handlers are members of a pump");
  return SKIN_MSGMAP_ENTRY{pstrType, pstrCtrlName, SkinSigNotify, nullptr,
                           static_cast<SKIN_PMSG_N>(pfn)};
}

// An entry whose handler takes the notification's wParam and lParam.
template <class T>
SKIN_MSGMAP_ENTRY SkinMapWParamLParam(LPCWSTR pstrType, LPCWSTR pstrCtrlName,
                                      void (T::*pfn)(WPARAM, LPARAM)) {
  static_assert(std::is_base_of<CNotifyPump, T>::value, "handlers are members of a pump");
  return SKIN_MSGMAP_ENTRY{pstrType, pstrCtrlName, SkinSigWParamLParam,
                           static_cast<SKIN_PMSG_WL>(pfn), nullptr};
}

// The last entry of every table.
inline SKIN_MSGMAP_ENTRY SkinMapEnd() {
  return SKIN_MSGMAP_ENTRY{L"", L"", SkinSigEnd, nullptr, nullptr};
}

class CNotifyPump {
 public:
  CNotifyPump();
  CNotifyPump(const CNotifyPump&) = delete;
  CNotifyPump& operator=(const CNotifyPump&) = delete;
  virtual ~CNotifyPump();

  // Registers a named sub-handler; false when the name is taken.  The pump
  // is not owned.
  bool AddVirtualWnd(CSkinString strName, CNotifyPump* pObject);
  // False when no sub-handler has that name.
  bool RemoveVirtualWnd(CSkinString strName);
  // A notification from inside a virtual window goes to the sub-handlers of
  // that name first; when none of them handles it, to this pump's maps.
  void NotifyPump(TNotifyUI& msg);
  // Walks this object's map chain; true when a handler was called.
  bool LoopDispatch(TNotifyUI& msg);

  static const SKIN_MSGMAP* GetThisMessageMap();

 protected:
  virtual const SKIN_MSGMAP* GetMessageMap() const;

 private:
  static const SKIN_MSGMAP_ENTRY kMessageEntries[];
  static const SKIN_MSGMAP kMessageMap;

  CStdStringPtrMap m_VirtualWndMap;
};

}  // namespace SkinUI
