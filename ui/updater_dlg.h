// CUpdaterDlg: the main window. It owns the command queue and the values of
// the last version reply, and routes each button, key and system command to
// its handler.
#pragma once
#include <cstdint>

#include "platform/window/dialog.h"
#include "protocol/command_queue.h"

class CUpdaterDlg : public CDialog {
 public:
  explicit CUpdaterDlg(CWnd* parent = nullptr);
  ~CUpdaterDlg() override;

  int32_t m_nPortIndex;  // list index chosen at the last TEST; port number = index + 1
  CommandQueue m_commandQueue;
  int32_t m_nScannerStatus;   // status byte of the last valid version reply; 0: none
  int32_t m_nScannerVersion;  // its seven-bit version; 0: none
  uint8_t m_bFactoryVersion;  // 1: the factory version, 0: a field upgrade
  HICON m_hIcon;
  HACCEL m_hAccel;  // null when the table could not be loaded

  void WinHelp(uintptr_t data, UINT command = HELP_CONTEXT) override;
  BOOL PreTranslateMessage(WindowMessage* msg) override;
  BOOL OnInitDialog() override;

  void OnTest();
  void OnUpdate();
  void OnInfo();
  void OnSysCommand(UINT nID, LPARAM lParam);
  void OnPaint();
  HICON OnQueryDragIcon();

 protected:
  void DoDataExchange(CDataExchange* pDX) override;
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
};
