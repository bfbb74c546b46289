// A window of the program against the template it was built from: caption,
// frame, and every control's class, number, text, style, state and place.
#pragma once
#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include <map>
#include <string>

#include "platform/window/templates.h"
#include "tests/e2e/tally.h"

namespace e2e {

// Texts that the program changed after creating the window, by control
// number; every other control must show its template text.
using ChangedTexts = std::map<int, std::string>;

// The template text of the control with this number; empty when none.
const char* TemplateText(const DialogTemplate& t, int id);

void CheckLayout(Tally& tally, const std::string& name, HWND dialog, const DialogTemplate& t,
                 const std::string& caption, const ChangedTexts& changed = {});

}  // namespace e2e
