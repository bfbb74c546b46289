#include <gtest/gtest.h>

#include <vector>

#include "protocol/command_queue.h"
#include "protocol/frame.h"

namespace {

ScannerCommand Make(CommandType kind, int32_t folder = -1, int32_t offset = -1,
                    int32_t length = -1, std::vector<uint8_t> data = {}) {
  ScannerCommand c(kind);
  c.folder = folder;
  c.offset = offset;
  c.length = length;
  c.data = std::move(data);
  return c;
}

std::vector<uint8_t> Bytes(const ScannerCommand& c) {
  auto frame = Encode(c);
  if (!frame) return {};
  return std::vector<uint8_t>(frame.get(), frame.get() + FrameSize(c));
}

struct FrameCase {
  const char* name;
  ScannerCommand command;
  std::vector<uint8_t> frame;  // empty: no frame
  int32_t replySize;
};

TEST(Frame, EncodesEveryKindWithinItsLimits) {
  const FrameCase cases[] = {
      {"ack", Make(Ack), {0x06}, 0},
      {"nak", Make(Nak), {0x15}, 0},
      {"enquiry", Make(Enquiry), {0x05}, 1},
      {"version", Make(Version), {0x56}, 5},
      {"folderE 0", Make(FolderE, 0), {0x02, 0x45, 0x30, 0x03, 0x78}, 1},
      {"folderE 10", Make(FolderE, 10), {0x02, 0x45, 0x3A, 0x03, 0x82}, 1},
      {"readFolder", Make(ReadFolder, 1, 0x0100, 16),
       {0x02, 0x52, 0x31, 0x01, 0x00, 0x00, 0x10, 0x03, 0x97}, 19},
      {"readFolder last byte", Make(ReadFolder, 0, 32703, 1),
       {0x02, 0x52, 0x30, 0x7F, 0xBF, 0x00, 0x01, 0x03, 0xC4}, 4},
      {"writeFolder", Make(WriteFolder, 10, -1, 32704),
       {0x02, 0x57, 0x3A, 0x7F, 0xC0, 0x03, 0xD3}, 1},
      {"data empty", Make(Data, -1, -1, 0), {0x02, 0x03, 0x03}, 1},
      {"data abc", Make(Data, -1, -1, 3, {0x61, 0x62, 0x63}),
       {0x02, 0x61, 0x62, 0x63, 0x03, 0x29}, 1},
      // The checksum keeps only the low 8 bits of the sum.
      {"data wraps", Make(Data, -1, -1, 2, {0xFF, 0xFF}), {0x02, 0xFF, 0xFF, 0x03, 0x01}, 1},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(Bytes(c.command), c.frame);
    EXPECT_EQ(FrameSize(c.command), static_cast<int32_t>(c.frame.size()));
    EXPECT_EQ(ReplySize(c.command), c.replySize);
  }
}

TEST(Frame, RecordsThatBreakALimitHaveNoFrame) {
  const FrameCase cases[] = {
      {"readFolder offset at end", Make(ReadFolder, 0, 32704, 1), {}, 0},
      {"readFolder past end", Make(ReadFolder, 0, 0, 32705), {}, 0},
      {"readFolder negative offset", Make(ReadFolder, 0, -1, 1), {}, 0},
      {"readFolder length 0", Make(ReadFolder, 0, 0, 0), {}, 0},
      {"readFolder folder -1", Make(ReadFolder, -1, 0, 1), {}, 0},
      {"readFolder folder 11", Make(ReadFolder, 11, 0, 1), {}, 0},
      {"writeFolder length 0", Make(WriteFolder, 0, -1, 0), {}, 0},
      {"writeFolder length 32705", Make(WriteFolder, 0, -1, 32705), {}, 0},
      {"writeFolder folder -1", Make(WriteFolder, -1, -1, 1), {}, 0},
      {"writeFolder folder 11", Make(WriteFolder, 11, -1, 1), {}, 0},
      {"folderE folder -1", Make(FolderE, -1), {}, 0},
      {"folderE folder 11", Make(FolderE, 11), {}, 0},
      {"blank", Make(None), {}, 0},
      {"kind 9", Make(static_cast<CommandType>(9)), {}, 0},
      {"kind -1", Make(static_cast<CommandType>(-1)), {}, 0},
      // A Data record never reads past the bytes it carries.
      {"data shorter than length", Make(Data, -1, -1, 4, {1, 2}), {}, 0},
      {"data negative length", Make(Data, -1, -1, -1), {}, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(Encode(c.command), nullptr);
    EXPECT_EQ(FrameSize(c.command), 0);
    EXPECT_EQ(ReplySize(c.command), 0);
  }
}

TEST(Frame, ReadFolderReplyCountsTheDataFrame) {
  EXPECT_EQ(ReplySize(Make(ReadFolder, 0, 0, 32704)), 32707);
}

TEST(ScannerCommandRecord, StartsBlankAndCopiesOperandsButNotRetries) {
  ScannerCommand blank;
  EXPECT_EQ(blank.kind, None);
  EXPECT_EQ(blank.folder, -1);
  EXPECT_EQ(blank.offset, -1);
  EXPECT_EQ(blank.length, -1);
  EXPECT_EQ(blank.replyLength, -1);
  EXPECT_EQ(blank.retryCount, 0);
  EXPECT_EQ(blank.retryLimit, 3);
  EXPECT_TRUE(blank.data.empty());
  EXPECT_TRUE(blank.reply.empty());

  ScannerCommand source = Make(Data, 2, 5, 2, {9, 8, 7});
  source.reply = {1, 2, 3, 4, 5};
  source.replyLength = 4;
  source.retryCount = 2;
  source.retryLimit = 7;
  const ScannerCommand copy(source);
  EXPECT_EQ(copy.kind, Data);
  EXPECT_EQ(copy.folder, 2);
  EXPECT_EQ(copy.offset, 5);
  EXPECT_EQ(copy.length, 2);
  EXPECT_EQ(copy.data, (std::vector<uint8_t>{9, 8}));
  EXPECT_EQ(copy.reply, (std::vector<uint8_t>{1, 2, 3, 4}));
  EXPECT_EQ(copy.replyLength, 4);
  EXPECT_EQ(copy.retryCount, 0);
  EXPECT_EQ(copy.retryLimit, 3);

  source.length = 0;
  source.replyLength = 0;
  const ScannerCommand empty(source);
  EXPECT_TRUE(empty.data.empty());
  EXPECT_TRUE(empty.reply.empty());
}

TEST(CommandQueueTest, IsFirstInFirstOutAndClearReleasesEverything) {
  CommandQueue queue;
  ClearQueue(queue);
  EXPECT_EQ(queue.GetCount(), 0);
  EXPECT_EQ(queue.RemoveHead(), nullptr);

  queue.AddTail(std::make_unique<ScannerCommand>(Enquiry));
  queue.AddTail(std::make_unique<ScannerCommand>(Version));
  ASSERT_EQ(queue.GetCount(), 2);
  EXPECT_EQ(queue.RemoveHead()->kind, Enquiry);
  queue.AddTail(std::make_unique<ScannerCommand>(Ack));
  ClearQueue(queue);
  EXPECT_EQ(queue.GetCount(), 0);
}

}  // namespace
