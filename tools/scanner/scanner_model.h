// A PRO-96 scanner and its echoing data cable, as the host sees them on the
// serial line. Pure logic: the model reaches the line only through a Wire,
// so the same model runs on the virtual clock in unit tests and in real time
// on a pseudo-terminal.
#pragma once
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

namespace scanner {

// Line time of one character at 19200 bits per second, 8N1.
constexpr uint64_t kCharTimeNs = 520833;
constexpr uint64_t kMsNs = 1000000;

// The scanner's end of the line.
class Wire {
 public:
  virtual ~Wire() = default;
  virtual uint64_t NowNs() = 0;                              // the line's clock
  virtual void Echo(uint8_t byte) = 0;                       // cable loopback: back to the host at once
  virtual void Send(const uint8_t* bytes, size_t count) = 0;  // scanner transmitter, paced at line rate
  virtual void After(uint64_t delayNs, std::function<void()> fn) = 0;  // timed action
  virtual void Vanish() = 0;                                 // cable pulled, adapter gone
};

enum class Mode {
  Normal,  // answers the version query
  Update,  // DSP update mode: ready byte, header, image
};

// Faults, each named after what the host sees on the line. Every field is
// plain data, so a test or a fuzzer can combine them freely.
struct Faults {
  bool silent = false;                     // commands get no answer at all
  int nakAnswers = 0;                      // the first n commands are answered NAK
  bool belAnswer = false;                  // every command is answered BEL
  std::optional<uint8_t> strayAnswer;      // every command is answered with this byte
  int badChecksumReplies = 0;              // the first n version replies carry a wrong checksum
  bool loneNakReply = false;               // a lone NAK comes where the version reply belongs
  size_t replyInPieces = 0;                // the reply's first n bytes, the rest after a pause
  std::vector<uint8_t> surplusAfterReply;  // sent right behind every version reply
  bool wrongEcho = false;                  // the cable returns every byte corrupted
  bool noEcho = false;                     // the cable has no loopback
  bool endlessNoise = false;               // the device never stops sending
  std::optional<size_t> vanishAfter;       // gone after this many host bytes (0: at open)
  uint32_t answerDelayMs = 0;              // every answer comes this late
  std::vector<uint8_t> noiseBeforeReady;   // update mode: sent before the ready byte
};

struct Options {
  Mode mode = Mode::Normal;
  // The next open after a completed version query finds the scanner in
  // update mode, as when a user follows the steps on the window.
  bool updateAfterTest = false;
  uint8_t status = 1;
  uint8_t version = 0x11;                     // raw reply byte: bit 7 marks the factory version
  uint8_t newVersion = 0x12;                  // version byte after a complete image
  std::optional<uint32_t> readyDelayMs = 0;   // none: the ready byte never comes
  Faults faults;
};

enum class Header {
  Awaited,  // not yet complete
  Good,
  Bad,      // the rest of the upload is ignored
};

// Image bytes that arrived without a pause between them.
struct Chunk {
  uint64_t atNs;  // arrival of the chunk's first byte
  size_t offset;  // of that byte in the image
  size_t size;
};

// What the model has seen, for tests and the simulator's outputs.
struct Record {
  size_t hostBytes = 0;   // every byte the host sent, in any mode
  int opens = 0;
  int closes = 0;
  int repliesSent = 0;    // version replies, resent ones included
  int versionsRead = 0;   // version replies the host accepted with ACK
  Header header = Header::Awaited;
  std::vector<uint8_t> headerBytes;
  std::vector<uint8_t> image;  // image bytes received since the header
  size_t imageSize = 0;        // announced by the header
  std::vector<Chunk> chunks;
  bool imageComplete = false;  // the scanner rebooted with the new version
  bool vanished = false;
};

// Handles one host byte in place of the model (echo included) and returns
// true, or returns false to leave the byte to the model.
using Script = std::function<bool(uint8_t byte, Wire& wire)>;

class Model {
 public:
  Model(Wire& wire, Options options);
  Model(const Model&) = delete;
  Model& operator=(const Model&) = delete;

  void OnHostOpen();
  void OnHostClose();
  void OnHostByte(uint8_t byte);  // a byte from the host has fully arrived

  void SetScript(Script script);

  Mode mode() const { return mode_; }
  uint8_t status() const { return status_; }
  uint8_t version() const { return version_; }
  const Record& record() const { return record_; }

 private:
  enum class Step {
    AwaitCommand,
    AwaitReplyAck,  // a version reply is out; the host answers ACK or NAK
  };

  void VanishNow();
  void EchoByte(uint8_t byte);
  void Later(uint64_t delayNs, std::function<void()> fn);
  void SendLater(uint64_t delayNs, std::vector<uint8_t> bytes);
  uint64_t AnswerDelayNs() const;
  void OnCommandByte(uint8_t byte);
  void AnswerCommand(bool owesReply);
  void SendReply(std::vector<uint8_t> lead);
  void StartUpdateSession();
  void OnUpdateByte(uint8_t byte);
  void CheckHeader();
  void TakeImageByte(uint8_t byte);
  void Reboot();
  void SendNoise();

  Wire& wire_;
  const Options options_;
  Script script_;
  // Timed actions that outlive the model, or belong to an earlier open of
  // the port, do nothing.
  std::shared_ptr<int> alive_;
  uint64_t session_ = 0;
  Mode mode_;
  uint8_t status_;
  uint8_t version_;
  Step step_ = Step::AwaitCommand;
  bool updateArmed_ = false;
  bool readySent_ = false;
  bool lastReplyGood_ = true;
  int nakAnswersLeft_;
  int badRepliesLeft_;
  uint64_t lastImageByteNs_ = 0;
  Record record_;
};

}  // namespace scanner
