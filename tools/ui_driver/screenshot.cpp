#include "tools/ui_driver/screenshot.h"

#include <cstdio>
#include <utility>
#include <vector>

#include "tools/ui_driver/wait.h"

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

namespace {

// Windows reach the screen a moment after they have painted, so a picture is
// taken once two looks in a row find the screen the same. A screen that
// keeps changing for longer than this is taken as it stands.
constexpr unsigned kSettleLimitMs = 5000;

struct Screen {
  BITMAPINFOHEADER info{};
  std::vector<BYTE> pixels;
};

// The whole screen as 24-bit rows from the bottom up, as a BMP file holds
// them; no pixels when it could not be read.
Screen Capture() {
  Screen shot;
  const int width = GetSystemMetrics(SM_CXSCREEN);
  const int height = GetSystemMetrics(SM_CYSCREEN);
  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
  HGDIOBJ old = SelectObject(memory, bitmap);
  const bool copied = BitBlt(memory, 0, 0, width, height, screen, 0, 0, SRCCOPY) != 0;
  SelectObject(memory, old);

  shot.info.biSize = sizeof shot.info;
  shot.info.biWidth = width;
  shot.info.biHeight = height;
  shot.info.biPlanes = 1;
  shot.info.biBitCount = 24;
  shot.info.biCompression = BI_RGB;
  const DWORD rowBytes = (static_cast<DWORD>(width) * 3 + 3) & ~3u;
  shot.pixels.resize(static_cast<size_t>(rowBytes) * static_cast<size_t>(height));
  const bool read =
      copied && GetDIBits(memory, bitmap, 0, static_cast<UINT>(height), shot.pixels.data(),
                          reinterpret_cast<BITMAPINFO*>(&shot.info), DIB_RGB_COLORS) == height;
  DeleteObject(bitmap);
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);
  if (!read) shot.pixels.clear();
  return shot;
}

}  // namespace

bool SaveScreen(const std::string& path) {
  Screen shot = Capture();
  WaitFor(
      [&] {
        Screen again = Capture();
        const bool settled = again.pixels == shot.pixels;
        shot = std::move(again);
        return settled;
      },
      kSettleLimitMs);
  if (shot.pixels.empty()) return false;

  BITMAPFILEHEADER file{};
  file.bfType = 0x4D42;  // "BM"
  file.bfOffBits = sizeof file + sizeof shot.info;
  file.bfSize = file.bfOffBits + static_cast<DWORD>(shot.pixels.size());
  FILE* out = std::fopen(path.c_str(), "wb");
  if (out == nullptr) return false;
  bool ok = std::fwrite(&file, sizeof file, 1, out) == 1 &&
            std::fwrite(&shot.info, sizeof shot.info, 1, out) == 1 &&
            std::fwrite(shot.pixels.data(), 1, shot.pixels.size(), out) == shot.pixels.size();
  ok = std::fclose(out) == 0 && ok;
  return ok;
}

}  // namespace driver
