#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "src/CefMenuModelImpl.h"

namespace {

// The menu as "id:label" entries, separators as "-".
std::vector<std::string> Entries(CefRefPtr<CefMenuModel> menu) {
  std::vector<std::string> entries;
  for (int i = 0; i < menu->GetCount(); ++i) {
    if (menu->GetTypeAt(i) == MENUITEMTYPE_SEPARATOR) {
      entries.push_back("-");
    } else {
      entries.push_back(std::to_string(menu->GetCommandIdAt(i)) + ":" +
                        menu->GetLabelAt(i).ToString());
    }
  }
  return entries;
}

CefRefPtr<CefMenuModel> EditMenu() {
  CefRefPtr<CefMenuModel> menu = new engine::CefMenuModelImpl();
  menu->AddItem(MENU_ID_UNDO, "撤消");
  menu->AddSeparator();
  menu->AddItem(MENU_ID_COPY, "复制");
  menu->AddItem(MENU_ID_PASTE, "粘贴");
  return menu;
}

TEST(CefMenuModel, ItemsAreAddressedByIndexAndByCommand) {
  CefRefPtr<CefMenuModel> menu = EditMenu();
  EXPECT_EQ(Entries(menu), (std::vector<std::string>{"110:撤消", "-", "113:复制", "114:粘贴"}));
  EXPECT_EQ(menu->GetIndexOf(MENU_ID_COPY), 2);
  EXPECT_EQ(menu->GetIndexOf(MENU_ID_PRINT), -1);
  EXPECT_EQ(menu->GetType(MENU_ID_COPY), MENUITEMTYPE_COMMAND);

  EXPECT_TRUE(menu->InsertItemAt(0, MENU_ID_REDO, "重做"));
  EXPECT_TRUE(menu->InsertSeparatorAt(menu->GetCount()));  // at the end: appends
  EXPECT_FALSE(menu->InsertItemAt(menu->GetCount() + 1, MENU_ID_FIND, "x"));
  EXPECT_FALSE(menu->InsertItemAt(-1, MENU_ID_FIND, "x"));
  EXPECT_TRUE(menu->Remove(MENU_ID_COPY));
  EXPECT_FALSE(menu->Remove(MENU_ID_COPY));
  EXPECT_TRUE(menu->RemoveAt(2));  // the separator
  EXPECT_EQ(Entries(menu), (std::vector<std::string>{"111:重做", "110:撤消", "114:粘贴", "-"}));

  EXPECT_TRUE(menu->SetCommandIdAt(2, MENU_ID_USER_FIRST));
  EXPECT_TRUE(menu->SetLabel(MENU_ID_USER_FIRST, "mine"));
  EXPECT_EQ(menu->GetLabel(MENU_ID_USER_FIRST).ToString(), "mine");
  EXPECT_FALSE(menu->SetLabel(MENU_ID_PASTE, "gone"));
  EXPECT_EQ(menu->GetLabelAt(99).ToString(), "");
  EXPECT_EQ(menu->GetCommandIdAt(99), -1);
  EXPECT_EQ(menu->GetTypeAt(-1), MENUITEMTYPE_NONE);

  EXPECT_TRUE(menu->Clear());
  EXPECT_EQ(menu->GetCount(), 0);
}

TEST(CefMenuModel, ItemsAreEnabledAndVisibleUntilToldOtherwise) {
  CefRefPtr<CefMenuModel> menu = EditMenu();
  EXPECT_TRUE(menu->IsEnabled(MENU_ID_PASTE));
  EXPECT_TRUE(menu->IsVisibleAt(0));
  EXPECT_FALSE(menu->IsChecked(MENU_ID_PASTE));
  EXPECT_TRUE(menu->SetEnabled(MENU_ID_PASTE, false));
  EXPECT_TRUE(menu->SetVisibleAt(0, false));
  EXPECT_FALSE(menu->IsEnabledAt(3));
  EXPECT_FALSE(menu->IsVisible(MENU_ID_UNDO));
  EXPECT_FALSE(menu->SetEnabled(MENU_ID_PRINT, false));
  EXPECT_FALSE(menu->IsEnabled(MENU_ID_PRINT));
}

TEST(CefMenuModel, CheckingARadioItemUnchecksItsGroup) {
  CefRefPtr<CefMenuModel> menu = new engine::CefMenuModelImpl();
  menu->AddRadioItem(1, "small", 7);
  menu->AddRadioItem(2, "large", 7);
  menu->AddRadioItem(3, "other group", 8);
  menu->AddCheckItem(4, "independent");
  menu->SetChecked(1, true);
  menu->SetChecked(3, true);
  menu->SetChecked(4, true);
  EXPECT_TRUE(menu->SetChecked(2, true));
  EXPECT_FALSE(menu->IsChecked(1));
  EXPECT_TRUE(menu->IsChecked(2));
  EXPECT_TRUE(menu->IsChecked(3));
  EXPECT_TRUE(menu->IsChecked(4));
  EXPECT_EQ(menu->GetGroupId(2), 7);
  EXPECT_EQ(menu->GetType(4), MENUITEMTYPE_CHECK);
}

TEST(CefMenuModel, SubMenusAndAcceleratorsBelongToTheirItem) {
  CefRefPtr<CefMenuModel> menu = EditMenu();
  CefRefPtr<CefMenuModel> sub = menu->AddSubMenu(MENU_ID_USER_FIRST + 1, "more");
  ASSERT_NE(sub, nullptr);
  sub->AddItem(MENU_ID_VIEW_SOURCE, "source");
  EXPECT_EQ(menu->GetType(MENU_ID_USER_FIRST + 1), MENUITEMTYPE_SUBMENU);
  EXPECT_EQ(menu->GetSubMenu(MENU_ID_USER_FIRST + 1).get(), sub.get());
  EXPECT_EQ(menu->GetSubMenu(MENU_ID_COPY), nullptr);
  EXPECT_EQ(menu->InsertSubMenuAt(-1, 1, "bad"), nullptr);

  int key = 0;
  bool shift = true, ctrl = false, alt = true;
  EXPECT_FALSE(menu->GetAccelerator(MENU_ID_COPY, key, shift, ctrl, alt));
  EXPECT_TRUE(menu->SetAccelerator(MENU_ID_COPY, 'C', false, true, false));
  EXPECT_TRUE(menu->HasAccelerator(MENU_ID_COPY));
  ASSERT_TRUE(menu->GetAcceleratorAt(2, key, shift, ctrl, alt));
  EXPECT_EQ(key, 'C');
  EXPECT_FALSE(shift);
  EXPECT_TRUE(ctrl);
  EXPECT_FALSE(alt);
  EXPECT_TRUE(menu->RemoveAccelerator(MENU_ID_COPY));
  EXPECT_FALSE(menu->HasAcceleratorAt(2));
  EXPECT_FALSE(menu->RemoveAccelerator(MENU_ID_COPY));
}

}  // namespace
