// A progress bar control. It is driven with PBM_SETRANGE and PBM_SETPOS sent
// to its window.
#pragma once
#include "platform/window/wnd.h"

class CProgressCtrl : public CWnd {};
