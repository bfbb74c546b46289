// The portable part of CDialog: initialisation, data exchange, OK and Cancel.
#include "platform/window/dialog.h"

#include "platform/window/message_box.h"
#include "platform/window/win_app.h"

CDialog::CDialog(UINT templateId, CWnd* parent)
    : m_nIDTemplate(templateId), m_pParentWnd(parent) {}

BOOL CDialog::UpdateData(BOOL saveAndValidate) {
  CDataExchange dx(this, saveAndValidate);
  DoDataExchange(&dx);
  return TRUE;
}

BOOL CDialog::OnInitDialog() {
  UpdateData(FALSE);
  return TRUE;
}

void CDialog::DoDataExchange(CDataExchange*) {}

void CDialog::OnOK() {
  if (UpdateData(TRUE)) EndDialog(IDOK);
}

void CDialog::OnCancel() { EndDialog(IDCANCEL); }

LRESULT CDialog::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG:
      return OnInitDialog();
    case WM_COMMAND: {
      // Code 0 comes from a button click or a menu, 1 from an accelerator.
      if (HighWord(wParam) > 1) break;
      const UINT id = LowWord(wParam);
      if (id == IDOK) {
        OnOK();
        return 0;
      }
      if (id == IDCANCEL) {
        OnCancel();
        return 0;
      }
      if (CWinApp* app = AfxGetApp(); app && app->OnCommand(id)) return 0;
      break;
    }
  }
  return CWnd::WindowProc(message, wParam, lParam);
}
