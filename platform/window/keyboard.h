// Virtual-key codes and accelerator-table flags, with their Windows values.
#pragma once

#ifndef VK_TAB
#define VK_TAB 0x09
#endif
#ifndef VK_RETURN
#define VK_RETURN 0x0D
#endif
#ifndef VK_SHIFT
#define VK_SHIFT 0x10
#endif
#ifndef VK_CONTROL
#define VK_CONTROL 0x11
#endif
#ifndef VK_MENU
#define VK_MENU 0x12
#endif
#ifndef VK_ESCAPE
#define VK_ESCAPE 0x1B
#endif
#ifndef VK_SPACE
#define VK_SPACE 0x20
#endif
#ifndef VK_F1
#define VK_F1 0x70
#endif
#ifndef VK_F3
#define VK_F3 0x72
#endif
#ifndef VK_F4
#define VK_F4 0x73
#endif
#ifndef VK_F5
#define VK_F5 0x74
#endif

#ifndef FVIRTKEY
#define FVIRTKEY 0x01
#endif
#ifndef FNOINVERT
#define FNOINVERT 0x02
#endif
#ifndef FSHIFT
#define FSHIFT 0x04
#endif
#ifndef FCONTROL
#define FCONTROL 0x08
#endif
#ifndef FALT
#define FALT 0x10
#endif
