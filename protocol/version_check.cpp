// The TEST button: asks the scanner for its DSP version, shows it beside the
// version of the carried image and decides whether the update is offered.
#include <cstdio>
#include <memory>
#include <string>

#include "firmware/firmware_image.h"
#include "platform/clock.h"
#include "platform/window/message_box.h"
#include "platform/window/messages.h"
#include "protocol/engine.h"
#include "resources/resource_ids.h"
#include "serial/scanner_port.h"
#include "ui/updater_dlg.h"

namespace {

constexpr uint32_t kSettlePauseMs = 100;

int Major(int version) { return (version >> 4) & 7; }
int Minor(int version) { return version & 0xF; }

}  // namespace

void CUpdaterDlg::OnTest() {
  UpdateData(TRUE);
  m_nPortIndex = static_cast<int32_t>(GetDlgItem(kPortList)->SendMessage(CB_GETCURSEL));

  std::unique_ptr<CSerial> port = OpenScannerPort(m_nPortIndex + 1);
  if (!port) {
    char text[256];
    std::snprintf(text, sizeof text,
                  "Unable to open the port COM%d. Make sure that it actually\n"
                  "exists and is not being used by any other program (e.g. a\n"
                  "PDA program like Palm's HotSync).\n\nPlease retry from Step 2.",
                  m_nPortIndex + 1);
    AfxMessageBox(text, MB_ICONEXCLAMATION | MB_OK);
    return;
  }
  platform::Sleep(kSettlePauseMs);

  // Records that a failed run left behind go first.
  ClearQueue(m_commandQueue);
  m_commandQueue.AddTail(std::make_unique<ScannerCommand>(Enquiry));
  m_commandQueue.AddTail(std::make_unique<ScannerCommand>(Version));
  m_nScannerStatus = 0;
  m_nScannerVersion = 0;
  m_bFactoryVersion = 0;
  const EngineResult result = RunCommandQueue(*port, m_commandQueue, *this);
  // Nothing is shown while the port is still open.
  port.reset();

  if (result.code != EngineError::None || m_nScannerStatus == 0 || m_nScannerVersion == 0) {
    if (!result.message.empty())
      AfxMessageBox(result.message + "\n\nPlease retry from Step 1.", MB_ICONEXCLAMATION | MB_OK);
    return;
  }

  const int scanner = m_nScannerVersion;
  const int image = FirmwareImageVersion();
  char banner[128];
  std::snprintf(banner, sizeof banner, "SCANNER VERSION: %d.%d (%s)\nUPDATER VERSION: %d.%d",
                Major(scanner), Minor(scanner),
                m_bFactoryVersion ? "the factory version" : "a field upgrade", Major(image),
                Minor(image));
  GetDlgItem(kVersionBanner)->SetWindowText(banner);

  char text[256];
  std::snprintf(text, sizeof text,
                "The version of the DSP Application in the scanner is %d.%d, and\n"
                "is %s version.\n\nThis update utility contains version %d.%d.",
                Major(scanner), Minor(scanner),
                m_bFactoryVersion ? "the factory" : "a field-upgraded", Major(image), Minor(image));

  // Whole numbers are compared, not the displayed pairs.
  bool offered = true;
  if (scanner < image) {
    AfxMessageBox(text, MB_ICONINFORMATION | MB_OK);
  } else {
    char question[192];
    std::snprintf(question, sizeof question,
                  "\n\nThis updater contains a version that is %s what your scanner\n"
                  "already contains.\n\nDo you really want to upload version %d.%d ?",
                  scanner > image ? "earlier than" : "the same as", Major(image), Minor(image));
    offered = AfxMessageBox(std::string(text) + question, MB_ICONQUESTION | MB_YESNO) == IDYES;
  }

  GetDlgItem(kTestButton)->EnableWindow(!offered);
  GetDlgItem(kUpdateButton)->EnableWindow(offered);
  GetDlgItem(kPortList)->EnableWindow(!offered);
}
