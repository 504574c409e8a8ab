// Controls and listeners that record what reaches them, for the tests of
// event routing and notifications.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "toolkit/controls/ControlUI.h"
#include "toolkit/core/Notify.h"

namespace test {

// One recorded event or notification: its kind and the name of the
// control it reached or came from.
struct Record {
  std::wstring what;
  std::wstring who;
  bool operator==(const Record& other) const { return what == other.what && who == other.who; }
};
std::ostream& operator<<(std::ostream& out, const Record& record);

// The event kinds by name, as the logs write them.
std::wstring EventName(int type);

// A control that logs every event it is given (then handles it as the
// base does), with a class name and control flags of the test's choice.
class ProbeControl : public SkinUI::CControlUI {
 public:
  explicit ProbeControl(const wchar_t* name, std::vector<Record>* log = nullptr, UINT flags = 0,
                        const wchar_t* className = L"ProbeUI");
  LPCWSTR GetClass() const override { return m_className.c_str(); }
  UINT GetControlFlags() const override { return m_flags; }
  void DoEvent(SkinUI::TEventUI& event) override;
  bool Activate() override;

  // Every event seen, in order.
  std::vector<SkinUI::TEventUI> events;
  int activations = 0;
  // A button-up inside the control sends "click", as buttons do.
  bool clickOnRelease = true;

 private:
  std::vector<Record>* m_log;
  UINT m_flags;
  std::wstring m_className;
};

// Records every notification of a window.
class NotifyLog : public SkinUI::INotifyUI {
 public:
  explicit NotifyLog(std::vector<Record>* log) : m_log(log) {}
  void Notify(SkinUI::TNotifyUI& msg) override;
  std::vector<SkinUI::TNotifyUI> received;

 private:
  std::vector<Record>* m_log;
};

// The name of a control, or "-" for none.
std::wstring NameOf(SkinUI::CControlUI* control);

}  // namespace test
