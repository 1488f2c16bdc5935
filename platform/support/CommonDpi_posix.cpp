// Without Windows there is no process DPI mode to declare: the headless
// toolkit scales by its own factor.
#include "support/Common.h"

void Common::DPIAware() {}
