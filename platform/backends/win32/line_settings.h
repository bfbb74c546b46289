// The device-control fields that a serial port is opened with.
#pragma once
#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include "platform/comm.h"

namespace comm {

// Writes the fields that LineSettings governs into a DCB read from the
// device: raw 8-bit transfers, no flow control of any kind, DTR and RTS held
// at the levels asked for. Every other field, the reserved bits among them,
// keeps the value the device reported.
void WriteLineSettings(const LineSettings& settings, DCB* dcb);

}  // namespace comm
