#include "platform/window/data_exchange.h"

#include "platform/window/wnd.h"

void DDX_Control(CDataExchange* pDX, int id, CWnd& control) {
  if (control.GetSafeHwnd()) return;
  if (CWnd* item = pDX->m_pDlgWnd->GetDlgItem(id)) control.Attach(item->GetSafeHwnd());
}
