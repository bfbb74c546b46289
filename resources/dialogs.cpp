// The dialog templates by number.
#include "resources/dialogs.h"

const DialogTemplate* FindDialogTemplate(UINT id) {
  static const DialogTemplate* const kAll[] = {&kAboutDialogTemplate, &kMainDialogTemplate,
                                               &kProgressDialogTemplate};
  for (const DialogTemplate* t : kAll) {
    if (t->id == id) return t;
  }
  return nullptr;
}
