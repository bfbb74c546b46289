// Pixels of the headless screen: dialog units, frames and centring.
#pragma once
#include "platform/backends/headless/headless.h"

namespace headless {

constexpr int kScreenWidth = 1024;
constexpr int kScreenHeight = 768;

int DialogUnitsToPixelsX(int units);
int DialogUnitsToPixelsY(int units);

// How far the client area lies inside the window rectangle on each side.
CRect FrameInsets(uint32_t style);

CRect ClientRect(const HWND__* window);
// The client area's top-left corner in screen coordinates.
void ClientOrigin(const HWND__* window, int* x, int* y);
CRect ScreenRect(const HWND__* window);

}  // namespace headless
