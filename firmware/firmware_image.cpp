#include "firmware/firmware_image.h"

uint8_t RecordVersion(const uint8_t* record) {
  const uint32_t head = static_cast<uint32_t>(record[0]) | static_cast<uint32_t>(record[1]) << 8 |
                        static_cast<uint32_t>(record[2]) << 16 |
                        static_cast<uint32_t>(record[3]) << 24;
  return static_cast<uint8_t>(head & 0xFF);
}

uint16_t RecordLength(const uint8_t* record) {
  return static_cast<uint16_t>(record[2] | record[3] << 8);
}

const uint8_t* RecordPayload(const uint8_t* record) { return record + 4; }

uint8_t FirmwareImageVersion() { return RecordVersion(FirmwareImage); }
