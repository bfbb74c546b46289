#include "platform/backends/win32/line_settings.h"

namespace comm {

void WriteLineSettings(const LineSettings& s, DCB* dcb) {
  dcb->BaudRate = s.baudRate;
  dcb->ByteSize = static_cast<BYTE>(s.dataBits & 0xFF);
  dcb->Parity = s.parity == 'E' ? EVENPARITY : s.parity == 'O' ? ODDPARITY : NOPARITY;
  dcb->fParity = s.parity != 'N' ? 1 : 0;
  dcb->StopBits = s.stopBits == 1 ? ONESTOPBIT : TWOSTOPBITS;
  dcb->fBinary = 1;
  dcb->fOutxCtsFlow = 0;
  dcb->fOutxDsrFlow = 0;
  dcb->fDtrControl = s.dtr ? DTR_CONTROL_ENABLE : DTR_CONTROL_DISABLE;
  dcb->fRtsControl = s.rts ? RTS_CONTROL_ENABLE : RTS_CONTROL_DISABLE;
  dcb->fDsrSensitivity = 0;
  dcb->fTXContinueOnXoff = 1;
  dcb->fOutX = 0;
  dcb->fInX = 0;
  dcb->fErrorChar = 0;
  dcb->fNull = 0;
  dcb->fAbortOnError = 0;
  dcb->wReserved = 0;
  dcb->XonLim = 0;
  dcb->XoffLim = 0;
  // Software flow control is off, so neither character is ever sent, but
  // the device refuses a DCB whose two characters are equal.
  dcb->XonChar = 0;
  dcb->XoffChar = 1;
  dcb->ErrorChar = 0;
  dcb->EofChar = 0;
  dcb->EvtChar = 0;
}

}  // namespace comm
