// The bytes each command puts on the line, and the bytes the scanner owes
// back. A record that breaks a limit, or has no kind, has no frame.
#pragma once
#include <cstdint>
#include <memory>

#include "protocol/scanner_command.h"

int32_t FrameSize(const ScannerCommand& command);
int32_t ReplySize(const ScannerCommand& command);

// A buffer of exactly FrameSize bytes, or null when there is no frame.
std::unique_ptr<uint8_t[]> Encode(const ScannerCommand& command);
