// Data exchange between a dialog's controls and its members.
#pragma once
#include "platform/window/types.h"

class CWnd;

class CDataExchange {
 public:
  CDataExchange(CWnd* dialog, BOOL saveAndValidate)
      : m_bSaveAndValidate(saveAndValidate), m_pDlgWnd(dialog) {}

  BOOL m_bSaveAndValidate;
  CWnd* m_pDlgWnd;
};

// Attaches control to the dialog's control with this number, once; later
// exchanges leave it attached.
void DDX_Control(CDataExchange* pDX, int id, CWnd& control);
