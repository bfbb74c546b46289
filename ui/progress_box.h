// CProgressBox: the modeless window with one progress bar that counts the
// bytes of an upload. Construction leaves it centred over its parent and
// visible; deletion removes it.
#pragma once
#include <cstdint>

#include "platform/window/dialog.h"
#include "platform/window/progress_ctrl.h"

// Where a window of this size starts when centred over the span from start
// to end: both halves are truncated toward zero, each on its own.
int32_t CentredStart(int32_t start, int32_t end, int32_t size);

class CProgressBox : public CDialog {
 public:
  explicit CProgressBox(CWnd* parent);
  ~CProgressBox() override;

  CProgressCtrl m_progress;  // bound to control 6000

 protected:
  void DoDataExchange(CDataExchange* pDX) override;
};
