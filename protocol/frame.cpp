#include "protocol/frame.h"

#include <cstring>
#include <limits>

#include "protocol/control_bytes.h"

namespace {

constexpr int32_t kLastFolder = 10;
constexpr int32_t kFolderSpace = 32704;  // 0x7FC0 bytes in each folder

bool FolderValid(const ScannerCommand& c) { return c.folder >= 0 && c.folder <= kLastFolder; }

// Checks the limits of the record's kind. A Data record must carry at least
// length bytes; the frame never reads past its buffer.
bool WithinLimits(const ScannerCommand& c) {
  switch (c.kind) {
    case Ack:
    case Nak:
    case Enquiry:
    case Version:
      return true;
    case ReadFolder:
      return FolderValid(c) && static_cast<uint32_t>(c.offset) < kFolderSpace && c.length > 0 &&
             c.length <= kFolderSpace - c.offset;
    case WriteFolder:
      return FolderValid(c) && c.length > 0 && c.length <= kFolderSpace;
    case FolderE:
      return FolderValid(c);
    case Data:
      return c.length >= 0 && static_cast<size_t>(c.length) <= c.data.size() &&
             c.length <= std::numeric_limits<int32_t>::max() - 3;
    default:
      return false;
  }
}

uint8_t FolderDigit(int32_t folder) { return static_cast<uint8_t>(0x30 + folder); }
uint8_t High(int32_t v) { return static_cast<uint8_t>(v >> 8); }
uint8_t Low(int32_t v) { return static_cast<uint8_t>(v); }

}  // namespace

int32_t FrameSize(const ScannerCommand& c) {
  if (!WithinLimits(c)) return 0;
  switch (c.kind) {
    case ReadFolder: return 9;
    case WriteFolder: return 7;
    case FolderE: return 5;
    case Data: return c.length + 3;
    default: return 1;
  }
}

int32_t ReplySize(const ScannerCommand& c) {
  if (!WithinLimits(c)) return 0;
  switch (c.kind) {
    case Enquiry:
    case WriteFolder:
    case Data:
    case FolderE:
      return 1;
    case Version: return 5;
    case ReadFolder: return c.length + 3;
    default: return 0;
  }
}

std::unique_ptr<uint8_t[]> Encode(const ScannerCommand& c) {
  const int32_t size = FrameSize(c);
  if (size == 0) return nullptr;
  auto frame = std::make_unique<uint8_t[]>(static_cast<size_t>(size));
  uint8_t* p = frame.get();

  switch (c.kind) {
    case Ack: p[0] = ctl::ACK; return frame;
    case Nak: p[0] = ctl::NAK; return frame;
    case Enquiry: p[0] = ctl::ENQ; return frame;
    case Version: p[0] = 'V'; return frame;
    case ReadFolder:
      p[1] = 'R';
      p[2] = FolderDigit(c.folder);
      p[3] = High(c.offset);
      p[4] = Low(c.offset);
      p[5] = High(c.length);
      p[6] = Low(c.length);
      break;
    case WriteFolder:
      p[1] = 'W';
      p[2] = FolderDigit(c.folder);
      p[3] = High(c.length);
      p[4] = Low(c.length);
      break;
    case FolderE:
      p[1] = 'E';
      p[2] = FolderDigit(c.folder);
      break;
    case Data:
      if (c.length > 0) std::memcpy(p + 1, c.data.data(), static_cast<size_t>(c.length));
      break;
    default:
      return nullptr;
  }
  p[0] = ctl::STX;
  p[size - 2] = ctl::ETX;
  p[size - 1] = FrameChecksum(p + 1, static_cast<size_t>(size - 2));
  return frame;
}
