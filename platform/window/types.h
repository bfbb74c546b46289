// The basic types of the window library. Where a name is also one that the
// Windows headers define, it is defined here as exactly the same type for
// x86-64, so the Win32 backend can include both.
#pragma once
#include <cstdint>

using UINT = unsigned int;
using BOOL = int;
using WPARAM = uintptr_t;
using LPARAM = intptr_t;
using LRESULT = intptr_t;

// Handles are pointers to incomplete structs; each backend decides what they
// point to.
struct HWND__;
using HWND = HWND__*;
struct HICON__;
using HICON = HICON__*;
struct HACCEL__;
using HACCEL = HACCEL__*;
struct HMENU__;
using HMENU = HMENU__*;
struct HDC__;
using HDC = HDC__*;

#ifndef TRUE
#define TRUE 1
#endif
#ifndef FALSE
#define FALSE 0
#endif

// One message as it comes out of the queue, before it is dispatched.
struct WindowMessage {
  HWND hwnd;
  UINT message;
  WPARAM wParam;
  LPARAM lParam;
};

inline UINT LowWord(uintptr_t value) { return static_cast<UINT>(value & 0xFFFF); }
inline UINT HighWord(uintptr_t value) { return static_cast<UINT>((value >> 16) & 0xFFFF); }
