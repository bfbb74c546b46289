// CPaintDC on Win32: BeginPaint and EndPaint around the object's life.
#include "platform/backends/win32/window_internal.h"
#include "platform/window/paint_dc.h"

struct CPaintDC::Painting {
  HWND window;
  PAINTSTRUCT record;  // EndPaint wants the very record that BeginPaint filled
};

CPaintDC::CPaintDC(CWnd* window) : m_pPainting(new Painting{window->m_hWnd, {}}) {
  m_hDC = BeginPaint(m_pPainting->window, &m_pPainting->record);
}

CPaintDC::~CPaintDC() {
  EndPaint(m_pPainting->window, &m_pPainting->record);
  delete m_pPainting;
}

BOOL CPaintDC::DrawIcon(int x, int y, HICON icon) { return ::DrawIcon(m_hDC, x, y, icon); }
