// A menu: items addressed by command id or by index (from 0).  Operations
// on a command id act on the first item with that id; they and those on an
// index that does not exist change nothing and return false, -1 or an empty
// value.
#pragma once

#include "include/cef_base.h"
#include "include/internal/cef_types.h"

class CefMenuModel : public virtual CefBase {
 public:
  typedef cef_menu_item_type_t MenuItemType;

  virtual bool Clear() = 0;
  virtual int GetCount() = 0;
  virtual bool AddSeparator() = 0;
  virtual bool AddItem(int command_id, const CefString& label) = 0;
  virtual bool AddCheckItem(int command_id, const CefString& label) = 0;
  // Radio items with the same group id are checked one at a time.
  virtual bool AddRadioItem(int command_id, const CefString& label, int group_id) = 0;
  virtual CefRefPtr<CefMenuModel> AddSubMenu(int command_id, const CefString& label) = 0;
  virtual bool InsertSeparatorAt(int index) = 0;
  virtual bool InsertItemAt(int index, int command_id, const CefString& label) = 0;
  virtual bool InsertCheckItemAt(int index, int command_id, const CefString& label) = 0;
  virtual bool InsertRadioItemAt(int index, int command_id, const CefString& label,
                                 int group_id) = 0;
  virtual CefRefPtr<CefMenuModel> InsertSubMenuAt(int index, int command_id,
                                                  const CefString& label) = 0;
  virtual bool Remove(int command_id) = 0;
  virtual bool RemoveAt(int index) = 0;
  virtual int GetIndexOf(int command_id) = 0;
  virtual int GetCommandIdAt(int index) = 0;
  virtual bool SetCommandIdAt(int index, int command_id) = 0;
  virtual CefString GetLabel(int command_id) = 0;
  virtual CefString GetLabelAt(int index) = 0;
  virtual bool SetLabel(int command_id, const CefString& label) = 0;
  virtual bool SetLabelAt(int index, const CefString& label) = 0;
  virtual MenuItemType GetType(int command_id) = 0;
  virtual MenuItemType GetTypeAt(int index) = 0;
  virtual int GetGroupId(int command_id) = 0;
  virtual int GetGroupIdAt(int index) = 0;
  virtual bool SetGroupId(int command_id, int group_id) = 0;
  virtual bool SetGroupIdAt(int index, int group_id) = 0;
  virtual CefRefPtr<CefMenuModel> GetSubMenu(int command_id) = 0;
  virtual CefRefPtr<CefMenuModel> GetSubMenuAt(int index) = 0;
  virtual bool IsVisible(int command_id) = 0;
  virtual bool IsVisibleAt(int index) = 0;
  virtual bool SetVisible(int command_id, bool visible) = 0;
  virtual bool SetVisibleAt(int index, bool visible) = 0;
  virtual bool IsEnabled(int command_id) = 0;
  virtual bool IsEnabledAt(int index) = 0;
  virtual bool SetEnabled(int command_id, bool enabled) = 0;
  virtual bool SetEnabledAt(int index, bool enabled) = 0;
  virtual bool IsChecked(int command_id) = 0;
  virtual bool IsCheckedAt(int index) = 0;
  virtual bool SetChecked(int command_id, bool checked) = 0;
  virtual bool SetCheckedAt(int index, bool checked) = 0;
  virtual bool HasAccelerator(int command_id) = 0;
  virtual bool HasAcceleratorAt(int index) = 0;
  virtual bool SetAccelerator(int command_id, int key_code, bool shift_pressed, bool ctrl_pressed,
                              bool alt_pressed) = 0;
  virtual bool SetAcceleratorAt(int index, int key_code, bool shift_pressed, bool ctrl_pressed,
                                bool alt_pressed) = 0;
  virtual bool RemoveAccelerator(int command_id) = 0;
  virtual bool RemoveAcceleratorAt(int index) = 0;
  virtual bool GetAccelerator(int command_id, int& key_code, bool& shift_pressed,
                              bool& ctrl_pressed, bool& alt_pressed) = 0;
  virtual bool GetAcceleratorAt(int index, int& key_code, bool& shift_pressed, bool& ctrl_pressed,
                                bool& alt_pressed) = 0;
};
