// Window message numbers and the codes that go with them, with their Windows
// values.
#pragma once

#ifndef WM_SETTEXT
#define WM_SETTEXT 0x000C
#endif
#ifndef WM_PAINT
#define WM_PAINT 0x000F
#endif
#ifndef WM_CLOSE
#define WM_CLOSE 0x0010
#endif
#ifndef WM_SHOWWINDOW
#define WM_SHOWWINDOW 0x0018
#endif
#ifndef WM_ICONERASEBKGND
#define WM_ICONERASEBKGND 0x0027
#endif
#ifndef WM_QUERYDRAGICON
#define WM_QUERYDRAGICON 0x0037
#endif
#ifndef WM_SETICON
#define WM_SETICON 0x0080
#endif
#ifndef WM_KEYDOWN
#define WM_KEYDOWN 0x0100
#endif
#ifndef WM_SYSKEYDOWN
#define WM_SYSKEYDOWN 0x0104
#endif
#ifndef WM_INITDIALOG
#define WM_INITDIALOG 0x0110
#endif
#ifndef WM_COMMAND
#define WM_COMMAND 0x0111
#endif
#ifndef WM_SYSCOMMAND
#define WM_SYSCOMMAND 0x0112
#endif
#ifndef WM_USER
#define WM_USER 0x0400
#endif

// WM_SETICON
#ifndef ICON_SMALL
#define ICON_SMALL 0
#endif
#ifndef ICON_BIG
#define ICON_BIG 1
#endif

// WM_SYSCOMMAND
#ifndef SC_MOVE
#define SC_MOVE 0xF010
#endif
#ifndef SC_MINIMIZE
#define SC_MINIMIZE 0xF020
#endif
#ifndef SC_CLOSE
#define SC_CLOSE 0xF060
#endif

// WM_COMMAND from a button
#ifndef BN_CLICKED
#define BN_CLICKED 0
#endif

// Combo box messages
#ifndef CB_ERR
#define CB_ERR (-1)
#endif
#ifndef CB_ADDSTRING
#define CB_ADDSTRING 0x0143
#endif
#ifndef CB_GETCURSEL
#define CB_GETCURSEL 0x0147
#endif
#ifndef CB_SETCURSEL
#define CB_SETCURSEL 0x014E
#endif

// Progress bar messages
#ifndef PBM_SETRANGE
#define PBM_SETRANGE (WM_USER + 1)
#endif
#ifndef PBM_SETPOS
#define PBM_SETPOS (WM_USER + 2)
#endif

// Help commands
#ifndef HELP_CONTEXT
#define HELP_CONTEXT 0x0001
#endif
