#include "protocol/scanner_command.h"

#include <cstddef>

namespace {

std::vector<uint8_t> CopyPrefix(const std::vector<uint8_t>& source, int32_t length) {
  if (length < 1 || source.empty()) return {};
  const size_t n = static_cast<size_t>(length) < source.size() ? static_cast<size_t>(length)
                                                                : source.size();
  return std::vector<uint8_t>(source.begin(), source.begin() + static_cast<std::ptrdiff_t>(n));
}

}  // namespace

ScannerCommand::ScannerCommand(const ScannerCommand& source)
    : kind(source.kind),
      folder(source.folder),
      offset(source.offset),
      length(source.length),
      data(CopyPrefix(source.data, source.length)),
      reply(CopyPrefix(source.reply, source.replyLength)),
      replyLength(source.replyLength) {}
