// Painting a window: begins painting on construction and ends it on
// destruction.
#pragma once
#include "platform/window/types.h"

class CWnd;

class CPaintDC {
 public:
  explicit CPaintDC(CWnd* window);
  ~CPaintDC();
  CPaintDC(const CPaintDC&) = delete;
  CPaintDC& operator=(const CPaintDC&) = delete;

  HDC m_hDC;
  HDC GetSafeHdc() const { return m_hDC; }

  // Draws the icon with its top-left corner at (x, y), client coordinates.
  BOOL DrawIcon(int x, int y, HICON icon);

 private:
  // What the backend keeps between beginning and ending the painting.
  struct Painting;
  Painting* m_pPainting;
};
