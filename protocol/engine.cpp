#include "protocol/engine.h"

#include <memory>

#include "platform/clock.h"
#include "protocol/control_bytes.h"
#include "protocol/frame.h"

namespace {

constexpr uint32_t kOpeningPauseMs = 200;
constexpr int kMaxChunk = 100;
constexpr uint32_t kWriteLimitMs = 5000;
constexpr uint32_t kEchoLimitMs = 1000;
constexpr uint32_t kSlowAnswerLimitMs = 10000;
constexpr uint32_t kAnswerLimitMs = 1000;
constexpr uint32_t kReplyLimitMs = 1000;
constexpr uint32_t kReadLimitMs = 100;
constexpr uint32_t kPollPauseMs = 4;
// A port that keeps taking nothing (cable pulled, adapter gone) ends the run.
constexpr uint32_t kStalledWriteLimitMs = 5000;

enum class State {
  Start,
  NextCommand,
  SendFrame,
  AwaitAnswer,
  PrepareReply,
  ReceiveReply,
  AcceptReply,
  RejectReply,
  Fail,
};

bool AwaitsAnswer(CommandType kind) {
  switch (kind) {
    case Enquiry:
    case Version:
    case ReadFolder:
    case WriteFolder:
    case Data:
    case FolderE:
      return true;
    default:
      return false;
  }
}

bool HasReplyFrame(CommandType kind) { return kind == Version || kind == ReadFolder; }

uint32_t AnswerLimit(CommandType kind) {
  return kind == WriteFolder || kind == FolderE ? kSlowAnswerLimitMs : kAnswerLimitMs;
}

uint32_t ReplyLimit(const ScannerCommand& c) {
  if (c.kind != ReadFolder) return kReplyLimitMs;
  return static_cast<uint32_t>(2000 * c.length / 1920 + 1000);
}

bool ReplyValid(const uint8_t* reply, int32_t size) {
  return size >= 3 && reply[0] == ctl::STX && reply[size - 2] == ctl::ETX &&
         reply[size - 1] == FrameChecksum(reply + 1, static_cast<size_t>(size - 2));
}

class Run {
 public:
  Run(CSerial& port, CommandQueue& queue, VersionFields window)
      : port(port), queue(queue), window(window) {}

  EngineResult Go() {
    while (!done) Step();
    return result;
  }

 private:
  void Step() {
    switch (state) {
      case State::Start: OnStart(); break;
      case State::NextCommand: OnNextCommand(); break;
      case State::SendFrame: OnSendFrame(); break;
      case State::AwaitAnswer: OnAwaitAnswer(); break;
      case State::PrepareReply: OnPrepareReply(); break;
      case State::ReceiveReply: OnReceiveReply(); break;
      case State::AcceptReply: OnAcceptReply(); break;
      case State::RejectReply: OnRejectReply(); break;
      case State::Fail: OnFail(); break;
    }
  }

  bool TimedOut(uint32_t limit) const { return platform::GetTickCount() - timerStart > limit; }

  void FailWith(EngineError code) {
    result.code = code;
    state = State::Fail;
  }

  void OnStart() {
    try {
      platform::Sleep(kOpeningPauseMs);
      port.Purge();
    } catch (...) {
      finished = true;
    }
    state = State::NextCommand;
  }

  void OnNextCommand() {
    current.reset();
    if (finished || queue.GetCount() == 0) {
      finished = true;
      done = true;
      return;
    }
    current = queue.RemoveHead();
    frame = Encode(*current);
    frameSize = FrameSize(*current);
    bytesSent = 0;
    stallStart = platform::GetTickCount();
    // A record without a frame puts nothing on the line and awaits nothing.
    state = frame ? State::SendFrame : State::NextCommand;
  }

  void OnSendFrame() {
    const int chunk = frameSize - bytesSent < kMaxChunk ? frameSize - bytesSent : kMaxChunk;
    const uint8_t* bytes = frame.get() + bytesSent;
    const int n = port.Write(bytes, chunk, kWriteLimitMs);
    if (n > 0) {
      if (!port.VerifyEcho(bytes, n, 1, kEchoLimitMs)) return FailWith(EngineError::EchoFailed);
      bytesSent += n;
      stallStart = platform::GetTickCount();
    } else {
      if (platform::GetTickCount() - stallStart >= kStalledWriteLimitMs)
        return FailWith(EngineError::NoResponse);
      platform::Sleep(kPollPauseMs);
    }
    if (bytesSent < frameSize) return;
    if (AwaitsAnswer(current->kind)) {
      timerStart = platform::GetTickCount();
      state = State::AwaitAnswer;
    } else {
      state = State::NextCommand;
    }
  }

  void Retry(EngineError code) {
    current->retryCount += 1;
    if (current->retryCount >= current->retryLimit) return FailWith(code);
    bytesSent = 0;
    stallStart = platform::GetTickCount();
    state = State::SendFrame;
  }

  void OnAwaitAnswer() {
    if (TimedOut(AnswerLimit(current->kind))) return Retry(EngineError::NoResponse);
    if (port.BytesAvailable() == 0) {
      platform::Sleep(kPollPauseMs);
      return;
    }
    uint8_t answer = 0;
    if (port.Read(&answer, 1, kReadLimitMs) != 1) return FailWith(EngineError::NoResponse);
    switch (answer) {
      case ctl::ACK:
        state = HasReplyFrame(current->kind) ? State::PrepareReply : State::NextCommand;
        break;
      case ctl::BEL: FailWith(EngineError::FlashWriteError); break;
      case ctl::NAK: Retry(EngineError::ErrorReply); break;
      default: FailWith(EngineError::ErrorReply); break;
    }
  }

  void OnPrepareReply() {
    replySize = ReplySize(*current);
    reply = std::make_unique<uint8_t[]>(static_cast<size_t>(replySize));
    bytesReceived = 0;
    timerStart = platform::GetTickCount();
    state = State::ReceiveReply;
  }

  void OnReceiveReply() {
    if (TimedOut(ReplyLimit(*current))) return FailWith(EngineError::NoResponse);
    const int waiting = port.BytesAvailable();
    if (waiting == 0) {
      platform::Sleep(kPollPauseMs);
      return;
    }
    const int missing = replySize - bytesReceived;
    const int n = waiting < missing ? waiting : missing;
    if (port.Read(reply.get() + bytesReceived, n, kReadLimitMs) != n)
      return FailWith(EngineError::NoResponse);
    if (waiting == 1 && bytesReceived == 0 && reply[0] == ctl::NAK)
      return FailWith(EngineError::ErrorReply);
    bytesReceived += n;
    if (bytesReceived < replySize) return;

    if (!ReplyValid(reply.get(), replySize)) {
      state = State::RejectReply;
      return;
    }
    ScannerCommand received(*current);
    received.reply.assign(reply.get(), reply.get() + replySize);
    received.replyLength = replySize;
    HandleReply(received, window);
    state = State::AcceptReply;
  }

  bool SendControl(uint8_t byte) {
    port.Write(&byte, 1, kWriteLimitMs);
    return port.VerifyEcho(&byte, 1, 1, kEchoLimitMs);
  }

  void OnAcceptReply() {
    if (!SendControl(ctl::ACK)) return FailWith(EngineError::EchoFailed);
    state = State::NextCommand;
  }

  void OnRejectReply() {
    current->retryCount += 1;
    if (current->retryCount >= current->retryLimit) {
      // Acknowledge the last bad reply before giving up.
      SendControl(ctl::ACK);
      return FailWith(EngineError::NoResponse);
    }
    if (!SendControl(ctl::NAK)) return FailWith(EngineError::EchoFailed);
    state = State::PrepareReply;
  }

  void OnFail() {
    result.message = EngineMessage(result.code);
    done = true;
  }

  CSerial& port;
  CommandQueue& queue;
  VersionFields window;

  State state = State::Start;
  std::unique_ptr<ScannerCommand> current;
  std::unique_ptr<uint8_t[]> frame;
  int32_t frameSize = 0;
  int32_t bytesSent = 0;
  std::unique_ptr<uint8_t[]> reply;
  int32_t replySize = 0;
  int32_t bytesReceived = 0;
  uint32_t timerStart = 0;
  uint32_t stallStart = 0;
  bool finished = false;
  bool done = false;
  EngineResult result;
};

}  // namespace

const char* EngineMessage(EngineError code) {
  switch (code) {
    case EngineError::EchoFailed:
      return "Failed to read back the sent data (as expected with a functional\ncable!).\n"
             "Ensure that the selected COM port is correct, a supported cable\nis connected "
             "between the port and the scanner, and the scanner\nis turned ON.";
    case EngineError::NoResponse:
      return "No response (or incomplete response) from the scanner.\nEnsure that the selected "
             "COM port is correct, a supported cable\nis connected between the port and the "
             "scanner, and the scanner\nis turned ON.";
    case EngineError::ErrorReply:
      return "Received an error message from the scanner. Retrying the\noperation may be "
             "successful.";
    case EngineError::FlashWriteError:
      return "The scanner reports an error while attempting to write a\nfolder's flash memory "
             "space. Retrying the operation may\nbe successful.";
    case EngineError::None:
      break;
  }
  return "";
}

void HandleReply(const ScannerCommand& reply, VersionFields window) {
  if (reply.kind != Version || reply.replyLength < 5) return;
  window.status = reply.reply[1];
  window.version = reply.reply[2] & 0x7F;
  window.factory = static_cast<uint8_t>(reply.reply[2] >> 7);
}

EngineResult RunCommandQueue(CSerial& port, CommandQueue& queue, VersionFields window) {
  return Run(port, queue, window).Go();
}
