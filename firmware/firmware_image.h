// The firmware image the program carries: one constant record, fixed at
// build time from a payload file and never written. Its bytes follow each
// other without gaps, multi-byte values little-endian:
//
//   offset 0  version   (1 byte; 0x12 shows as 1.2)
//   offset 1  reserved  (1 byte, 0)
//   offset 2  length    (2 bytes, unsigned: the number of payload bytes)
//   offset 4  payload   (length bytes, streamed to the scanner unchanged)
#pragma once
#include <cstdint>

extern const uint8_t FirmwareImage[];

// The version as the windows show and compare it: the low 8 bits of the
// record's first four bytes taken as one little-endian 32-bit value.
uint8_t RecordVersion(const uint8_t* record);

// The payload length, unsigned 16-bit, and the payload that follows it.
uint16_t RecordLength(const uint8_t* record);
const uint8_t* RecordPayload(const uint8_t* record);

// The version of the carried image.
uint8_t FirmwareImageVersion();
