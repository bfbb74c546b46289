// Dialog templates in the layout that the system's dialog manager reads: a
// DLGTEMPLATE header with its caption and font, then one DLGITEMTEMPLATE per
// control, each starting on a 4-byte boundary. Texts are UTF-16.
#include <string>

#include "platform/backends/win32/window_internal.h"
#include "platform/window/styles.h"

namespace win32 {
namespace {

// Marks an ordinal where a text could stand (a control's image).
constexpr WORD kOrdinal = 0xFFFF;

void PutWord(std::vector<WORD>& out, WORD value) { out.push_back(value); }

void PutDword(std::vector<WORD>& out, DWORD value) {
  out.push_back(LOWORD(value));
  out.push_back(HIWORD(value));
}

void PutText(std::vector<WORD>& out, const char* text) {
  const int length = MultiByteToWideChar(CP_ACP, 0, text, -1, nullptr, 0);
  std::wstring wide(static_cast<size_t>(length > 0 ? length : 1), L'\0');
  if (length > 0) MultiByteToWideChar(CP_ACP, 0, text, -1, &wide[0], length);
  out.insert(out.end(), wide.begin(), wide.end());  // with its terminating zero
}

void AlignToDword(std::vector<WORD>& out) {
  if (out.size() % 2 != 0) out.push_back(0);
}

void PutControl(std::vector<WORD>& out, const ControlTemplate& control) {
  AlignToDword(out);
  PutDword(out, control.style);
  PutDword(out, 0);  // extended style
  PutWord(out, static_cast<WORD>(control.x));
  PutWord(out, static_cast<WORD>(control.y));
  PutWord(out, static_cast<WORD>(control.cx));
  PutWord(out, static_cast<WORD>(control.cy));
  PutWord(out, static_cast<WORD>(control.id));  // -1 becomes 0xFFFF
  PutText(out, control.windowClass);
  if (control.imageId != 0) {
    PutWord(out, kOrdinal);
    PutWord(out, control.imageId);
  } else {
    PutText(out, control.text);
  }
  PutWord(out, 0);  // no creation data
}

}  // namespace

std::vector<WORD> BuildDialogTemplate(const DialogTemplate& dialog) {
  std::vector<WORD> out;
  PutDword(out, dialog.style);
  PutDword(out, dialog.exStyle);
  PutWord(out, static_cast<WORD>(dialog.controlCount));
  PutWord(out, static_cast<WORD>(dialog.x));
  PutWord(out, static_cast<WORD>(dialog.y));
  PutWord(out, static_cast<WORD>(dialog.cx));
  PutWord(out, static_cast<WORD>(dialog.cy));
  PutWord(out, 0);  // no menu
  PutWord(out, 0);  // the standard dialog class
  PutText(out, dialog.caption);
  if ((dialog.style & DS_SETFONT) != 0) {
    PutWord(out, dialog.pointSize);
    PutText(out, dialog.font);
  }
  for (size_t i = 0; i < dialog.controlCount; ++i) PutControl(out, dialog.controls[i]);
  return out;
}

}  // namespace win32
