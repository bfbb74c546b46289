#include "tools/ui_driver/screenshot.h"

#include <cstdio>
#include <vector>

namespace driver {

void PaintNow(HWND window) {
  RedrawWindow(window, nullptr, nullptr, RDW_UPDATENOW | RDW_ERASENOW | RDW_ALLCHILDREN);
}

int FilledPixels(HWND bar) {
  RECT r{};
  GetWindowRect(bar, &r);
  HDC screen = GetDC(nullptr);
  const int y = (r.top + r.bottom) / 2;
  // Inside the frame, the right end stays empty until the very last chunk.
  const COLORREF empty = GetPixel(screen, r.right - 3, y);
  int filled = 0;
  for (int x = r.left + 2; x < r.right - 2; ++x) {
    if (GetPixel(screen, x, y) != empty) ++filled;
  }
  ReleaseDC(nullptr, screen);
  return filled;
}

bool SaveScreen(const std::string& path) {
  const int width = GetSystemMetrics(SM_CXSCREEN);
  const int height = GetSystemMetrics(SM_CYSCREEN);
  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
  HGDIOBJ old = SelectObject(memory, bitmap);
  const bool copied = BitBlt(memory, 0, 0, width, height, screen, 0, 0, SRCCOPY) != 0;
  SelectObject(memory, old);

  BITMAPINFOHEADER info{};
  info.biSize = sizeof info;
  info.biWidth = width;
  info.biHeight = height;  // rows from the bottom up, as a BMP file has them
  info.biPlanes = 1;
  info.biBitCount = 24;
  info.biCompression = BI_RGB;
  const DWORD rowBytes = (static_cast<DWORD>(width) * 3 + 3) & ~3u;
  std::vector<BYTE> pixels(static_cast<size_t>(rowBytes) * static_cast<size_t>(height));
  const bool read =
      copied && GetDIBits(memory, bitmap, 0, static_cast<UINT>(height), pixels.data(),
                          reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS) == height;
  DeleteObject(bitmap);
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);
  if (!read) return false;

  BITMAPFILEHEADER file{};
  file.bfType = 0x4D42;  // "BM"
  file.bfOffBits = sizeof file + sizeof info;
  file.bfSize = file.bfOffBits + static_cast<DWORD>(pixels.size());
  FILE* out = std::fopen(path.c_str(), "wb");
  if (out == nullptr) return false;
  bool ok = std::fwrite(&file, sizeof file, 1, out) == 1 &&
            std::fwrite(&info, sizeof info, 1, out) == 1 &&
            std::fwrite(pixels.data(), 1, pixels.size(), out) == pixels.size();
  ok = std::fclose(out) == 0 && ok;
  return ok;
}

}  // namespace driver
