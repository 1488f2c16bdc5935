#include <windows.h>

#include "duilib/UIBackend.h"

namespace DuiLib {

// Wine loads its display driver on first use, holding its display lock while it
// takes the loader lock. A library starting on another thread at that moment
// (holding the loader lock, asking for a system metric) takes them the other way
// round and both threads wait for ever; so the first use happens here, alone.
void Backend::PrepareDisplay() {
    GetSystemMetrics(SM_CXSCREEN);
}

}  // namespace DuiLib
