// Dialog 100, the About box: icon, name and version, a notice and an address
// line, and OK.
#include "resources/dialogs.h"

#include "platform/window/message_box.h"
#include "platform/window/styles.h"
#include "resources/resource_ids.h"

namespace {

constexpr uint32_t kChild = WS_CHILD | WS_VISIBLE;

const ControlTemplate kControls[] = {
    {-1, "Static", "", kMainIcon, 11, 17, 21, 20, kChild | SS_ICON},
    {kAboutTitle, "Static", "Tarnwick", 0, 40, 12, 152, 8,
     kChild | SS_LEFT | SS_NOPREFIX | WS_GROUP},
    {-1, "Static", "Copyright (C) 2026 the Tarnwick developers", 0, 40, 27, 152, 8,
     kChild | SS_LEFT | WS_GROUP},
    {IDOK, "Button", "OK", 0, 202, 7, 50, 14, kChild | BS_DEFPUSHBUTTON | WS_GROUP | WS_TABSTOP},
    {-1, "Static", "7 Lantern Yard, Tarnwick Cross", 0, 40, 42, 152, 8,
     kChild | SS_LEFT | WS_GROUP},
};

}  // namespace

const DialogTemplate kAboutDialogTemplate = {
    kAboutDialog,
    "About the Tarnwick",
    WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT,
    0,
    0, 0, 259, 66,
    8, "MS Sans Serif",
    kControls, sizeof kControls / sizeof kControls[0],
};
