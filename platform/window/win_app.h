// CWinApp: the application object. The platform's start-up calls
// InitInstance of the one application object; when it returns false the
// process ends without a message loop of its own.
#pragma once
#include <string>

#include "platform/window/cmd_target.h"
#include "platform/window/types.h"

// The class library's Help command (F1).
#ifndef ID_HELP
#define ID_HELP 0xE146
#endif

class CWnd;

class CWinApp : public CCmdTarget {
 public:
  // With no name, the application is named after the executable's file name
  // without its extension.
  explicit CWinApp(const char* appName = nullptr);
  ~CWinApp() override;

  virtual BOOL InitInstance();

  // The application's share of command routing: commands that no window
  // handled. True when handled.
  virtual BOOL OnCommand(UINT id);

  // The standard help handler: asks the main window for help.
  void OnHelp();

  // Three-dimensional drawing of dialog controls, where the platform has
  // such a switch; elsewhere it does nothing.
  BOOL Enable3dControlsStatic();

  CWnd* m_pMainWnd = nullptr;
  const char* m_pszAppName;

 private:
  std::string m_name;
};

// The application object, or null when there is none.
CWinApp* AfxGetApp();

// The caption of every message box: the application's name, which is the
// executable's file name without extension when there is no application.
const char* AfxGetAppName();

namespace platform {

// The running executable's file name without its directory and extension.
std::string ExecutableName();

}  // namespace platform
