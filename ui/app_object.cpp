// The program's one application object. It exists for the life of the
// process; the platform's start-up runs its InitInstance.
#include "ui/updater_app.h"

CUpdaterApp theApp;
