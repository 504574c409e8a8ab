#include "src/KeyNames.h"

#include <windows.h>

namespace engine {
namespace {

struct NamedKey {
  unsigned int virtualKey;
  const char* key;
  const char* code;
};

// Keys that have a name of their own rather than a character.
const NamedKey kNamedKeys[] = {
    {VK_BACK, "Backspace", "Backspace"},
    {VK_TAB, "Tab", "Tab"},
    {VK_RETURN, "Enter", "Enter"},
    {VK_SHIFT, "Shift", "ShiftLeft"},
    {VK_CONTROL, "Control", "ControlLeft"},
    {VK_MENU, "Alt", "AltLeft"},
    {VK_PAUSE, "Pause", "Pause"},
    {VK_CAPITAL, "CapsLock", "CapsLock"},
    {VK_ESCAPE, "Escape", "Escape"},
    {VK_PRIOR, "PageUp", "PageUp"},
    {VK_NEXT, "PageDown", "PageDown"},
    {VK_END, "End", "End"},
    {VK_HOME, "Home", "Home"},
    {VK_LEFT, "ArrowLeft", "ArrowLeft"},
    {VK_UP, "ArrowUp", "ArrowUp"},
    {VK_RIGHT, "ArrowRight", "ArrowRight"},
    {VK_DOWN, "ArrowDown", "ArrowDown"},
    {VK_INSERT, "Insert", "Insert"},
    {VK_DELETE, "Delete", "Delete"},
    {VK_LWIN, "Meta", "MetaLeft"},
    {VK_RWIN, "Meta", "MetaRight"},
    {VK_APPS, "ContextMenu", "ContextMenu"},
    {VK_NUMLOCK, "NumLock", "NumLock"},
    {VK_SCROLL, "ScrollLock", "ScrollLock"},
};

}  // namespace

KeyNames KeyNamesForVirtualKey(unsigned int virtualKey, bool extended) {
  for (const NamedKey& named : kNamedKeys) {
    if (named.virtualKey != virtualKey) continue;
    KeyNames names{named.key, named.code};
    // The right-hand modifier keys and the keypad's Enter are "extended".
    if (extended && virtualKey == VK_CONTROL) names.code = "ControlRight";
    if (extended && virtualKey == VK_MENU) names.code = "AltRight";
    if (extended && virtualKey == VK_RETURN) names.code = "NumpadEnter";
    return names;
  }
  if (virtualKey >= VK_F1 && virtualKey <= VK_F24) {
    const std::string name = "F" + std::to_string(virtualKey - VK_F1 + 1);
    return {name, name};
  }
  if (virtualKey >= 'A' && virtualKey <= 'Z') {
    return {std::string(), std::string("Key") + static_cast<char>(virtualKey)};
  }
  if (virtualKey >= '0' && virtualKey <= '9') {
    return {std::string(), std::string("Digit") + static_cast<char>(virtualKey)};
  }
  if (virtualKey >= VK_NUMPAD0 && virtualKey <= VK_NUMPAD9) {
    return {std::string(), "Numpad" + std::to_string(virtualKey - VK_NUMPAD0)};
  }
  if (virtualKey == VK_SPACE) return {std::string(), "Space"};
  return {};
}

}  // namespace engine
