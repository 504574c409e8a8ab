// The control classes a skin file can name by element.  Element names of
// classes this toolkit does not have (lists, edits, trees, sliders and the
// other controls the program's windows do not use) are not here: the
// builder offers them to the plugins and the window's callback like any
// other name it does not know.

#include <cwchar>
#include <new>

#include "toolkit/controls/ButtonUI.h"
#include "toolkit/controls/CheckBoxUI.h"
#include "toolkit/controls/ChildLayoutUI.h"
#include "toolkit/controls/ContainerUI.h"
#include "toolkit/controls/ControlUI.h"
#include "toolkit/controls/DialogBuilder.h"
#include "toolkit/controls/HorizontalLayoutUI.h"
#include "toolkit/controls/LabelUI.h"
#include "toolkit/controls/OptionUI.h"
#include "toolkit/controls/ScrollBarUI.h"
#include "toolkit/controls/TabLayoutUI.h"
#include "toolkit/controls/TextUI.h"
#include "toolkit/controls/TileLayoutUI.h"
#include "toolkit/controls/VerticalLayoutUI.h"

namespace SkinUI {
namespace {

template <class T>
CControlUI* MakeControl() {
  return new (std::nothrow) T;
}

struct TControlClass {
  LPCWSTR name;
  CControlUI* (*create)();
};

const TControlClass kControlClasses[] = {
    {L"Control", MakeControl<CControlUI>},
    {L"Container", MakeControl<CContainerUI>},
    {L"VerticalLayout", MakeControl<CVerticalLayoutUI>},
    {L"HorizontalLayout", MakeControl<CHorizontalLayoutUI>},
    {L"TabLayout", MakeControl<CTabLayoutUI>},
    {L"TileLayout", MakeControl<CTileLayoutUI>},
    {L"ChildLayout", MakeControl<CChildLayoutUI>},
    {L"Label", MakeControl<CLabelUI>},
    {L"Text", MakeControl<CTextUI>},
    {L"Button", MakeControl<CButtonUI>},
    {L"Option", MakeControl<COptionUI>},
    {L"CheckBox", MakeControl<CCheckBoxUI>},
    {L"ScrollBar", MakeControl<CScrollBarUI>},
};

}  // namespace

CControlUI* CDialogBuilder::CreateKnownControl(LPCWSTR pstrClass) {
  if (pstrClass == nullptr) return nullptr;
  for (const TControlClass& row : kControlClasses) {
    if (std::wcscmp(row.name, pstrClass) == 0) return row.create();
  }
  return nullptr;
}

}  // namespace SkinUI
