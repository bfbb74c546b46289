#include "ui/updater_app.h"

#include "ui/updater_dlg.h"

BOOL CUpdaterApp::InitInstance() {
  Enable3dControlsStatic();
  {
    CUpdaterDlg dialog(nullptr);
    m_pMainWnd = &dialog;
    dialog.DoModal();
    m_pMainWnd = nullptr;
  }
  // No message loop of our own: the program ends when its window has.
  return FALSE;
}

BOOL CUpdaterApp::OnCommand(UINT id) {
  if (id == ID_HELP) {
    OnHelp();
    return TRUE;
  }
  return CWinApp::OnCommand(id);
}
