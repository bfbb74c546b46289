// Numbers of the program's resources, controls and commands.
#pragma once

// Dialogs
constexpr int kAboutDialog = 100;
constexpr int kMainDialog = 102;
constexpr int kProgressDialog = 6000;

// Controls of the main window
constexpr int kExitButton = 1;  // the OK command
constexpr int kPortList = 1000;
constexpr int kTestButton = 1002;
constexpr int kUpdateButton = 1003;
constexpr int kCompletionNote = 1004;
constexpr int kVersionBanner = 1005;
constexpr int kStep7Text = 1006;

// Control of the About box
constexpr int kAboutTitle = 1007;

// Control of the progress window
constexpr int kProgressBar = 6000;

// Other resources
constexpr int kAboutItemString = 101;
constexpr int kMainIcon = 128;
constexpr int kMainAccelerators = 130;

// Commands
constexpr int kInfoCommand = 32771;  // from the accelerator table
constexpr int kAboutSysCommand = 0x0010;  // the system-menu item
