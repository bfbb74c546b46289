// Pictures of the screen, as the user sees it.
#pragma once
#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include <string>

namespace driver {

// Has the window and its controls paint whatever they have pending, so that
// a picture shows them whole. It waits for the window's program to paint:
// use it only while that program waits for input.
void PaintNow(HWND window);

// How many pixels along the middle row of a progress bar the screen shows
// filled. The bar itself cannot be asked while its program streams and
// dispatches no messages.
int FilledPixels(HWND bar);

// Writes the whole screen to a 24-bit BMP file; false when it could not.
bool SaveScreen(const std::string& path);

}  // namespace driver
