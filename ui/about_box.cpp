// CAboutBox, and CUpdaterDlg::OnSysCommand, which opens it from the system
// menu.
#include "ui/about_box.h"

#include "firmware/firmware_image.h"
#include "resources/resource_ids.h"
#include "ui/updater_dlg.h"
#include "ui/version_text.h"

CAboutBox::CAboutBox() : CDialog(kAboutDialog) {}

BOOL CAboutBox::OnInitDialog() {
  CDialog::OnInitDialog();
  CWnd* title = GetDlgItem(kAboutTitle);
  std::string text;
  title->GetWindowText(text);
  title->SetWindowText(text + " " + VersionText(FirmwareImageVersion()));
  return TRUE;
}

void CUpdaterDlg::OnSysCommand(UINT nID, LPARAM) {
  // The platform keeps the low four bits of a system command for itself.
  if ((nID & 0xFFF0) == kAboutSysCommand) {
    CAboutBox about;
    about.DoModal();
  } else {
    Default();
  }
}
