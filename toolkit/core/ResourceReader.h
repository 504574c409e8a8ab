// Reads skin resources whole, from wherever the process-wide settings of
// the paint manager say they are: the skin folder, the skin archive or the
// resource module.  The image loader and the dialog builder read through
// here.
#pragma once

#include <windows.h>

#include "toolkit/controls/StringOrId.h"
#include "toolkit/core/ResourceBuffer.h"

namespace SkinUI {

class CResourceReader {
 public:
  // With a resource type, the module resource (by id or name) of that
  // type; otherwise the archive entry when an archive is set, else the
  // file in the skin folder.  False when nothing could be read; an empty
  // resource counts as nothing.
  static bool Read(STRINGorID name, LPCWSTR type, CResourceBuffer& out);
  // The file at the resource path followed by `name`.
  static bool ReadFromFolder(LPCWSTR name, CResourceBuffer& out);
  // The entry `name` of the cached archive, or of the archive in the
  // resource path opened for this one read.
  static bool ReadFromZip(LPCWSTR name, CResourceBuffer& out);
  // The resource of that name or id and type in the resource module.
  static bool ReadFromModule(STRINGorID name, LPCWSTR type, CResourceBuffer& out);
  // A file given by its own path.
  static bool ReadPlainFile(LPCWSTR path, CResourceBuffer& out);
};

}  // namespace SkinUI
