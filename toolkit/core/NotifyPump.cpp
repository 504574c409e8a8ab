#include "toolkit/core/NotifyPump.h"

#include "toolkit/controls/ControlUI.h"

namespace SkinUI {
namespace {

// The entry of one map that handles the notification, or null.  An entry
// naming the sender wins at once; otherwise the last any-control entry of
// the type is taken.
const SKIN_MSGMAP_ENTRY* FindEntry(const SKIN_MSGMAP_ENTRY* pEntry, const TNotifyUI& msg,
                                   const CSkinString& sSenderName) {
  const SKIN_MSGMAP_ENTRY* pAnyControl = nullptr;
  for (; pEntry->nSig != SkinSigEnd; ++pEntry) {
    if (pEntry->sMsgType.Compare(msg.sType) != 0) continue;
    if (pEntry->sCtrlName.Compare(sSenderName) == 0) return pEntry;
    if (pEntry->sCtrlName.IsEmpty()) pAnyControl = pEntry;
  }
  return pAnyControl;
}

}  // namespace

const SKIN_MSGMAP_ENTRY CNotifyPump::kMessageEntries[] = {SkinMapEnd()};

const SKIN_MSGMAP CNotifyPump::kMessageMap = {nullptr, kMessageEntries};

CNotifyPump::CNotifyPump() : m_VirtualWndMap(CStdStringPtrMap::kDefaultBuckets) {}

CNotifyPump::~CNotifyPump() = default;

const SKIN_MSGMAP* CNotifyPump::GetThisMessageMap() { return &kMessageMap; }

const SKIN_MSGMAP* CNotifyPump::GetMessageMap() const { return GetThisMessageMap(); }

bool CNotifyPump::AddVirtualWnd(CSkinString strName, CNotifyPump* pObject) {
  if (m_VirtualWndMap.Find(strName) != nullptr) return false;
  return m_VirtualWndMap.Insert(strName, pObject);
}

bool CNotifyPump::RemoveVirtualWnd(CSkinString strName) { return m_VirtualWndMap.Remove(strName); }

void CNotifyPump::NotifyPump(TNotifyUI& msg) {
  if (!msg.sVirtualWnd.IsEmpty()) {
    for (int i = 0; i < m_VirtualWndMap.GetSize(); ++i) {
      const wchar_t* key = m_VirtualWndMap.GetAt(i);
      if (key == nullptr || msg.sVirtualWnd.CompareNoCase(key) != 0) continue;
      // Lookups without reordering, so that the walk by index stays valid.
      auto* pObject = static_cast<CNotifyPump*>(m_VirtualWndMap.Find(key, false));
      if (pObject != nullptr && pObject->LoopDispatch(msg)) return;
    }
  }
  LoopDispatch(msg);
}

bool CNotifyPump::LoopDispatch(TNotifyUI& msg) {
  const CSkinString sSenderName = msg.pSender != nullptr ? msg.pSender->GetName() : CSkinString();
  for (const SKIN_MSGMAP* pMap = GetMessageMap(); pMap != nullptr;
       pMap = pMap->pfnGetBaseMap != nullptr ? pMap->pfnGetBaseMap() : nullptr) {
    const SKIN_MSGMAP_ENTRY* pEntry = FindEntry(pMap->lpEntries, msg, sSenderName);
    if (pEntry == nullptr) continue;
    switch (pEntry->nSig) {
      case SkinSigWParamLParam:
        if (pEntry->pfnWParamLParam == nullptr) return false;
        (this->*pEntry->pfnWParamLParam)(msg.wParam, msg.lParam);
        return true;
      case SkinSigNotify:
        if (pEntry->pfnNotify == nullptr) return false;
        (this->*pEntry->pfnNotify)(msg);
        return true;
      default:
        return false;
    }
  }
  return false;
}

}  // namespace SkinUI
