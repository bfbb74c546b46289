// CAboutBox: the About box, with the program's name and version.
#pragma once
#include "platform/window/dialog.h"

class CAboutBox : public CDialog {
 public:
  CAboutBox();

  BOOL OnInitDialog() override;
};
