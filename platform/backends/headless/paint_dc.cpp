// Painting on the headless backend: icons drawn are recorded on the window.
#include "platform/window/paint_dc.h"

#include "platform/backends/headless/world.h"

struct CPaintDC::Painting {
  HDC__ dc;
};

CPaintDC::CPaintDC(CWnd* window) : m_pPainting(new Painting{HDC__{window->m_hWnd}}) {
  m_hDC = &m_pPainting->dc;
}

CPaintDC::~CPaintDC() {
  if (headless::IsLive(m_hDC->window)) ++m_hDC->window->paints;
  delete m_pPainting;
}

BOOL CPaintDC::DrawIcon(int x, int y, HICON icon) {
  if (!headless::IsLive(m_hDC->window) || !icon) return FALSE;
  m_hDC->window->drawnIcons.push_back({x, y, icon});
  return TRUE;
}
