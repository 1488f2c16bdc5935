#include "duilib/UIBackend.h"

namespace DuiLib {

// No display to connect to.
void Backend::PrepareDisplay() {}

}  // namespace DuiLib
