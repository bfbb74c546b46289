// Sizes that the system reports.
#pragma once

#ifndef SM_CXICON
#define SM_CXICON 11
#endif
#ifndef SM_CYICON
#define SM_CYICON 12
#endif

namespace platform {

int GetSystemMetrics(int index);

}  // namespace platform
