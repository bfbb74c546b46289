// Dialog 102, the main window: seven numbered steps, the version banner, the
// port list and the TEST, UPDATE and EXIT buttons.
#include "resources/dialogs.h"

#include "platform/window/styles.h"
#include "resources/resource_ids.h"

namespace {

constexpr uint32_t kChild = WS_CHILD | WS_VISIBLE;
constexpr uint32_t kText = kChild | SS_LEFT | WS_GROUP;
constexpr uint32_t kNumber = kChild | SS_RIGHT | WS_GROUP;

const ControlTemplate kControls[] = {
    {kExitButton, "Button", "EXIT", 0, 261, 234, 65, 14, kChild | BS_DEFPUSHBUTTON | WS_TABSTOP},
    {kPortList, "ComboBox", "", 0, 261, 64, 65, 155,
     kChild | CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP},
    {-1, "Static",
     "Connect the PRO-96 to an available COM port on the PC, using a supported serial cable, and "
     "turn the scanner ON.",
     0, 32, 34, 220, 30, kText},
    {-1, "Static", "1.", 0, 7, 34, 21, 30, kNumber},
    {-1, "Static",
     "In the list at the right, select the COM port to which the scanner is connected.", 0, 32,
     64, 220, 30, kText},
    {-1, "Static", "2.", 0, 7, 64, 21, 30, kNumber},
    {-1, "Static",
     "Click the 'TEST' button to the right. This will test the connection to the scanner and "
     "retrieve the current DSP version.",
     0, 32, 94, 220, 30, kText},
    {-1, "Static", "3.", 0, 7, 94, 21, 30, kNumber},
    {kTestButton, "Button", "TEST", 0, 261, 94, 65, 14, kChild | BS_PUSHBUTTON | WS_TABSTOP},
    {kStep7Text, "Static",
     "Click the 'UPDATE' button to the right. This will update the PRO-96 DSP firmware to "
     "version ",
     0, 32, 204, 220, 30, kText},
    {-1, "Static", "7.", 0, 7, 204, 21, 30, kNumber},
    {kUpdateButton, "Button", "UPDATE", 0, 261, 204, 65, 14,
     kChild | BS_PUSHBUTTON | WS_TABSTOP | WS_DISABLED},
    {kCompletionNote, "Static",
     "Operation complete. You may exit this utility by clicking the 'EXIT' button, or click the "
     "'TEST' button to view the current DSP version.",
     0, 32, 234, 220, 30, WS_CHILD | SS_LEFT | WS_GROUP},
    {-1, "Static", "Turn the scanner OFF and disconnect the programming cable.", 0, 32, 124, 220,
     20, kText},
    {-1, "Static", "4.", 0, 7, 124, 21, 20, kNumber},
    {-1, "Static", "Reconnect the programming cable.", 0, 32, 184, 220, 20, kText},
    {-1, "Static", "6.", 0, 7, 184, 21, 20, kNumber},
    {-1, "Static",
     "Turn the scanner back ON and, while the \"Welcome\" message is displayed, press 0 PGM "
     "ENTER (in sequence). This will place the scanner in its DSP update mode.",
     0, 32, 144, 220, 40, kText},
    {-1, "Static", "5.", 0, 7, 144, 21, 40, kNumber},
    {kVersionBanner, "Static", "SCANNER VERSION: 00.00     UPDATER VERSION: 00.00", 0, 7, 6, 329,
     24, kChild | SS_CENTER | WS_GROUP},
};

}  // namespace

const DialogTemplate kMainDialogTemplate = {
    kMainDialog,
    "Tarnwick",
    WS_POPUP | WS_VISIBLE | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT,
    WS_EX_APPWINDOW,
    0, 0, 343, 274,
    8, "MS Sans Serif",
    kControls, sizeof kControls / sizeof kControls[0],
};
