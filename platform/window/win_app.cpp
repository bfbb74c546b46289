// The portable part of CWinApp: the one application object and its name.
#include "platform/window/win_app.h"

#include "platform/window/wnd.h"

namespace {
CWinApp* g_app = nullptr;
}

CWinApp::CWinApp(const char* appName)
    : m_name(appName ? appName : platform::ExecutableName()) {
  m_pszAppName = m_name.c_str();
  g_app = this;
}

CWinApp::~CWinApp() {
  if (g_app == this) g_app = nullptr;
}

BOOL CWinApp::InitInstance() { return TRUE; }

BOOL CWinApp::OnCommand(UINT) { return FALSE; }

void CWinApp::OnHelp() {
  if (m_pMainWnd) m_pMainWnd->WinHelp(0, HELP_CONTEXT);
}

// Every platform we build for draws dialog controls in three dimensions
// already.
BOOL CWinApp::Enable3dControlsStatic() { return TRUE; }

CWinApp* AfxGetApp() { return g_app; }

const char* AfxGetAppName() {
  static const std::string executableName = platform::ExecutableName();
  return g_app ? g_app->m_pszAppName : executableName.c_str();
}
