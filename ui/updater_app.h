// CUpdaterApp: the application object. It runs the main window modally and
// ends the program when that window closes.
#pragma once
#include "platform/window/win_app.h"

class CUpdaterApp : public CWinApp {
 public:
  BOOL InitInstance() override;
  BOOL OnCommand(UINT id) override;
};
