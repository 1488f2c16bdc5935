// Without Windows there is no process DPI mode to declare: the headless
// toolkit scales by its own factor.
#include "Common.h"

void Common::DPIAware() {}
