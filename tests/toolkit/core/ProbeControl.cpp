#include "tests/toolkit/core/ProbeControl.h"

#include <ostream>

#include "toolkit/core/PaintManagerUI.h"

namespace test {

std::ostream& operator<<(std::ostream& out, const Record& record) {
  std::string what(record.what.begin(), record.what.end());
  std::string who(record.who.begin(), record.who.end());
  return out << what << "@" << who;
}

std::wstring EventName(int type) {
  switch (type) {
    case SkinUI::EventKeyDown:
      return L"keydown";
    case SkinUI::EventKeyUp:
      return L"keyup";
    case SkinUI::EventChar:
      return L"char";
    case SkinUI::EventSysKey:
      return L"syskey";
    case SkinUI::EventMouseMove:
      return L"move";
    case SkinUI::EventMouseLeave:
      return L"leave";
    case SkinUI::EventMouseEnter:
      return L"enter";
    case SkinUI::EventMouseHover:
      return L"hover";
    case SkinUI::EventButtonDown:
      return L"down";
    case SkinUI::EventButtonUp:
      return L"up";
    case SkinUI::EventRButtonDown:
      return L"rdown";
    case SkinUI::EventDblClick:
      return L"dblclick";
    case SkinUI::EventContextMenu:
      return L"contextmenu";
    case SkinUI::EventScrollWheel:
      return L"wheel";
    case SkinUI::EventKillFocus:
      return L"killfocus";
    case SkinUI::EventSetFocus:
      return L"setfocus";
    case SkinUI::EventWindowSize:
      return L"windowsize";
    case SkinUI::EventSetCursor:
      return L"setcursor";
    case SkinUI::EventTimer:
      return L"timer";
    default:
      return L"event" + std::to_wstring(type);
  }
}

std::wstring NameOf(SkinUI::CControlUI* control) {
  if (control == nullptr) return L"-";
  return std::wstring(control->GetName().GetData());
}

ProbeControl::ProbeControl(const wchar_t* name, std::vector<Record>* log, UINT flags,
                           const wchar_t* className)
    : m_log(log), m_flags(flags), m_className(className) {
  SetName(name);
}

void ProbeControl::DoEvent(SkinUI::TEventUI& event) {
  events.push_back(event);
  if (m_log != nullptr) m_log->push_back({EventName(event.Type), NameOf(this)});
  if (event.Type == SkinUI::EventButtonUp && clickOnRelease &&
      ::PtInRect(&m_rcItem, event.ptMouse) && m_pManager != nullptr) {
    m_pManager->SendNotify(this, L"click");
  }
  CControlUI::DoEvent(event);
}

bool ProbeControl::Activate() {
  if (!CControlUI::Activate()) return false;
  ++activations;
  return true;
}

void NotifyLog::Notify(SkinUI::TNotifyUI& msg) {
  received.push_back(msg);
  if (m_log != nullptr) m_log->push_back({std::wstring(msg.sType.GetData()), NameOf(msg.pSender)});
}

}  // namespace test
