// The carried firmware image record and how its fields are read.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <vector>

#include "firmware/firmware_image.h"

namespace {

TEST(FirmwareImageRecord, FieldsAreReadFromTheirOwnBytesOnly) {
  struct Case {
    const char* name;
    uint8_t record[4];
    uint8_t version;
    uint16_t length;
  };
  const Case cases[] = {
      {"carried layout", {0x12, 0x00, 0x82, 0x6A}, 0x12, 27266},
      // The version readers take the first four bytes as one value and keep
      // its low 8 bits: the other three never change the version.
      {"reserved and length all ones", {0x12, 0xFF, 0xFF, 0xFF}, 0x12, 0xFFFF},
      {"version with bit 7", {0x93, 0x01, 0x00, 0x00}, 0x93, 0},
      // The length is unsigned: a high byte with bit 7 set is no sign.
      {"largest even length", {0x12, 0x00, 0xFE, 0xFF}, 0x12, 65534},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(RecordVersion(c.record), c.version);
    EXPECT_EQ(RecordLength(c.record), c.length);
    EXPECT_EQ(RecordPayload(c.record), c.record + 4);
  }
}

TEST(FirmwareImageRecord, CarriesThePayloadFileUnchangedAsVersion1Point2) {
  std::ifstream file(FIRMWARE_PAYLOAD_FILE, std::ios::binary);
  ASSERT_TRUE(file) << FIRMWARE_PAYLOAD_FILE;
  const std::vector<uint8_t> payload{std::istreambuf_iterator<char>(file),
                                     std::istreambuf_iterator<char>()};

  EXPECT_EQ(FirmwareImage[0], 0x12);
  EXPECT_EQ(FirmwareImage[1], 0x00);
  EXPECT_EQ(FirmwareImageVersion(), 0x12);
  ASSERT_EQ(RecordLength(FirmwareImage), payload.size());
  const uint8_t* carried = RecordPayload(FirmwareImage);
  EXPECT_EQ(std::vector<uint8_t>(carried, carried + payload.size()), payload);
}

}  // namespace
