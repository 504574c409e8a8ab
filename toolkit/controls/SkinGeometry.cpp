#include "toolkit/controls/SkinGeometry.h"

#include <utility>

namespace SkinUI {

CSkinRect::CSkinRect() : RECT{0, 0, 0, 0} {}

CSkinRect::CSkinRect(const RECT& source) : RECT(source) {}

CSkinRect::CSkinRect(int left, int top, int right, int bottom) : RECT{left, top, right, bottom} {}

int CSkinRect::GetWidth() const { return right - left; }

int CSkinRect::GetHeight() const { return bottom - top; }

void CSkinRect::Empty() { left = top = right = bottom = 0; }

bool CSkinRect::IsNull() const { return left == 0 && top == 0 && right == 0 && bottom == 0; }

void CSkinRect::Join(const RECT& other) {
  if (other.left < left) left = other.left;
  if (other.top < top) top = other.top;
  if (other.right > right) right = other.right;
  if (other.bottom > bottom) bottom = other.bottom;
}

void CSkinRect::ResetOffset() { ::OffsetRect(this, -left, -top); }

void CSkinRect::Normalize() {
  if (left > right) std::swap(left, right);
  if (top > bottom) std::swap(top, bottom);
}

bool CSkinRect::Offset(int dx, int dy) { return ::OffsetRect(this, dx, dy) != FALSE; }

bool CSkinRect::Inflate(int dx, int dy) { return ::InflateRect(this, dx, dy) != FALSE; }

bool CSkinRect::Deflate(int dx, int dy) { return ::InflateRect(this, -dx, -dy) != FALSE; }

bool CSkinRect::Intersect(const RECT& other) {
  return ::IntersectRect(this, this, &other) != FALSE;
}

bool CSkinRect::Union(const RECT& other) { return ::UnionRect(this, this, &other) != FALSE; }

CSize::CSize() : SIZE{0, 0} {}

CSize::CSize(const SIZE& source) : SIZE(source) {}

CSize::CSize(const RECT& rect) : SIZE{rect.right - rect.left, rect.bottom - rect.top} {}

CSize::CSize(int cx, int cy) : SIZE{cx, cy} {}

CPoint::CPoint() : POINT{0, 0} {}

CPoint::CPoint(const POINT& source) : POINT(source) {}

CPoint::CPoint(int x, int y) : POINT{x, y} {}

CPoint::CPoint(LPARAM packed)
    : POINT{static_cast<short>(LOWORD(packed)), static_cast<short>(HIWORD(packed))} {}

}  // namespace SkinUI
