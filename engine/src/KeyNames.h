// The DOM names of a key, as the browser's key events carry them: "key"
// (what the key means, "Enter", "ArrowLeft", "a") and "code" (which key
// it is, "Enter", "ArrowLeft", "KeyA").
#pragma once

#include <string>

namespace engine {

struct KeyNames {
  std::string key;   // empty when the key's meaning comes from its text
  std::string code;  // empty when unknown
};

// Names for a Windows virtual-key code; printable keys have only a code.
KeyNames KeyNamesForVirtualKey(unsigned int virtualKey, bool extended);

}  // namespace engine
