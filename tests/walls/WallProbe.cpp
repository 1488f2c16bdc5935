// Compiled against one layer, it includes a header of a layer that one may
// not see (ORVELLE_WALL_HEADER); the build must fail for that reason alone.
#include ORVELLE_WALL_HEADER
