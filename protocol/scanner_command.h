// The scanner command record and its kinds.
#pragma once
#include <cstdint>
#include <vector>

enum CommandType : int32_t {
  Ack = 0,
  Nak = 1,
  Enquiry = 2,
  Version = 3,
  ReadFolder = 4,
  WriteFolder = 5,
  Data = 6,
  FolderE = 7,
  None = 8,
};

// One command for the scanner. It owns its data and reply bytes; an empty
// buffer stands for none (nothing is allocated for it).
struct ScannerCommand {
  explicit ScannerCommand(CommandType k = None) : kind(k) {}

  // A copy takes the kind, the operands and the buffers (each only when its
  // length is at least 1 and the source has bytes), but starts its retries
  // afresh.
  ScannerCommand(const ScannerCommand& source);
  ScannerCommand& operator=(const ScannerCommand&) = delete;

  CommandType kind;
  int32_t folder = -1;
  int32_t offset = -1;
  int32_t length = -1;
  std::vector<uint8_t> data;
  std::vector<uint8_t> reply;
  int32_t replyLength = -1;
  int32_t retryCount = 0;
  int32_t retryLimit = 3;
};
