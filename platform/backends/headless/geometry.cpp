#include "platform/backends/headless/geometry.h"

#include "platform/window/styles.h"

namespace headless {
namespace {

constexpr int kBaseUnitX = 6;
constexpr int kBaseUnitY = 13;
constexpr int kCaption = 18;
constexpr int kDialogFrame = 3;
constexpr int kBorder = 1;

// value * numerator / denominator, rounded to the nearest, halves away from
// zero.
int Scale(int value, int numerator, int denominator) {
  const long long twice = 2LL * value * numerator;
  const long long rounded = twice >= 0 ? (twice + denominator) / (2LL * denominator)
                                       : -((-twice + denominator) / (2LL * denominator));
  return static_cast<int>(rounded);
}

}  // namespace

int DialogUnitsToPixelsX(int units) { return Scale(units, kBaseUnitX, 4); }
int DialogUnitsToPixelsY(int units) { return Scale(units, kBaseUnitY, 8); }

CRect FrameInsets(uint32_t style) {
  const int frame = (style & DS_MODALFRAME) ? kDialogFrame : (style & WS_BORDER) ? kBorder : 0;
  const int caption = (style & WS_CAPTION) == WS_CAPTION ? kCaption : 0;
  return CRect{frame, frame + caption, frame, frame};
}

CRect ClientRect(const HWND__* window) {
  if (window->iconic) return CRect{0, 0, window->clientWidthIconic, window->clientHeightIconic};
  const CRect insets = FrameInsets(window->style);
  return CRect{0, 0, window->rect.Width() - insets.left - insets.right,
               window->rect.Height() - insets.top - insets.bottom};
}

void ClientOrigin(const HWND__* window, int* x, int* y) {
  const CRect screen = ScreenRect(window);
  const CRect insets = FrameInsets(window->style);
  *x = screen.left + insets.left;
  *y = screen.top + insets.top;
}

CRect ScreenRect(const HWND__* window) {
  if (!window->parent) return window->rect;
  int x = 0;
  int y = 0;
  ClientOrigin(window->parent, &x, &y);
  return CRect{window->rect.left + x, window->rect.top + y, window->rect.right + x,
               window->rect.bottom + y};
}

}  // namespace headless
