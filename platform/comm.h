// The serial-device calls that CSerial is built on. Each backend provides all
// of them in one file: win32 (the Windows communications API), posix
// (termios) and sim (a simulated line on the virtual clock).
#pragma once
#include <cstdint>

namespace comm {

struct Port;      // one open serial device
struct Transfer;  // the single asynchronous transfer record and its completion signal

// Opens an existing device for exclusive reading and writing. Returns null on
// failure, with the reason in LastError().
Port* Open(const char* name);
void Close(Port* port);

// The line settings CSerial asks for. Parity is the letter 'N', 'E' or 'O';
// any letter but 'E' and 'O' means none.
struct LineSettings {
  uint32_t baudRate;
  int parity;
  int dataBits;
  int stopBits;
  bool dtr;
  bool rts;
};

enum class SettingsResult {
  Applied,   // the device took the settings
  NotRead,   // the current settings could not be read
  Refused,   // the device refused the new settings
};

// Reads the device's current settings, writes the fields that LineSettings
// governs (raw 8-bit transfers, no flow control of any kind, DTR and RTS held
// at the levels asked for) and applies them.
SettingsResult ApplySettings(Port* port, const LineSettings& settings);

// Switches the device's own read and write time-outs off, so that the only
// limits are the ones the caller waits with.
bool DisableTimeouts(Port* port);

struct Status {
  uint32_t errors;   // line errors pending since the last call (overrun, framing, parity, break)
  uint32_t inQueue;  // received bytes waiting
};

// Reports the waiting input and clears pending line errors.
bool ClearErrors(Port* port, Status* status);

// A zeroed transfer record whose manual-reset signal is not set.
Transfer* CreateTransfer();
void CloseTransfer(Transfer* transfer);

enum class Start {
  Done,     // completed at once; *count holds the bytes moved
  Pending,  // under way; wait for it with WaitForTransfer
  Failed,   // did not start; LastError() says why
};

Start StartRead(Port* port, Transfer* transfer, uint8_t* buffer, uint32_t count, uint32_t* done);
Start StartWrite(Port* port, Transfer* transfer, const uint8_t* buffer, uint32_t count,
                 uint32_t* done);

enum class Wait {
  Completed,  // the transfer has ended, or was stopped at the limit after moving
              // some bytes; fetch its count with TransferResult
  TimedOut,   // the limit ran out before the transfer moved any byte
  Failed,     // the wait itself failed (the device is gone)
};

Wait WaitForTransfer(Port* port, Transfer* transfer, uint32_t limitMs);

// The byte count of a completed transfer, without waiting. False when the
// transfer ended in an error (LastError() says which).
bool TransferResult(Port* port, Transfer* transfer, uint32_t* count);

// Clears the completion signal.
void ResetSignal(Transfer* transfer);

// Cancels a transfer that is still under way and waits until it has ended, so
// that it touches no buffer afterwards and the record can be used again.
void CancelTransfer(Port* port, Transfer* transfer);

// The error code of the last failed call on this thread.
uint32_t LastError();

}  // namespace comm
