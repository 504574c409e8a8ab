// What the dialog builder tests share: the fixture folder, a fixture that
// puts the process-wide skin settings back around each test, and controls
// made through the builder's callback that record what happens to them.
#pragma once

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "gtest/gtest.h"
#include "toolkit/controls/ContainerUI.h"
#include "toolkit/controls/ControlUI.h"
#include "toolkit/controls/IDialogBuilderCallback.h"

namespace test {

// The folder of the committed builder fixtures, ending in a backslash (set
// by CTest as TALMIC_BUILDER_DATA).
std::wstring BuilderData(const std::wstring& name = L"");

// Clears the resource path, the archive and the resource module before and
// after each test, since they are shared by the whole process.
class BuilderTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;
  static void ResetSettings();
};

// What the recording controls saw: every deletion (by the name the control
// had then, "?" before it got one) and, for each attribute named "probe",
// how many children the control held when it arrived.
struct Tracker {
  std::vector<std::wstring> deleted;
  std::vector<int> childrenAtProbe;
  // Every element name the callback was offered, in order.
  std::vector<std::wstring> offered;
  bool Deleted(const std::wstring& name) const;
};

// "Probe": a plain control.
class ProbeUI : public SkinUI::CControlUI {
 public:
  explicit ProbeUI(Tracker* tracker) : m_tracker(tracker) {}
  ~ProbeUI() override;
  LPCWSTR GetClass() const override { return L"ProbeUI"; }

 private:
  Tracker* m_tracker;
};

// "ProbeBox": a container.  "Refuser": a container whose Add and AddAt
// refuse everything.
class ProbeBoxUI : public SkinUI::CContainerUI {
 public:
  ProbeBoxUI(Tracker* tracker, bool refuse) : m_tracker(tracker), m_refuse(refuse) {}
  ~ProbeBoxUI() override;
  LPCWSTR GetClass() const override { return L"ProbeBoxUI"; }
  bool Add(SkinUI::CControlUI* pControl) override;
  bool AddAt(SkinUI::CControlUI* pControl, int iIndex) override;
  void SetAttribute(LPCWSTR pstrName, LPCWSTR pstrValue) override;

 private:
  Tracker* m_tracker;
  bool m_refuse;
};

// Makes "Probe", "ProbeBox" and "Refuser"; nothing else.
class ProbeCallback : public SkinUI::IDialogBuilderCallback {
 public:
  explicit ProbeCallback(Tracker* tracker) : m_tracker(tracker) {}
  SkinUI::CControlUI* CreateControl(LPCWSTR pstrClass) override;

 private:
  Tracker* m_tracker;
};

// The names of a container's children, joined with commas ("-" for a
// child without a name); "(no container)" for anything else.
std::wstring ChildNames(SkinUI::CControlUI* control);
// The index-th child of a container, or null.
SkinUI::CControlUI* ChildAt(SkinUI::CControlUI* control, int index);

using ControlPtr = std::unique_ptr<SkinUI::CControlUI>;

}  // namespace test
