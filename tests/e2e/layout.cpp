#include "tests/e2e/layout.h"

#include <cmath>
#include <cstdio>
#include <cstring>
#include <vector>

#include <commctrl.h>

#include "tools/ui_driver/windows.h"

namespace e2e {

namespace {

// Dialog units become pixels through the font's average character size,
// which the window's client area reveals; each conversion rounds once.
constexpr double kPixelsOff = 2.0;

// The style bits that say what kind of control it is; any other template
// bit must simply be present.
DWORD KindBits(const char* windowClass) {
  if (_stricmp(windowClass, "Static") == 0) return SS_TYPEMASK;
  if (_stricmp(windowClass, "Button") == 0) return BS_TYPEMASK;
  if (_stricmp(windowClass, "ComboBox") == 0) return 0x3;
  return 0;
}

// The frame bits: the template says whether there is a system menu, a
// minimise or maximise box, a sizing border.
constexpr DWORD kFrameBits = WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_THICKFRAME;
constexpr DWORD kStateBits = WS_VISIBLE | WS_DISABLED;

std::string Mismatches(HWND control, const ControlTemplate& c, double xScale, double yScale,
                       HWND dialog, const ChangedTexts& changed) {
  std::string wrong;
  const std::string windowClass = driver::ClassOf(control);
  if (_stricmp(windowClass.c_str(), c.windowClass) != 0) wrong += " class " + windowClass;
  const int id = GetDlgCtrlID(control) & 0xFFFF;
  if (id != (c.id & 0xFFFF)) wrong += " number " + std::to_string(id);

  const DWORD style = static_cast<DWORD>(GetWindowLongA(control, GWL_STYLE));
  const DWORD kind = KindBits(c.windowClass);
  DWORD rest = c.style & ~kind & ~kStateBits;
  // A drop-down list hands its scroll bar on to the list that drops down; a
  // themed progress bar takes its border off and draws its own frame.
  if (_stricmp(c.windowClass, "ComboBox") == 0) rest &= ~WS_VSCROLL;
  if (_stricmp(c.windowClass, PROGRESS_CLASSA) == 0) rest &= ~WS_BORDER;
  if ((style & kind) != (c.style & kind) || (style & rest) != rest ||
      (style & kStateBits) != (c.style & kStateBits)) {
    char text[64];
    std::snprintf(text, sizeof text, " style %08lX (template %08X)", style, c.style);
    wrong += text;
  }

  const bool showsImage = c.imageId != 0;
  const bool isList = _stricmp(c.windowClass, "ComboBox") == 0;
  if (!showsImage && !isList) {
    const auto found = changed.find(c.id);
    const std::string expected = found != changed.end() ? found->second : c.text;
    const std::string text = driver::TextOf(control);
    if (text != expected) wrong += " text \"" + Visible(text) + "\"";
  }

  RECT r{};
  GetWindowRect(control, &r);
  MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&r), 2);
  const auto off = [](LONG actual, double expected) {
    return std::fabs(actual - expected) > kPixelsOff;
  };
  bool misplaced = off(r.left, c.x * xScale) || off(r.top, c.y * yScale);
  // An icon control takes the icon's size; a drop-down list's height is
  // that of its opened list.
  if (!showsImage) misplaced = misplaced || off(r.right - r.left, c.cx * xScale);
  if (!showsImage && !isList) misplaced = misplaced || off(r.bottom - r.top, c.cy * yScale);
  if (misplaced) {
    wrong += " at " + std::to_string(r.left) + "," + std::to_string(r.top) + " size " +
             std::to_string(r.right - r.left) + "x" + std::to_string(r.bottom - r.top);
  }
  return wrong;
}

}  // namespace

const char* TemplateText(const DialogTemplate& t, int id) {
  for (size_t i = 0; i < t.controlCount; ++i) {
    if (t.controls[i].id == id) return t.controls[i].text;
  }
  return "";
}

void CheckLayout(Tally& tally, const std::string& name, HWND dialog, const DialogTemplate& t,
                 const std::string& caption, const ChangedTexts& changed) {
  tally.CheckText(driver::TextOf(dialog), caption, name + ": caption");

  const DWORD style = static_cast<DWORD>(GetWindowLongA(dialog, GWL_STYLE));
  const DWORD exStyle = static_cast<DWORD>(GetWindowLongA(dialog, GWL_EXSTYLE));
  const DWORD wanted = t.style & ~(WS_VISIBLE | DS_SETFONT | DS_MODALFRAME);
  char detail[96];
  std::snprintf(detail, sizeof detail, "style %08lX, extended %08lX", style, exStyle);
  tally.Check((style & wanted) == wanted && (style & kFrameBits) == (t.style & kFrameBits) &&
                  (exStyle & t.exStyle) == t.exStyle,
              name + ": frame as in the template", detail);

  const std::vector<HWND> controls = driver::ChildrenOf(dialog);
  if (!tally.Check(controls.size() == t.controlCount,
                   name + ": " + std::to_string(t.controlCount) + " controls",
                   std::to_string(controls.size()) + " controls")) {
    return;
  }
  RECT client{};
  GetClientRect(dialog, &client);
  const double xScale = static_cast<double>(client.right) / t.cx;
  const double yScale = static_cast<double>(client.bottom) / t.cy;
  for (size_t i = 0; i < controls.size(); ++i) {
    const ControlTemplate& c = t.controls[i];
    const std::string wrong = Mismatches(controls[i], c, xScale, yScale, dialog, changed);
    tally.Check(wrong.empty(),
                name + ": control " + std::to_string(i + 1) + " (" + c.windowClass + " " +
                    std::to_string(c.id) + ") as in the template",
                wrong);
  }
}

}  // namespace e2e
