// The program's dialog templates.
#pragma once
#include "platform/window/templates.h"

extern const DialogTemplate kAboutDialogTemplate;
extern const DialogTemplate kMainDialogTemplate;
extern const DialogTemplate kProgressDialogTemplate;
