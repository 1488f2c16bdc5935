// The servicing API through dismapi.dll. It is no KnownDLL, so it is a
// delay-loaded import (cmake/WindowsExecutable.cmake); it is loaded here from
// System32 first, so that a Windows without it fails the call with an error
// instead of the delay-load helper's exception.
#include <windows.h>
// (first: the other Windows headers build on it)
#include <dismapi.h>

#include "winapi/Dism.h"

namespace WinApi {
namespace {

// 0 once dismapi.dll is loaded (it stays loaded), else the HRESULT of the failure.
uint32_t LoadDismApi() {
    static const uint32_t loaded = [] {
        if (::LoadLibraryExW(L"dismapi.dll", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32) != nullptr)
            return 0u;
        return static_cast<uint32_t>(HRESULT_FROM_WIN32(::GetLastError()));
    }();
    return loaded;
}

void CALLBACK OnProgress(UINT current, UINT total, PVOID userData) {
    const auto* progress = static_cast<const DismProgress*>(userData);
    if (progress != nullptr && *progress) (*progress)(current, total);
}

}  // namespace

uint32_t DismInitialize(const std::wstring& scratchFolder) {
    if (const uint32_t failed = LoadDismApi()) return failed;
    return static_cast<uint32_t>(::DismInitialize(
        DismLogErrors, nullptr, scratchFolder.empty() ? nullptr : scratchFolder.c_str()));
}

uint32_t DismOpenOnlineSession(DismSessionId* session) {
    DismSession opened = DISM_SESSION_DEFAULT;
    const HRESULT result = ::DismOpenSession(DISM_ONLINE_IMAGE, nullptr, nullptr, &opened);
    *session = opened;
    return static_cast<uint32_t>(result);
}

uint32_t DismRemovePackageByName(DismSessionId session, const std::wstring& name,
                                 const DismProgress& progress) {
    // No cancel event: a removal under way is never cut off.
    return static_cast<uint32_t>(
        ::DismRemovePackage(session, name.c_str(), DismPackageName, nullptr, OnProgress,
                            const_cast<void*>(static_cast<const void*>(&progress))));
}

uint32_t DismCloseSession(DismSessionId session) {
    return static_cast<uint32_t>(::DismCloseSession(session));
}

uint32_t DismShutdown() {
    return static_cast<uint32_t>(::DismShutdown());
}

std::wstring DismLastErrorMessage() {
    DismString* message = nullptr;
    if (FAILED(::DismGetLastErrorMessage(&message)) || message == nullptr) return {};
    std::wstring text = message->Value != nullptr ? message->Value : L"";
    ::DismDelete(message);
    return text;
}

}  // namespace WinApi
