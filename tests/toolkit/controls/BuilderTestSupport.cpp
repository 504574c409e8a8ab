#include "tests/toolkit/controls/BuilderTestSupport.h"

#include <cwchar>

#include "tests/toolkit/core/ToolkitEnvironment.h"
#include "toolkit/controls/IContainerUI.h"

namespace test {
namespace {

std::wstring NameOrMark(const SkinUI::CControlUI& control) {
  const SkinUI::CSkinString name = control.GetName();
  return name.IsEmpty() ? std::wstring(L"?") : std::wstring(name.GetData());
}

}  // namespace

std::wstring BuilderData(const std::wstring& name) {
  return ToolkitEnvironment::DataFile(L"TALMIC_BUILDER_DATA", name);
}

void BuilderTest::SetUp() {
  ASSERT_FALSE(BuilderData().empty()) << "TALMIC_BUILDER_DATA is not set";
  ResetSettings();
}

void BuilderTest::TearDown() { ResetSettings(); }

void BuilderTest::ResetSettings() { ToolkitEnvironment::ResetSkinSettings(); }

bool Tracker::Deleted(const std::wstring& name) const {
  for (const std::wstring& d : deleted) {
    if (d == name) return true;
  }
  return false;
}

ProbeUI::~ProbeUI() { m_tracker->deleted.push_back(NameOrMark(*this)); }

ProbeBoxUI::~ProbeBoxUI() { m_tracker->deleted.push_back(NameOrMark(*this)); }

bool ProbeBoxUI::Add(SkinUI::CControlUI* pControl) {
  return m_refuse ? false : SkinUI::CContainerUI::Add(pControl);
}

bool ProbeBoxUI::AddAt(SkinUI::CControlUI* pControl, int iIndex) {
  return m_refuse ? false : SkinUI::CContainerUI::AddAt(pControl, iIndex);
}

void ProbeBoxUI::SetAttribute(LPCWSTR pstrName, LPCWSTR pstrValue) {
  if (std::wcscmp(pstrName, L"probe") == 0) {
    m_tracker->childrenAtProbe.push_back(GetCount());
    return;
  }
  SkinUI::CContainerUI::SetAttribute(pstrName, pstrValue);
}

SkinUI::CControlUI* ProbeCallback::CreateControl(LPCWSTR pstrClass) {
  m_tracker->offered.push_back(pstrClass);
  if (std::wcscmp(pstrClass, L"Probe") == 0) return new ProbeUI(m_tracker);
  if (std::wcscmp(pstrClass, L"ProbeBox") == 0) return new ProbeBoxUI(m_tracker, false);
  if (std::wcscmp(pstrClass, L"Refuser") == 0) return new ProbeBoxUI(m_tracker, true);
  return nullptr;
}

std::wstring ChildNames(SkinUI::CControlUI* control) {
  auto* items = control != nullptr
                    ? static_cast<SkinUI::IContainerUI*>(control->GetInterface(L"IContainer"))
                    : nullptr;
  if (items == nullptr) return L"(no container)";
  std::wstring names;
  for (int i = 0; i < items->GetCount(); ++i) {
    if (i > 0) names += L",";
    const SkinUI::CSkinString name = items->GetItemAt(i)->GetName();
    names += name.IsEmpty() ? std::wstring(L"-") : std::wstring(name.GetData());
  }
  return names;
}

SkinUI::CControlUI* ChildAt(SkinUI::CControlUI* control, int index) {
  auto* items = control != nullptr
                    ? static_cast<SkinUI::IContainerUI*>(control->GetInterface(L"IContainer"))
                    : nullptr;
  return items != nullptr ? items->GetItemAt(index) : nullptr;
}

}  // namespace test
