// The port both buttons open: COMn at 19200 bits per second, 8N1, DTR raised
// and RTS dropped.
#pragma once
#include <cstdio>
#include <memory>

#include "serial/serial.h"

// Null when the port cannot be opened and configured, for whatever reason.
inline std::unique_ptr<CSerial> OpenScannerPort(int portNumber) {
  char path[32];
  std::snprintf(path, sizeof path, "\\\\.\\COM%d", portNumber);
  try {
    return std::make_unique<CSerial>(path, 19200, 'N', 8, 1, true, false);
  } catch (...) {
    return nullptr;
  }
}
