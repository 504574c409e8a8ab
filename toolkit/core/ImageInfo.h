// One decoded image of a paint manager's image table.
#pragma once

#include <windows.h>

#include "toolkit/controls/SkinString.h"

namespace SkinUI {

typedef struct tagTImageInfo {
  // A 32-bit top-down DIB section holding premultiplied pixels in memory
  // order blue, green, red, alpha.
  HBITMAP hBitmap = nullptr;
  int nX = 0;  // width in pixels
  int nY = 0;  // height in pixels
  // True when any pixel is not fully opaque; such images are alpha-blended.
  bool alphaChannel = false;
  // The resource type when the image came from a module resource.
  CSkinString sResType;
  // The colour key (0xAARRGGBB) that was made transparent at load.
  DWORD dwMask = 0;
} TImageInfo;

}  // namespace SkinUI
