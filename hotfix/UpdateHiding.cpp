#include "hotfix/UpdateHiding.h"

#include <algorithm>
#include <iterator>

namespace WindowsHotfix {
namespace {

constexpr uint32_t kClassNotRegistered = 0x80040154;  // REGDB_E_CLASSNOTREG
constexpr uint32_t kNotImplemented = 0x80004001;      // E_NOTIMPL: Wine's wuapi
constexpr uint32_t kInvalidOperation = 0x80240036;    // WU_E_INVALID_OPERATION

// Windows Update's codes for a server it cannot reach (Windows Update error
// code reference: WinHTTP's errors as WU_E_PT_* and as HRESULTs of WinINet's).
constexpr uint32_t kNoConnectionCodes[] = {
    0x8024402C,  // WU_E_PT_WINHTTP_NAME_NOT_RESOLVED
    0x8024401B,  // WU_E_PT_HTTP_STATUS_PROXY_AUTH_REQ
    0x80244021,  // WU_E_PT_HTTP_STATUS_BAD_GATEWAY
    0x80244022,  // WU_E_PT_HTTP_STATUS_SERVICE_UNAVAIL
    0x8024401C,  // WU_E_PT_HTTP_STATUS_REQUEST_TIMEOUT
    0x80072EE2,  // ERROR_INTERNET_TIMEOUT
    0x80072EE7,  // ERROR_INTERNET_NAME_NOT_RESOLVED
    0x80072EFD,  // ERROR_INTERNET_CANNOT_CONNECT
    0x80072EFE,  // ERROR_INTERNET_CONNECTION_ABORTED
    0x80072F78,  // ERROR_HTTP_INVALID_SERVER_RESPONSE
};

bool IsNoConnection(uint32_t result) {
    return std::find(std::begin(kNoConnectionCodes), std::end(kNoConnectionCodes), result) !=
           std::end(kNoConnectionCodes);
}

HideOutcome OutcomeOfError(uint32_t result) {
    if (result == 0) return HideOutcome::kDone;
    if (result == WinApi::kWuSearchAborted) return HideOutcome::kAborted;
    if (result == WinApi::kWuServiceDisabled) return HideOutcome::kServiceOff;
    if (result == kClassNotRegistered || result == kNotImplemented) {
        return HideOutcome::kNotAvailable;
    }
    if (IsNoConnection(result)) return HideOutcome::kNoConnection;
    return HideOutcome::kFailed;
}

}  // namespace

int FindOfferedUpdate(const std::vector<WinApi::OfferedUpdate>& updates,
                      const std::wstring& kbDigits) {
    if (kbDigits.empty()) return -1;
    for (size_t i = 0; i < updates.size(); ++i) {
        const auto& ids = updates[i].kbArticleIds;
        if (std::find(ids.begin(), ids.end(), kbDigits) != ids.end()) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

HideOutcome OutcomeOfSearch(uint32_t result) {
    return OutcomeOfError(result);
}

HideOutcome OutcomeOfHide(uint32_t result, const WinApi::OfferedUpdate& update) {
    // The documentation names no code for a mandatory update, only that it fails.
    if (result != 0 && (update.mandatory || result == kInvalidOperation)) {
        return HideOutcome::kMandatory;
    }
    return OutcomeOfError(result);
}

const wchar_t* TextKeyOf(HideOutcome outcome, bool hiding) {
    switch (outcome) {
        case HideOutcome::kDone:
            return hiding ? L"IDS_WU_HIDDEN" : L"IDS_WU_SHOWN_AGAIN";
        case HideOutcome::kAborted:
            return nullptr;
        case HideOutcome::kNotOffered:
            return L"IDS_WU_NOT_OFFERED";
        case HideOutcome::kServiceOff:
            return L"IDS_WU_SERVICE_OFF";
        case HideOutcome::kNoConnection:
            return L"IDS_WU_NO_CONNECTION";
        case HideOutcome::kMandatory:
            return L"IDS_WU_MANDATORY";
        case HideOutcome::kNotAvailable:
            return L"IDS_WU_NOT_AVAILABLE";
        case HideOutcome::kFailed:
            break;
    }
    return hiding ? L"IDS_WU_HIDE_FAILED" : L"IDS_WU_SHOW_FAILED";
}

}  // namespace WindowsHotfix
