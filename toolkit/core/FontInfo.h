// One font of a paint manager: the GDI font and the description it was
// made from, which is how fonts are looked up again.
#pragma once

#include <windows.h>

#include "toolkit/controls/SkinString.h"

namespace SkinUI {

typedef struct tagTFontInfo {
  HFONT hFont = nullptr;
  CSkinString sFontName;
  // Height in pixels; the font is created with the height -iSize.
  int iSize = 0;
  bool bBold = false;
  bool bUnderline = false;
  bool bItalic = false;
  // All zero until the font is first measured with a paint DC.
  TEXTMETRICW tm = {};
} TFontInfo;

}  // namespace SkinUI
