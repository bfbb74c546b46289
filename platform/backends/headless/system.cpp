// What the headless system reports about itself.
#include "platform/window/metrics.h"
#include "platform/window/win_app.h"

namespace platform {

int GetSystemMetrics(int index) {
  switch (index) {
    case SM_CXICON:
    case SM_CYICON:
      return 32;
  }
  return 0;
}

std::string ExecutableName() { return "Tarnwick"; }

}  // namespace platform
