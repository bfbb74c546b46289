// Window, dialog and control styles, with their Windows values.
#pragma once

#ifndef WS_POPUP
#define WS_POPUP 0x80000000u
#endif
#ifndef WS_CHILD
#define WS_CHILD 0x40000000u
#endif
#ifndef WS_VISIBLE
#define WS_VISIBLE 0x10000000u
#endif
#ifndef WS_DISABLED
#define WS_DISABLED 0x08000000u
#endif
#ifndef WS_CAPTION
#define WS_CAPTION 0x00C00000u
#endif
#ifndef WS_BORDER
#define WS_BORDER 0x00800000u
#endif
#ifndef WS_VSCROLL
#define WS_VSCROLL 0x00200000u
#endif
#ifndef WS_SYSMENU
#define WS_SYSMENU 0x00080000u
#endif
#ifndef WS_GROUP
#define WS_GROUP 0x00020000u
#endif
#ifndef WS_TABSTOP
#define WS_TABSTOP 0x00010000u
#endif
#ifndef WS_MINIMIZEBOX
#define WS_MINIMIZEBOX 0x00020000u
#endif
#ifndef WS_MAXIMIZEBOX
#define WS_MAXIMIZEBOX 0x00010000u
#endif
#ifndef WS_EX_APPWINDOW
#define WS_EX_APPWINDOW 0x00040000u
#endif

#ifndef DS_SETFONT
#define DS_SETFONT 0x40
#endif
#ifndef DS_MODALFRAME
#define DS_MODALFRAME 0x80
#endif
#ifndef DS_CENTER
#define DS_CENTER 0x0800
#endif

#ifndef SS_LEFT
#define SS_LEFT 0x0000
#endif
#ifndef SS_CENTER
#define SS_CENTER 0x0001
#endif
#ifndef SS_RIGHT
#define SS_RIGHT 0x0002
#endif
#ifndef SS_ICON
#define SS_ICON 0x0003
#endif
#ifndef SS_NOPREFIX
#define SS_NOPREFIX 0x0080
#endif

#ifndef BS_PUSHBUTTON
#define BS_PUSHBUTTON 0x0000
#endif
#ifndef BS_DEFPUSHBUTTON
#define BS_DEFPUSHBUTTON 0x0001
#endif

#ifndef CBS_DROPDOWNLIST
#define CBS_DROPDOWNLIST 0x0003
#endif

#ifndef PBS_SMOOTH
#define PBS_SMOOTH 0x01
#endif
