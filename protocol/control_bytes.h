// Control bytes of the serial line and the frame checksum.
#pragma once
#include <cstddef>
#include <cstdint>

namespace ctl {
constexpr uint8_t STX = 0x02;
constexpr uint8_t ETX = 0x03;
constexpr uint8_t ENQ = 0x05;
constexpr uint8_t ACK = 0x06;
constexpr uint8_t BEL = 0x07;
constexpr uint8_t NAK = 0x15;
}  // namespace ctl

// Low 8 bits of the sum of the given bytes: applied to everything after STX
// up to and including ETX.
inline uint8_t FrameChecksum(const uint8_t* bytes, size_t count) {
  unsigned sum = 0;
  for (size_t i = 0; i < count; ++i) sum += bytes[i];
  return static_cast<uint8_t>(sum);
}
