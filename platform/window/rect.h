// A rectangle in pixels: left and top inside, right and bottom just outside.
#pragma once
#include <cstdint>

struct CRect {
  int32_t left = 0;
  int32_t top = 0;
  int32_t right = 0;
  int32_t bottom = 0;

  int32_t Width() const { return right - left; }
  int32_t Height() const { return bottom - top; }
};

inline bool operator==(const CRect& a, const CRect& b) {
  return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}
