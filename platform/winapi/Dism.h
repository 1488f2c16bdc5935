// Removing one package from the running Windows through the servicing API:
// thin functions over dismapi.dll's DismInitialize, DismOpenSession,
// DismRemovePackage (by package name), DismCloseSession, DismShutdown and
// DismGetLastErrorMessage with DismDelete; nothing else of that API. Each
// returns the HRESULT Windows gives. Dism_win.cpp loads dismapi.dll from
// System32 on first use (a delay-loaded import); Dism_posix.cpp is a
// recording stand-in (DismTesting.h).
#pragma once

#include <cstdint>
#include <functional>
#include <string>

namespace WinApi {

using DismSessionId = uint32_t;  // DismSession
// Progress of the running call: `current` of `total`, on the calling thread.
using DismProgress = std::function<void(uint32_t current, uint32_t total)>;

// DismInitialize(DismLogErrors, NULL, scratch folder); an empty folder is
// passed as NULL, which leaves the choice to the servicing API.
uint32_t DismInitialize(const std::wstring& scratchFolder);
// DismOpenSession(DISM_ONLINE_IMAGE, NULL, NULL, session).
uint32_t DismOpenOnlineSession(DismSessionId* session);
// DismRemovePackage(session, name, DismPackageName, no cancel event, progress).
uint32_t DismRemovePackageByName(DismSessionId session, const std::wstring& name,
                                 const DismProgress& progress);
uint32_t DismCloseSession(DismSessionId session);
uint32_t DismShutdown();
// The servicing API's message for this thread's last failure; empty when none.
std::wstring DismLastErrorMessage();

}  // namespace WinApi
