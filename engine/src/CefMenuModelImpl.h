// The engine's menu model: the items of a context menu, which the client
// may change before the menu shows.
#pragma once

#include <climits>
#include <mutex>
#include <vector>

#include "include/cef_menu_model.h"

namespace engine {

class CefMenuModelImpl : public CefMenuModel {
 public:
  // One item as the engine shows it.
  struct Item {
    MenuItemType type = MENUITEMTYPE_NONE;
    int commandId = -1;
    CefString label;
    int groupId = -1;
    bool enabled = true;
    bool visible = true;
    bool checked = false;
    bool hasAccelerator = false;
    int keyCode = 0;
    bool shiftPressed = false;
    bool ctrlPressed = false;
    bool altPressed = false;
    // Submenus only.
    CefRefPtr<CefMenuModelImpl> subMenu;
  };

  CefMenuModelImpl() = default;

  bool Clear() override;
  int GetCount() override;
  bool AddSeparator() override;
  bool AddItem(int command_id, const CefString& label) override;
  bool AddCheckItem(int command_id, const CefString& label) override;
  bool AddRadioItem(int command_id, const CefString& label, int group_id) override;
  CefRefPtr<CefMenuModel> AddSubMenu(int command_id, const CefString& label) override;
  bool InsertSeparatorAt(int index) override;
  bool InsertItemAt(int index, int command_id, const CefString& label) override;
  bool InsertCheckItemAt(int index, int command_id, const CefString& label) override;
  bool InsertRadioItemAt(int index, int command_id, const CefString& label, int group_id) override;
  CefRefPtr<CefMenuModel> InsertSubMenuAt(int index, int command_id,
                                          const CefString& label) override;
  bool Remove(int command_id) override;
  bool RemoveAt(int index) override;
  int GetIndexOf(int command_id) override;
  int GetCommandIdAt(int index) override;
  bool SetCommandIdAt(int index, int command_id) override;
  CefString GetLabel(int command_id) override { return GetLabelAt(GetIndexOf(command_id)); }
  CefString GetLabelAt(int index) override;
  bool SetLabel(int command_id, const CefString& label) override {
    return SetLabelAt(GetIndexOf(command_id), label);
  }
  bool SetLabelAt(int index, const CefString& label) override;
  MenuItemType GetType(int command_id) override { return GetTypeAt(GetIndexOf(command_id)); }
  MenuItemType GetTypeAt(int index) override;
  int GetGroupId(int command_id) override { return GetGroupIdAt(GetIndexOf(command_id)); }
  int GetGroupIdAt(int index) override;
  bool SetGroupId(int command_id, int group_id) override {
    return SetGroupIdAt(GetIndexOf(command_id), group_id);
  }
  bool SetGroupIdAt(int index, int group_id) override;
  CefRefPtr<CefMenuModel> GetSubMenu(int command_id) override {
    return GetSubMenuAt(GetIndexOf(command_id));
  }
  CefRefPtr<CefMenuModel> GetSubMenuAt(int index) override;
  bool IsVisible(int command_id) override { return IsVisibleAt(GetIndexOf(command_id)); }
  bool IsVisibleAt(int index) override;
  bool SetVisible(int command_id, bool visible) override {
    return SetVisibleAt(GetIndexOf(command_id), visible);
  }
  bool SetVisibleAt(int index, bool visible) override;
  bool IsEnabled(int command_id) override { return IsEnabledAt(GetIndexOf(command_id)); }
  bool IsEnabledAt(int index) override;
  bool SetEnabled(int command_id, bool enabled) override {
    return SetEnabledAt(GetIndexOf(command_id), enabled);
  }
  bool SetEnabledAt(int index, bool enabled) override;
  bool IsChecked(int command_id) override { return IsCheckedAt(GetIndexOf(command_id)); }
  bool IsCheckedAt(int index) override;
  bool SetChecked(int command_id, bool checked) override {
    return SetCheckedAt(GetIndexOf(command_id), checked);
  }
  bool SetCheckedAt(int index, bool checked) override;
  bool HasAccelerator(int command_id) override { return HasAcceleratorAt(GetIndexOf(command_id)); }
  bool HasAcceleratorAt(int index) override;
  bool SetAccelerator(int command_id, int key_code, bool shift_pressed, bool ctrl_pressed,
                      bool alt_pressed) override {
    return SetAcceleratorAt(GetIndexOf(command_id), key_code, shift_pressed, ctrl_pressed,
                            alt_pressed);
  }
  bool SetAcceleratorAt(int index, int key_code, bool shift_pressed, bool ctrl_pressed,
                        bool alt_pressed) override;
  bool RemoveAccelerator(int command_id) override {
    return RemoveAcceleratorAt(GetIndexOf(command_id));
  }
  bool RemoveAcceleratorAt(int index) override;
  bool GetAccelerator(int command_id, int& key_code, bool& shift_pressed, bool& ctrl_pressed,
                      bool& alt_pressed) override {
    return GetAcceleratorAt(GetIndexOf(command_id), key_code, shift_pressed, ctrl_pressed,
                            alt_pressed);
  }
  bool GetAcceleratorAt(int index, int& key_code, bool& shift_pressed, bool& ctrl_pressed,
                        bool& alt_pressed) override;

  // Engine side: the items as they stand, to show the menu.
  std::vector<Item> Items() const;

 private:
  // Inserts item before index; kAppend appends, under the same lock that
  // finds the end.
  static constexpr int kAppend = INT_MIN;
  bool Insert(int index, Item item);
  CefRefPtr<CefMenuModel> InsertSubMenu(int index, int command_id, const CefString& label);
  // Under the lock: the item at index, or null.
  Item* At(int index);

  mutable std::mutex m_mutex;
  std::vector<Item> m_items;

  IMPLEMENT_REFCOUNTING(CefMenuModelImpl);
};

}  // namespace engine
