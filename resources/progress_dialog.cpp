// Dialog 6000, the progress window: one progress bar and no close button.
#include "resources/dialogs.h"

#include "platform/window/styles.h"
#include "resources/resource_ids.h"

namespace {

const ControlTemplate kControls[] = {
    {kProgressBar, "msctls_progress32", "Progress1", 0, 7, 7, 167, 14,
     WS_CHILD | WS_VISIBLE | WS_BORDER | PBS_SMOOTH},
};

}  // namespace

const DialogTemplate kProgressDialogTemplate = {
    kProgressDialog,
    "",
    WS_POPUP | WS_CAPTION | DS_MODALFRAME | DS_SETFONT,
    0,
    0, 0, 181, 28,
    8, "MS Sans Serif",
    kControls, sizeof kControls / sizeof kControls[0],
};
