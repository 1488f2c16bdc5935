// Test controls of the COM stand-in (non-Windows builds only).
#pragma once

namespace WinApi {
namespace Testing {

// True while a ComApartment lives on the calling thread.
bool ComReadyOnThisThread();

}  // namespace Testing
}  // namespace WinApi
