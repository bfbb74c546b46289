// Frame sizes and bytes of arbitrary records: sizes and bytes agree, and no
// frame reads outside the record's buffer (the sanitizers watch that).
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdio>
#include <cstdlib>

#include "protocol/control_bytes.h"
#include "protocol/frame.h"

namespace {

void Check(bool ok, const char* what) {
  if (ok) return;
  std::fprintf(stderr, "frame fuzz: %s\n", what);
  std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzedDataProvider in(data, size);
  ScannerCommand c(static_cast<CommandType>(in.ConsumeIntegral<int32_t>()));
  c.folder = in.ConsumeIntegral<int32_t>();
  c.offset = in.ConsumeIntegral<int32_t>();
  c.length = in.ConsumeIntegral<int32_t>();
  c.data = in.ConsumeRemainingBytes<uint8_t>();

  const int32_t frameSize = FrameSize(c);
  const int32_t replySize = ReplySize(c);
  const auto frame = Encode(c);
  Check(frameSize >= 0 && replySize >= 0, "negative size");
  Check((frame == nullptr) == (frameSize == 0), "frame and size disagree");
  if (frameSize == 0) {
    Check(replySize == 0, "a record without frame owes a reply");
    return 0;
  }
  if (frameSize == 1) return 0;
  Check(frame[0] == ctl::STX && frame[frameSize - 2] == ctl::ETX, "frame not framed");
  Check(frame[frameSize - 1] == FrameChecksum(frame.get() + 1, static_cast<size_t>(frameSize - 2)),
        "bad checksum");
  Check(replySize >= 1, "a framed command owes an answer");
  return 0;
}
