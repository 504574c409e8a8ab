// Rectangle, size and point wrappers over the platform's RECT, SIZE and
// POINT.  They add no fields, so a pointer to one can be passed wherever the
// platform type is expected.
#pragma once

#include <windows.h>

namespace SkinUI {

class CSkinRect : public RECT {
 public:
  CSkinRect();
  CSkinRect(const RECT& source);  // NOLINT: a RECT converts to a rectangle
  CSkinRect(int left, int top, int right, int bottom);

  int GetWidth() const;   // right - left
  int GetHeight() const;  // bottom - top
  // Zeroes all four sides.
  void Empty();
  // True when all four sides are zero.
  bool IsNull() const;
  // Grows to include `other`: the smaller left and top, the larger right and
  // bottom.  Empty rectangles take part like any other.
  void Join(const RECT& other);
  // Moves the rectangle so that left and top become 0.
  void ResetOffset();
  // Swaps left/right and top/bottom where they are reversed.
  void Normalize();
  // These do what OffsetRect, InflateRect, IntersectRect and UnionRect do
  // and return their results.
  bool Offset(int dx, int dy);
  bool Inflate(int dx, int dy);
  bool Deflate(int dx, int dy);
  bool Intersect(const RECT& other);
  bool Union(const RECT& other);
};

class CSize : public SIZE {
 public:
  CSize();
  CSize(const SIZE& source);  // NOLINT: a SIZE converts to a size
  // The width and height of a rectangle.
  explicit CSize(const RECT& rect);
  CSize(int cx, int cy);
};

class CPoint : public POINT {
 public:
  CPoint();
  CPoint(const POINT& source);  // NOLINT: a POINT converts to a point
  CPoint(int x, int y);
  // A packed mouse-message coordinate: the low 16 bits are the signed x,
  // the high 16 bits the signed y.
  explicit CPoint(LPARAM packed);
};

}  // namespace SkinUI
