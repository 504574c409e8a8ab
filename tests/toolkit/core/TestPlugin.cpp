// A plugin module for the plugin loading tests.  Its factory answers every
// element name with a marker value, so a test can tell that the factory it
// holds is this one; no control is ever made from it.
#include <cstdint>

extern "C" __declspec(dllexport) void* CreateControl(const wchar_t* /*type*/) {
  return reinterpret_cast<void*>(static_cast<uintptr_t>(0x5EED));
}
