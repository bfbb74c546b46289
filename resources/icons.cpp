// The program's icons. Their images live with the Windows resources; here
// only their numbers are known.
#include "platform/window/templates.h"
#include "resources/resource_ids.h"

bool HasIconResource(UINT id) { return id == kMainIcon; }
