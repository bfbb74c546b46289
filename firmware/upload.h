// The UPDATE button: streams a firmware image record to a scanner that waits
// in its DSP update mode.
#pragma once
#include <cstdint>

class CUpdaterDlg;

// Runs the whole upload of record (laid out as FirmwareImage) on the port of
// the window's last TEST, with the window's progress window, messages and
// button states. OnUpdate runs it with the carried image.
void UploadImage(CUpdaterDlg& window, const uint8_t* record);
