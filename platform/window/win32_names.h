// For the Win32 backend: include right after <windows.h> and before the
// headers of this library. The Windows headers turn these names into macros
// for their A and W functions; undefining them keeps our member and function
// names the same in every translation unit. Call the A functions by their
// full names instead.
#pragma once

#undef AppendMenu
#undef GetWindowText
#undef LoadAccelerators
#undef LoadIcon
#undef LoadString
#undef PostMessage
#undef SendMessage
#undef SetWindowText
#undef TranslateAccelerator
#undef WinHelp
#undef DefWindowProc
