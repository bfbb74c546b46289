// CDialog: a window built from a dialog template, run modally (DoModal) or
// modeless (Create).
#pragma once
#include <cstdint>

#include "platform/window/data_exchange.h"
#include "platform/window/wnd.h"

class CDialog : public CWnd {
 public:
  CDialog(UINT templateId, CWnd* parent = nullptr);

  // Creates the dialog, runs OnInitDialog, disables the owner (the parent, or
  // else the active window) and handles messages until EndDialog; destroys the
  // window and returns the value given to EndDialog, or -1 when the dialog
  // could not be created.
  virtual intptr_t DoModal();

  // Creates the dialog as a modeless window and runs OnInitDialog; it is
  // visible only if the template says so.
  BOOL Create(UINT templateId, CWnd* parent = nullptr);

  // Runs the data exchange: from the controls to the members when
  // saveAndValidate, the other way otherwise.
  BOOL UpdateData(BOOL saveAndValidate = TRUE);

  // Ends a modal dialog with result.
  void EndDialog(int result);

  // Runs the data exchange towards the controls; true lets the platform give
  // the first tab stop the keyboard focus.
  virtual BOOL OnInitDialog();

  // The ordinary keyboard handling of a dialog: Tab, Enter, Escape, Space and
  // keys for the focused control.
  BOOL PreTranslateMessage(WindowMessage* msg) override;

  UINT TemplateId() const { return m_nIDTemplate; }
  CWnd* ParentWindow() const { return m_pParentWnd; }

 protected:
  virtual void DoDataExchange(CDataExchange* pDX);
  // OK runs the data exchange and ends with IDOK; Cancel ends with IDCANCEL.
  virtual void OnOK();
  virtual void OnCancel();

  // WM_INITDIALOG, and WM_COMMAND IDOK and IDCANCEL; other commands go to the
  // application.
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  UINT m_nIDTemplate;
  CWnd* m_pParentWnd;
};
