#include "firmware/upload.h"

#include <algorithm>
#include <cstdio>
#include <memory>

#include "firmware/firmware_image.h"
#include "platform/clock.h"
#include "platform/window/message_box.h"
#include "platform/window/messages.h"
#include "protocol/control_bytes.h"
#include "resources/resource_ids.h"
#include "serial/scanner_port.h"
#include "ui/progress_box.h"
#include "ui/updater_dlg.h"

namespace {

constexpr uint32_t kSettlePauseMs = 100;
constexpr uint8_t kReadyByte = 0x55;
constexpr uint32_t kReadyLimitMs = 2000;
constexpr uint32_t kReadLimitMs = 1000;
constexpr uint8_t kUploadStart = 0x66;
constexpr int kMaxChunk = 100;
constexpr uint32_t kWriteLimitMs = 5000;
constexpr uint32_t kHeaderPauseMs = 200;
constexpr uint32_t kChunkPauseMs = 100;
// A port that keeps taking nothing (cable pulled, adapter gone) ends the
// upload instead of holding the window for ever.
constexpr uint32_t kStalledWriteLimitMs = 5000;

class WaitCursor {
 public:
  explicit WaitCursor(CCmdTarget& target) : target(target) { target.BeginWaitCursor(); }
  ~WaitCursor() { target.EndWaitCursor(); }
  WaitCursor(const WaitCursor&) = delete;
  WaitCursor& operator=(const WaitCursor&) = delete;

 private:
  CCmdTarget& target;
};

// Polls without pausing, so the upload starts the moment the scanner is
// ready. Bytes other than the ready byte are dropped.
bool AwaitReadyByte(CSerial& port) {
  const uint32_t start = platform::GetTickCount();
  uint8_t received = 0;
  while (platform::GetTickCount() - start < kReadyLimitMs) {
    if (port.BytesAvailable() >= 1) port.Read(&received, 1, kReadLimitMs);
    if (received == kReadyByte) return true;
  }
  return false;
}

// Writes count bytes in chunks of at most kMaxChunk, each followed by
// pauseMs, and moves the progress bar, when there is one, to the bytes sent
// so far. A write may take only part of its chunk: the next one starts at the
// first byte not taken. False, with bytes unsent, once the port has taken
// nothing for kStalledWriteLimitMs.
bool SendInChunks(CSerial& port, const uint8_t* bytes, int count, uint32_t pauseMs,
                  CWnd* progressBar) {
  int sent = 0;
  uint32_t lastProgress = platform::GetTickCount();
  while (sent < count) {
    const int written = port.Write(bytes + sent, std::min(count - sent, kMaxChunk), kWriteLimitMs);
    const uint32_t now = platform::GetTickCount();
    if (written > 0) lastProgress = now;
    platform::Sleep(pauseMs);
    sent += written;
    if (progressBar) progressBar->SendMessage(PBM_SETPOS, static_cast<WPARAM>(sent));
    if (written == 0 && now - lastProgress >= kStalledWriteLimitMs) return false;
  }
  return true;
}

void ReportStalledUpload() {
  AfxMessageBox(
      "The update did not complete: the scanner stopped taking data.\n\n"
      "Please retry from step 4.",
      MB_ICONEXCLAMATION | MB_OK);
}

void Upload(CUpdaterDlg& window, const uint8_t* record) {
  std::unique_ptr<CSerial> port = OpenScannerPort(window.m_nPortIndex + 1);
  if (!port) {
    char text[256];
    std::snprintf(text, sizeof text,
                  "Unable to open the port COM%d. Make sure that it's actually\n"
                  "exists and is not being used by any other program (e.g. a\n"
                  "PDA program like Palm's HotSync).",
                  window.m_nPortIndex + 1);
    AfxMessageBox(text, MB_ICONEXCLAMATION | MB_OK);
    return;
  }
  platform::Sleep(kSettlePauseMs);

  if (!AwaitReadyByte(*port)) {
    // The port closes only once the user has read this.
    AfxMessageBox("No data from the scanner. Please retry from step 4", MB_ICONEXCLAMATION | MB_OK);
    return;
  }

  // The size goes out as a count of byte pairs, high byte first.
  const uint16_t length = RecordLength(record);
  const uint8_t high = static_cast<uint8_t>((length >> 9) & 0xFF);
  const uint8_t low = static_cast<uint8_t>((length >> 1) & 0xFF);
  uint8_t header[6] = {kUploadStart, ctl::STX, high, low, ctl::ETX, 0};
  header[5] = FrameChecksum(header + 2, 3);  // the count and ETX
  if (!SendInChunks(*port, header, sizeof header, kHeaderPauseMs, nullptr)) {
    port.reset();
    ReportStalledUpload();
    return;
  }

  auto progress = std::make_unique<CProgressBox>(&window);
  progress->m_progress.SendMessage(PBM_SETRANGE, 0, static_cast<LPARAM>(length) << 16);
  progress->SetWindowText("Updating DSP");
  if (!SendInChunks(*port, RecordPayload(record), length, kChunkPauseMs, &progress->m_progress)) {
    progress.reset();
    port.reset();
    ReportStalledUpload();
    return;
  }

  window.GetDlgItem(kCompletionNote)->ShowWindow(SW_SHOW);
  window.GetDlgItem(kTestButton)->EnableWindow(TRUE);
  window.GetDlgItem(kUpdateButton)->EnableWindow(FALSE);
  window.GetDlgItem(kPortList)->EnableWindow(TRUE);
  progress.reset();
  port.reset();
}

}  // namespace

void UploadImage(CUpdaterDlg& window, const uint8_t* record) {
  const WaitCursor busy(window);
  Upload(window, record);
}

void CUpdaterDlg::OnUpdate() { UploadImage(*this, FirmwareImage); }
