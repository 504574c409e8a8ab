// A plugin module for the dialog builder tests.  It makes no controls: it
// writes down every element name it is offered, one a line, so that a test
// can tell whether and when the builder asked it.
#include <cwchar>

namespace {

wchar_t g_offered[8192];
size_t g_used = 0;

}  // namespace

extern "C" __declspec(dllexport) void* CreateControl(const wchar_t* type) {
  const size_t length = type != nullptr ? std::wcslen(type) : 0;
  constexpr size_t kUnits = sizeof g_offered / sizeof g_offered[0];
  if (length + 2 > kUnits) return nullptr;
  // When the log is full it starts again: the tests look at its end only.
  if (g_used + length + 2 > kUnits) g_used = 0;
  std::wmemcpy(g_offered + g_used, type, length);
  g_used += length;
  g_offered[g_used++] = L'\n';
  g_offered[g_used] = L'\0';
  return nullptr;
}

extern "C" __declspec(dllexport) const wchar_t* OfferedNames() { return g_offered; }
