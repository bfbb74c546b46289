// Message boxes: buttons, icons, default button and the answers.
#pragma once
#include <string>

#include "platform/window/types.h"

#ifndef MB_OK
#define MB_OK 0x00000000u
#endif
#ifndef MB_OKCANCEL
#define MB_OKCANCEL 0x00000001u
#endif
#ifndef MB_YESNO
#define MB_YESNO 0x00000004u
#endif
#ifndef MB_ICONQUESTION
#define MB_ICONQUESTION 0x00000020u
#endif
#ifndef MB_ICONEXCLAMATION
#define MB_ICONEXCLAMATION 0x00000030u
#endif
#ifndef MB_ICONINFORMATION
#define MB_ICONINFORMATION 0x00000040u
#endif
#ifndef MB_DEFBUTTON1
#define MB_DEFBUTTON1 0x00000000u
#endif
#ifndef MB_DEFBUTTON2
#define MB_DEFBUTTON2 0x00000100u
#endif

#ifndef IDOK
#define IDOK 1
#endif
#ifndef IDCANCEL
#define IDCANCEL 2
#endif
#ifndef IDYES
#define IDYES 6
#endif
#ifndef IDNO
#define IDNO 7
#endif

// Shows text in a modal message box captioned with the application name
// (AfxGetAppName) over the active window, and returns the button pressed
// (IDOK, IDYES, IDNO...), or 0 when no box could be shown.
int AfxMessageBox(const std::string& text, UINT type = MB_OK);
