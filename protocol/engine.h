// The command engine: runs a queue of records against the scanner with echo
// checks, one-byte answers, retries and reply validation.
#pragma once
#include <cstdint>
#include <string>

#include "protocol/command_queue.h"
#include "serial/serial.h"

enum class EngineError : int32_t {
  None = 0,
  EchoFailed = 1,
  NoResponse = 2,
  ErrorReply = 3,
  FlashWriteError = 4,
};

struct EngineResult {
  EngineError code = EngineError::None;
  std::string message;  // empty exactly when code is None
};

// The fixed text the user is shown for a failure code; empty for None.
const char* EngineMessage(EngineError code);

// Where a valid version reply is stored: the three version members of the
// window that runs the engine.
struct VersionFields {
  int32_t& status;
  int32_t& version;
  uint8_t& factory;
};

// Stores a valid version reply; does nothing for other kinds.
void HandleReply(const ScannerCommand& reply, VersionFields window);

EngineResult RunCommandQueue(CSerial& port, CommandQueue& queue, VersionFields window);

// Any window with the three version members can run the engine.
template <class Window>
EngineResult RunCommandQueue(CSerial& port, CommandQueue& queue, Window& window) {
  return RunCommandQueue(port, queue,
                         VersionFields{window.m_nScannerStatus, window.m_nScannerVersion,
                                       window.m_bFactoryVersion});
}
