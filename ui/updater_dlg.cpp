// CUpdaterDlg: construction, initialisation, keyboard, painting and the
// message map. TEST and UPDATE live with the protocol and the firmware.
#include "ui/updater_dlg.h"

#include <string>

#include "firmware/firmware_image.h"
#include "platform/window/accelerators.h"
#include "platform/window/menu.h"
#include "platform/window/message_box.h"
#include "platform/window/metrics.h"
#include "platform/window/paint_dc.h"
#include "platform/window/resources.h"
#include "resources/resource_ids.h"
#include "ui/version_text.h"

namespace {

constexpr int kPortCount = 256;

const char kStartupQuestion[] =
    "IMPORTANT!!!\n\nBefore attempting to use this utility, please ensure that you can transfer "
    "data\nbetween the PRO-96 and your PC, using a supported cable. A good test would be\nto "
    "acquire one of the data-management programs available, and perform a few\nupload and "
    "download operations between such a program and your scanner.\n\nThe steps described in "
    "this utility are written with the presumption that you\nalready have a suitable data "
    "transfer cable and are familiar with using that\ncable to connect your PRO-96 to your "
    "computer.\n\nPlease be assured that you cannot 'destroy' your radio with this utility - "
    "you\ncan always revert to the factory DSP programming via the procedure described in\nthe "
    "PRO-96 manual.\n\nAre you ready to proceed with this update utility?";

// Appends " 1.2" (the carried image's version) to a window's text.
void AppendVersion(CWnd& window, uint8_t version) {
  std::string text;
  window.GetWindowText(text);
  window.SetWindowText(text + " " + VersionText(version));
}

}  // namespace

CUpdaterDlg::CUpdaterDlg(CWnd* parent)
    : CDialog(kMainDialog, parent),
      m_nPortIndex(0),
      m_nScannerStatus(0),
      m_nScannerVersion(0),
      m_bFactoryVersion(0),
      m_hIcon(platform::LoadIcon(kMainIcon)),
      m_hAccel(platform::LoadAccelerators(kMainAccelerators)) {}

CUpdaterDlg::~CUpdaterDlg() = default;

void CUpdaterDlg::WinHelp(uintptr_t, UINT) {}

void CUpdaterDlg::DoDataExchange(CDataExchange*) {}

BOOL CUpdaterDlg::PreTranslateMessage(WindowMessage* msg) {
  if (m_hAccel && platform::TranslateAccelerator(m_hWnd, m_hAccel, msg)) return TRUE;
  return CDialog::PreTranslateMessage(msg);
}

BOOL CUpdaterDlg::OnInitDialog() {
  CDialog::OnInitDialog();

  if (CMenu* systemMenu = GetSystemMenu(FALSE)) {
    const std::string about = platform::LoadString(kAboutItemString);
    if (!about.empty()) {
      systemMenu->AppendMenu(MF_SEPARATOR);
      systemMenu->AppendMenu(MF_STRING, kAboutSysCommand, about.c_str());
    }
  }

  SetIcon(m_hIcon, TRUE);
  SetIcon(m_hIcon, FALSE);

  CWnd* ports = GetDlgItem(kPortList);
  for (int n = 1; n <= kPortCount; ++n) {
    const std::string name = "COM" + std::to_string(n);
    ports->SendMessage(CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name.c_str()));
  }
  ports->SendMessage(CB_SETCURSEL, 0);

  const uint8_t version = FirmwareImageVersion();
  GetDlgItem(kVersionBanner)
      ->SetWindowText("SCANNER VERSION: ?.?\nUPDATER VERSION: " + VersionText(version));
  AppendVersion(*this, version);
  AppendVersion(*GetDlgItem(kStep7Text), version);

  if (AfxMessageBox(kStartupQuestion, MB_YESNO | MB_ICONINFORMATION | MB_DEFBUTTON2) != IDYES) {
    PostMessage(WM_CLOSE);
  }
  return TRUE;
}

void CUpdaterDlg::OnPaint() {
  if (!IsIconic()) {
    Default();
    return;
  }
  CPaintDC dc(this);
  SendMessage(WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(dc.GetSafeHdc()), 0);
  const int32_t iconWidth = platform::GetSystemMetrics(SM_CXICON);
  const int32_t iconHeight = platform::GetSystemMetrics(SM_CYICON);
  CRect client;
  GetClientRect(&client);
  // Signed, and each division truncates toward zero: a client area smaller
  // than the icon gives a negative corner.
  const int32_t x = (client.Width() - iconWidth + 1) / 2;
  const int32_t y = (client.Height() - iconHeight + 1) / 2;
  dc.DrawIcon(x, y, m_hIcon);
}

HICON CUpdaterDlg::OnQueryDragIcon() { return m_hIcon; }

LRESULT CUpdaterDlg::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_SYSCOMMAND:
      OnSysCommand(static_cast<UINT>(wParam), lParam);
      return 0;
    case WM_PAINT:
      OnPaint();
      return 0;
    case WM_QUERYDRAGICON:
      return reinterpret_cast<LRESULT>(OnQueryDragIcon());
    case WM_COMMAND: {
      const UINT id = LowWord(wParam);
      const UINT code = HighWord(wParam);
      if (id == kTestButton && code == BN_CLICKED) {
        OnTest();
        return 0;
      }
      if (id == kUpdateButton && code == BN_CLICKED) {
        OnUpdate();
        return 0;
      }
      // Code 1: from the accelerator table.
      if (id == kInfoCommand && code <= 1) {
        OnInfo();
        return 0;
      }
      break;
    }
  }
  return CDialog::WindowProc(message, wParam, lParam);
}
