// Without Windows there is no COM: the stand-in only counts, per thread, the
// apartments that live, so tests can see where COM would be initialised.
#include "winapi/ComApartment.h"
#include "winapi/ComApartmentTesting.h"

namespace WinApi {

namespace {
thread_local int t_apartments = 0;
constexpr long kOk = 0;     // S_OK: the first initialisation on the thread
constexpr long kFalse = 1;  // S_FALSE: already initialised
}  // namespace

ComApartment::ComApartment(Threading) : m_result(t_apartments++ == 0 ? kOk : kFalse) {}

ComApartment::~ComApartment() {
    --t_apartments;
}

bool ComApartment::IsReady() const {
    return true;
}

namespace Testing {
bool ComReadyOnThisThread() {
    return t_apartments > 0;
}
}  // namespace Testing

}  // namespace WinApi
