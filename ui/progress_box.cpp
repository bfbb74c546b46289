#include "ui/progress_box.h"

#include "resources/resource_ids.h"

int32_t CentredStart(int32_t start, int32_t end, int32_t size) {
  return (start + end) / 2 - size / 2;
}

CProgressBox::CProgressBox(CWnd* parent) : CDialog(kProgressDialog, parent) {
  Create(kProgressDialog, parent);
  CRect over;
  parent->GetWindowRect(&over);
  CRect box;
  GetWindowRect(&box);
  SetWindowPos(nullptr, CentredStart(over.left, over.right, box.Width()),
               CentredStart(over.top, over.bottom, box.Height()), 0, 0,
               SWP_NOSIZE | SWP_NOZORDER | SWP_SHOWWINDOW);
  ShowWindow(SW_SHOW);
}

CProgressBox::~CProgressBox() { m_progress.DestroyWindow(); }

void CProgressBox::DoDataExchange(CDataExchange* pDX) { DDX_Control(pDX, kProgressBar, m_progress); }
