#include "src/CefMenuModelImpl.h"

namespace engine {
namespace {

CefMenuModelImpl::Item MakeItem(cef_menu_item_type_t type, int commandId, const CefString& label,
                                int groupId) {
  CefMenuModelImpl::Item item;
  item.type = type;
  item.commandId = commandId;
  item.label = label;
  item.groupId = groupId;
  return item;
}

}  // namespace

bool CefMenuModelImpl::Clear() {
  std::lock_guard<std::mutex> lock(m_mutex);
  m_items.clear();
  return true;
}

int CefMenuModelImpl::GetCount() {
  std::lock_guard<std::mutex> lock(m_mutex);
  return static_cast<int>(m_items.size());
}

bool CefMenuModelImpl::AddSeparator() {
  return Insert(kAppend, MakeItem(MENUITEMTYPE_SEPARATOR, -1, CefString(), -1));
}

bool CefMenuModelImpl::AddItem(int command_id, const CefString& label) {
  return Insert(kAppend, MakeItem(MENUITEMTYPE_COMMAND, command_id, label, -1));
}

bool CefMenuModelImpl::AddCheckItem(int command_id, const CefString& label) {
  return Insert(kAppend, MakeItem(MENUITEMTYPE_CHECK, command_id, label, -1));
}

bool CefMenuModelImpl::AddRadioItem(int command_id, const CefString& label, int group_id) {
  return Insert(kAppend, MakeItem(MENUITEMTYPE_RADIO, command_id, label, group_id));
}

CefRefPtr<CefMenuModel> CefMenuModelImpl::AddSubMenu(int command_id, const CefString& label) {
  return InsertSubMenu(kAppend, command_id, label);
}

bool CefMenuModelImpl::InsertSeparatorAt(int index) {
  if (index < 0) return false;
  return Insert(index, MakeItem(MENUITEMTYPE_SEPARATOR, -1, CefString(), -1));
}

bool CefMenuModelImpl::InsertItemAt(int index, int command_id, const CefString& label) {
  if (index < 0) return false;
  return Insert(index, MakeItem(MENUITEMTYPE_COMMAND, command_id, label, -1));
}

bool CefMenuModelImpl::InsertCheckItemAt(int index, int command_id, const CefString& label) {
  if (index < 0) return false;
  return Insert(index, MakeItem(MENUITEMTYPE_CHECK, command_id, label, -1));
}

bool CefMenuModelImpl::InsertRadioItemAt(int index, int command_id, const CefString& label,
                                         int group_id) {
  if (index < 0) return false;
  return Insert(index, MakeItem(MENUITEMTYPE_RADIO, command_id, label, group_id));
}

CefRefPtr<CefMenuModel> CefMenuModelImpl::InsertSubMenuAt(int index, int command_id,
                                                          const CefString& label) {
  if (index < 0) return nullptr;
  return InsertSubMenu(index, command_id, label);
}

CefRefPtr<CefMenuModel> CefMenuModelImpl::InsertSubMenu(int index, int command_id,
                                                        const CefString& label) {
  Item item = MakeItem(MENUITEMTYPE_SUBMENU, command_id, label, -1);
  CefRefPtr<CefMenuModelImpl> subMenu = new CefMenuModelImpl();
  item.subMenu = subMenu;
  if (!Insert(index, std::move(item))) return nullptr;
  return subMenu.get();
}

bool CefMenuModelImpl::Remove(int command_id) { return RemoveAt(GetIndexOf(command_id)); }

bool CefMenuModelImpl::RemoveAt(int index) {
  std::lock_guard<std::mutex> lock(m_mutex);
  if (At(index) == nullptr) return false;
  m_items.erase(m_items.begin() + index);
  return true;
}

int CefMenuModelImpl::GetIndexOf(int command_id) {
  std::lock_guard<std::mutex> lock(m_mutex);
  for (size_t i = 0; i < m_items.size(); ++i) {
    if (m_items[i].commandId == command_id) return static_cast<int>(i);
  }
  return -1;
}

int CefMenuModelImpl::GetCommandIdAt(int index) {
  std::lock_guard<std::mutex> lock(m_mutex);
  const Item* item = At(index);
  return item != nullptr ? item->commandId : -1;
}

bool CefMenuModelImpl::SetCommandIdAt(int index, int command_id) {
  std::lock_guard<std::mutex> lock(m_mutex);
  Item* item = At(index);
  if (item == nullptr) return false;
  item->commandId = command_id;
  return true;
}

CefString CefMenuModelImpl::GetLabelAt(int index) {
  std::lock_guard<std::mutex> lock(m_mutex);
  const Item* item = At(index);
  return item != nullptr ? item->label : CefString();
}

bool CefMenuModelImpl::SetLabelAt(int index, const CefString& label) {
  std::lock_guard<std::mutex> lock(m_mutex);
  Item* item = At(index);
  if (item == nullptr) return false;
  item->label = label;
  return true;
}

CefMenuModel::MenuItemType CefMenuModelImpl::GetTypeAt(int index) {
  std::lock_guard<std::mutex> lock(m_mutex);
  const Item* item = At(index);
  return item != nullptr ? item->type : MENUITEMTYPE_NONE;
}

int CefMenuModelImpl::GetGroupIdAt(int index) {
  std::lock_guard<std::mutex> lock(m_mutex);
  const Item* item = At(index);
  return item != nullptr ? item->groupId : -1;
}

bool CefMenuModelImpl::SetGroupIdAt(int index, int group_id) {
  std::lock_guard<std::mutex> lock(m_mutex);
  Item* item = At(index);
  if (item == nullptr) return false;
  item->groupId = group_id;
  return true;
}

CefRefPtr<CefMenuModel> CefMenuModelImpl::GetSubMenuAt(int index) {
  std::lock_guard<std::mutex> lock(m_mutex);
  const Item* item = At(index);
  return item != nullptr ? item->subMenu.get() : nullptr;
}

bool CefMenuModelImpl::IsVisibleAt(int index) {
  std::lock_guard<std::mutex> lock(m_mutex);
  const Item* item = At(index);
  return item != nullptr && item->visible;
}

bool CefMenuModelImpl::SetVisibleAt(int index, bool visible) {
  std::lock_guard<std::mutex> lock(m_mutex);
  Item* item = At(index);
  if (item == nullptr) return false;
  item->visible = visible;
  return true;
}

bool CefMenuModelImpl::IsEnabledAt(int index) {
  std::lock_guard<std::mutex> lock(m_mutex);
  const Item* item = At(index);
  return item != nullptr && item->enabled;
}

bool CefMenuModelImpl::SetEnabledAt(int index, bool enabled) {
  std::lock_guard<std::mutex> lock(m_mutex);
  Item* item = At(index);
  if (item == nullptr) return false;
  item->enabled = enabled;
  return true;
}

bool CefMenuModelImpl::IsCheckedAt(int index) {
  std::lock_guard<std::mutex> lock(m_mutex);
  const Item* item = At(index);
  return item != nullptr && item->checked;
}

bool CefMenuModelImpl::SetCheckedAt(int index, bool checked) {
  std::lock_guard<std::mutex> lock(m_mutex);
  Item* item = At(index);
  if (item == nullptr) return false;
  // Checking a radio item unchecks the others of its group.
  if (checked && item->type == MENUITEMTYPE_RADIO) {
    for (Item& other : m_items) {
      if (other.type == MENUITEMTYPE_RADIO && other.groupId == item->groupId) other.checked = false;
    }
  }
  item->checked = checked;
  return true;
}

bool CefMenuModelImpl::HasAcceleratorAt(int index) {
  std::lock_guard<std::mutex> lock(m_mutex);
  const Item* item = At(index);
  return item != nullptr && item->hasAccelerator;
}

bool CefMenuModelImpl::SetAcceleratorAt(int index, int key_code, bool shift_pressed,
                                        bool ctrl_pressed, bool alt_pressed) {
  std::lock_guard<std::mutex> lock(m_mutex);
  Item* item = At(index);
  if (item == nullptr) return false;
  item->hasAccelerator = true;
  item->keyCode = key_code;
  item->shiftPressed = shift_pressed;
  item->ctrlPressed = ctrl_pressed;
  item->altPressed = alt_pressed;
  return true;
}

bool CefMenuModelImpl::RemoveAcceleratorAt(int index) {
  std::lock_guard<std::mutex> lock(m_mutex);
  Item* item = At(index);
  if (item == nullptr || !item->hasAccelerator) return false;
  item->hasAccelerator = false;
  item->keyCode = 0;
  item->shiftPressed = item->ctrlPressed = item->altPressed = false;
  return true;
}

bool CefMenuModelImpl::GetAcceleratorAt(int index, int& key_code, bool& shift_pressed,
                                        bool& ctrl_pressed, bool& alt_pressed) {
  std::lock_guard<std::mutex> lock(m_mutex);
  const Item* item = At(index);
  if (item == nullptr || !item->hasAccelerator) return false;
  key_code = item->keyCode;
  shift_pressed = item->shiftPressed;
  ctrl_pressed = item->ctrlPressed;
  alt_pressed = item->altPressed;
  return true;
}

std::vector<CefMenuModelImpl::Item> CefMenuModelImpl::Items() const {
  std::lock_guard<std::mutex> lock(m_mutex);
  return m_items;
}

bool CefMenuModelImpl::Insert(int index, Item item) {
  std::lock_guard<std::mutex> lock(m_mutex);
  if (index == kAppend) index = static_cast<int>(m_items.size());
  // Inserting at the count appends.
  if (index < 0 || static_cast<size_t>(index) > m_items.size()) return false;
  m_items.insert(m_items.begin() + index, std::move(item));
  return true;
}

CefMenuModelImpl::Item* CefMenuModelImpl::At(int index) {
  if (index < 0 || static_cast<size_t>(index) >= m_items.size()) return nullptr;
  return &m_items[static_cast<size_t>(index)];
}

}  // namespace engine
