#include <gtest/gtest.h>

#include <cstring>

#include "platform/backends/win32/line_settings.h"

namespace {

struct SettingsCase {
  const char* name;
  comm::LineSettings settings;
  DWORD baudRate;
  BYTE byteSize;
  BYTE parity;
  DWORD parityCheck;
  BYTE stopBits;
  DWORD dtrControl;
  DWORD rtsControl;
};

const SettingsCase kCases[] = {
    {"scanner line", {19200, 'N', 8, 1, true, false}, 19200, 8, NOPARITY, 0, ONESTOPBIT,
     DTR_CONTROL_ENABLE, RTS_CONTROL_DISABLE},
    {"even parity", {9600, 'E', 7, 1, false, true}, 9600, 7, EVENPARITY, 1, ONESTOPBIT,
     DTR_CONTROL_DISABLE, RTS_CONTROL_ENABLE},
    {"odd parity", {115200, 'O', 8, 1, true, true}, 115200, 8, ODDPARITY, 1, ONESTOPBIT,
     DTR_CONTROL_ENABLE, RTS_CONTROL_ENABLE},
    {"two stop bits", {19200, 'N', 8, 2, false, false}, 19200, 8, NOPARITY, 0, TWOSTOPBITS,
     DTR_CONTROL_DISABLE, RTS_CONTROL_DISABLE},
    {"any count but one is two stop bits", {19200, 'N', 8, 3, true, false}, 19200, 8, NOPARITY, 0,
     TWOSTOPBITS, DTR_CONTROL_ENABLE, RTS_CONTROL_DISABLE},
    // An unknown letter sends no parity bit but still asks for checking.
    {"unknown parity letter", {19200, 'X', 8, 1, true, false}, 19200, 8, NOPARITY, 1, ONESTOPBIT,
     DTR_CONTROL_ENABLE, RTS_CONTROL_DISABLE},
    {"data bits keep their low byte", {19200, 'N', 0x108, 1, true, false}, 19200, 8, NOPARITY, 0,
     ONESTOPBIT, DTR_CONTROL_ENABLE, RTS_CONTROL_DISABLE},
};

// What a device may report before the settings are written: every bit clear,
// or every bit set.
const unsigned char kFills[] = {0x00, 0xFF};

TEST(LineSettings, WritesEveryGovernedFieldAndKeepsTheRest) {
  for (const unsigned char fill : kFills) {
    for (const auto& c : kCases) {
      SCOPED_TRACE(testing::Message() << c.name << ", fill 0x" << std::hex << int{fill});
      DCB dcb;
      std::memset(&dcb, fill, sizeof dcb);
      const DWORD length = dcb.DCBlength;
      const DWORD reservedBits = dcb.fDummy2;
      const WORD reservedWord = dcb.wReserved1;

      comm::WriteLineSettings(c.settings, &dcb);

      EXPECT_EQ(dcb.BaudRate, c.baudRate);
      EXPECT_EQ(dcb.ByteSize, c.byteSize);
      EXPECT_EQ(dcb.Parity, c.parity);
      EXPECT_EQ(dcb.fParity, c.parityCheck);
      EXPECT_EQ(dcb.StopBits, c.stopBits);
      EXPECT_EQ(dcb.fDtrControl, c.dtrControl);
      EXPECT_EQ(dcb.fRtsControl, c.rtsControl);

      // Raw transfers without flow control of any kind.
      EXPECT_EQ(dcb.fBinary, 1u);
      EXPECT_EQ(dcb.fOutxCtsFlow, 0u);
      EXPECT_EQ(dcb.fOutxDsrFlow, 0u);
      EXPECT_EQ(dcb.fDsrSensitivity, 0u);
      EXPECT_EQ(dcb.fTXContinueOnXoff, 1u);
      EXPECT_EQ(dcb.fOutX, 0u);
      EXPECT_EQ(dcb.fInX, 0u);
      EXPECT_EQ(dcb.fErrorChar, 0u);
      EXPECT_EQ(dcb.fNull, 0u);
      EXPECT_EQ(dcb.fAbortOnError, 0u);
      EXPECT_EQ(dcb.wReserved, 0);
      EXPECT_EQ(dcb.XonLim, 0);
      EXPECT_EQ(dcb.XoffLim, 0);
      EXPECT_EQ(dcb.XonChar, 0);
      EXPECT_EQ(dcb.XoffChar, 1);
      EXPECT_EQ(dcb.ErrorChar, 0);
      EXPECT_EQ(dcb.EofChar, 0);
      EXPECT_EQ(dcb.EvtChar, 0);

      EXPECT_EQ(dcb.DCBlength, length);
      EXPECT_EQ(dcb.fDummy2, reservedBits);
      EXPECT_EQ(dcb.wReserved1, reservedWord);
    }
  }
}

}  // namespace
