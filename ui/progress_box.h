// CProgressBox: the modeless window with one progress bar that counts the
// bytes of an upload. Construction leaves it centred over its parent and
// visible; deletion removes it.
#pragma once
#include "platform/window/dialog.h"
#include "platform/window/progress_ctrl.h"

class CProgressBox : public CDialog {
 public:
  explicit CProgressBox(CWnd* parent);
  ~CProgressBox() override;

  CProgressCtrl m_progress;  // bound to control 6000

 protected:
  void DoDataExchange(CDataExchange* pDX) override;
};
