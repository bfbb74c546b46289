#include "tools/scanner/scanner_model.h"

#include <algorithm>
#include <memory>
#include <string>
#include <utility>

namespace scanner {

namespace {

constexpr uint8_t kStx = 0x02;
constexpr uint8_t kEtx = 0x03;
constexpr uint8_t kEnq = 0x05;
constexpr uint8_t kAck = 0x06;
constexpr uint8_t kBel = 0x07;
constexpr uint8_t kNak = 0x15;
constexpr uint8_t kVersionQuery = 0x56;  // 'V'
constexpr uint8_t kReady = 0x55;         // 'U'
constexpr uint8_t kUploadOpen = 0x66;    // 'f'
constexpr size_t kHeaderSize = 6;

// Pause between the two pieces of a reply sent in pieces.
constexpr uint64_t kPieceGapNs = 20 * kMsNs;
// Image bytes further apart than this belong to different chunks.
constexpr uint64_t kChunkGapNs = 5 * kMsNs;

// What a receiver on the wrong port keeps sending.
const std::string kNoise = "$GPGGA,101500.00,5230.1200,N,01322.4500,E,1,07,1.2,41.0,M,44.0,M,,*00\r\n";

}  // namespace

Model::Model(Wire& wire, Options options)
    : wire_(wire),
      options_(std::move(options)),
      alive_(std::make_shared<int>(0)),
      mode_(options_.mode),
      status_(options_.status),
      version_(options_.version),
      nakAnswersLeft_(options_.faults.nakAnswers),
      badRepliesLeft_(options_.faults.badChecksumReplies) {}

void Model::SetScript(Script script) { script_ = std::move(script); }

void Model::OnHostOpen() {
  ++session_;
  ++record_.opens;
  step_ = Step::AwaitCommand;
  if (record_.vanished) return;
  if (updateArmed_) {
    mode_ = Mode::Update;
    updateArmed_ = false;
  }
  if (mode_ == Mode::Update) StartUpdateSession();
  if (options_.faults.endlessNoise) SendNoise();
  if (options_.faults.vanishAfter == size_t{0}) VanishNow();
}

void Model::OnHostClose() {
  ++session_;
  ++record_.closes;
  step_ = Step::AwaitCommand;
}

void Model::OnHostByte(uint8_t byte) {
  if (record_.vanished) return;
  ++record_.hostBytes;
  if (!script_ || !script_(byte, wire_)) {
    EchoByte(byte);
    if (mode_ == Mode::Normal)
      OnCommandByte(byte);
    else
      OnUpdateByte(byte);
  }
  if (options_.faults.vanishAfter && record_.hostBytes >= *options_.faults.vanishAfter) VanishNow();
}

void Model::VanishNow() {
  record_.vanished = true;
  wire_.Vanish();
}

void Model::EchoByte(uint8_t byte) {
  if (options_.faults.noEcho) return;
  wire_.Echo(options_.faults.wrongEcho ? static_cast<uint8_t>(~byte) : byte);
}

void Model::Later(uint64_t delayNs, std::function<void()> fn) {
  std::weak_ptr<int> alive = alive_;
  const uint64_t session = session_;
  wire_.After(delayNs, [this, alive, session, fn = std::move(fn)] {
    const auto living = alive.lock();
    if (living && session == session_ && !record_.vanished) fn();
  });
}

void Model::SendLater(uint64_t delayNs, std::vector<uint8_t> bytes) {
  if (bytes.empty()) return;
  if (delayNs == 0) {
    wire_.Send(bytes.data(), bytes.size());
    return;
  }
  Later(delayNs, [this, bytes = std::move(bytes)] { wire_.Send(bytes.data(), bytes.size()); });
}

void Model::OnCommandByte(uint8_t byte) {
  if (step_ == Step::AwaitReplyAck) {
    step_ = Step::AwaitCommand;
    if (byte == kAck) {
      if (lastReplyGood_) {
        ++record_.versionsRead;
        if (options_.updateAfterTest) updateArmed_ = true;
      }
      return;
    }
    if (byte == kNak) {
      step_ = Step::AwaitReplyAck;
      SendReply({});
      return;
    }
  }
  if (byte == kEnq || byte == kVersionQuery) AnswerCommand(byte == kVersionQuery);
}

void Model::AnswerCommand(bool owesReply) {
  const Faults& f = options_.faults;
  if (f.silent) return;
  uint8_t answer = kAck;
  if (nakAnswersLeft_ > 0) {
    --nakAnswersLeft_;
    answer = kNak;
  } else if (f.belAnswer) {
    answer = kBel;
  } else if (f.strayAnswer) {
    answer = *f.strayAnswer;
  }
  if (answer != kAck || !owesReply) {
    SendLater(AnswerDelayNs(), {answer});
    return;
  }
  if (f.loneNakReply) {
    SendLater(AnswerDelayNs(), {kAck, kNak});
    return;
  }
  step_ = Step::AwaitReplyAck;
  SendReply({kAck});
}

uint64_t Model::AnswerDelayNs() const { return options_.faults.answerDelayMs * kMsNs; }

void Model::SendReply(std::vector<uint8_t> lead) {
  const Faults& f = options_.faults;
  const uint8_t checksum = static_cast<uint8_t>(status_ + version_ + kEtx);
  lastReplyGood_ = badRepliesLeft_ == 0;
  if (!lastReplyGood_) --badRepliesLeft_;
  ++record_.repliesSent;
  std::vector<uint8_t> reply{kStx, status_, version_, kEtx,
                             static_cast<uint8_t>(lastReplyGood_ ? checksum : checksum + 1)};
  reply.insert(reply.end(), f.surplusAfterReply.begin(), f.surplusAfterReply.end());

  const size_t split = std::min(f.replyInPieces, reply.size());
  std::vector<uint8_t> first = std::move(lead);
  first.insert(first.end(), reply.begin(), reply.begin() + static_cast<std::ptrdiff_t>(split));
  std::vector<uint8_t> rest(reply.begin() + static_cast<std::ptrdiff_t>(split), reply.end());
  if (split == 0) {
    first.insert(first.end(), rest.begin(), rest.end());
    rest.clear();
  }
  SendLater(AnswerDelayNs(), std::move(first));
  SendLater(AnswerDelayNs() + kPieceGapNs, std::move(rest));
}

void Model::StartUpdateSession() {
  readySent_ = false;
  record_.header = Header::Awaited;
  record_.headerBytes.clear();
  record_.image.clear();
  record_.imageSize = 0;
  record_.chunks.clear();
  record_.imageComplete = false;
  if (!options_.readyDelayMs) return;
  Later(*options_.readyDelayMs * kMsNs, [this] {
    std::vector<uint8_t> bytes = options_.faults.noiseBeforeReady;
    bytes.push_back(kReady);
    wire_.Send(bytes.data(), bytes.size());
    readySent_ = true;
  });
}

void Model::OnUpdateByte(uint8_t byte) {
  // Until the scanner has said it is ready it takes nothing from the host.
  if (!readySent_) return;
  switch (record_.header) {
    case Header::Awaited:
      record_.headerBytes.push_back(byte);
      if (record_.headerBytes.size() == kHeaderSize) CheckHeader();
      break;
    case Header::Good:
      TakeImageByte(byte);
      break;
    case Header::Bad:
      break;
  }
}

void Model::CheckHeader() {
  const std::vector<uint8_t>& h = record_.headerBytes;
  const bool good = h[0] == kUploadOpen && h[1] == kStx && h[4] == kEtx &&
                    h[5] == static_cast<uint8_t>(h[2] + h[3] + kEtx);
  if (!good) {
    record_.header = Header::Bad;
    return;
  }
  record_.header = Header::Good;
  record_.imageSize = ((size_t{h[2]} << 8) | h[3]) * 2;
  if (record_.imageSize == 0) Reboot();
}

void Model::TakeImageByte(uint8_t byte) {
  const uint64_t now = wire_.NowNs();
  if (record_.chunks.empty() || now - lastImageByteNs_ > kChunkGapNs)
    record_.chunks.push_back(Chunk{now, record_.image.size(), 0});
  ++record_.chunks.back().size;
  record_.image.push_back(byte);
  lastImageByteNs_ = now;
  if (record_.image.size() == record_.imageSize) Reboot();
}

void Model::Reboot() {
  mode_ = Mode::Normal;
  status_ = 1;
  version_ = options_.newVersion;
  record_.imageComplete = true;
  step_ = Step::AwaitCommand;
}

void Model::SendNoise() {
  wire_.Send(reinterpret_cast<const uint8_t*>(kNoise.data()), kNoise.size());
  Later(kNoise.size() * kCharTimeNs, [this] { SendNoise(); });
}

}  // namespace scanner
