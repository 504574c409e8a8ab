// The argument for a skin resource given either by name or by numeric
// resource id, in one pointer-sized field.  A value below 0x10000 is an id,
// anything else a pointer to a UTF-16 name, as with the platform's resource
// functions.
#pragma once

#include <windows.h>

namespace SkinUI {

class STRINGorID {
 public:
  STRINGorID(const wchar_t* name) : m_lpstr(name) {}  // NOLINT: a name converts
  // Ids are 16-bit, as resource ids are.
  STRINGorID(unsigned int id) : m_lpstr(MAKEINTRESOURCEW(id)) {}  // NOLINT: an id converts

  bool IsId() const { return IS_INTRESOURCE(m_lpstr); }
  WORD GetId() const { return static_cast<WORD>(reinterpret_cast<ULONG_PTR>(m_lpstr)); }

  const wchar_t* m_lpstr;
};

}  // namespace SkinUI
