// Part of the suites that link the toolkit: no test may leave closures queued
// for the UI thread, where the next test's drain would run them.
#include "duilib/UIMainQueue.h"
#include "testkit/WorkInFlight.h"

namespace {

const bool kProbeAdded = [] {
    WorkInFlight::AddProbe("closure(s) queued for the UI thread",
                           [] { return DuiLib::UIMainQueue::getInstance()->pending(); });
    return true;
}();

}  // namespace
