// Where uninstall statuses and progress go: the callbacks of the hotfix service, which
// WindowsHotfixHelper::SetUninstallStatus hands each mapped status to. Closing
// it drops every later status (see WindowsHotfixHelper::GetInstance).
#pragma once

#include <functional>
#include <mutex>

#include "hotfix/UninstallCodes.h"
#include "hotfix/UninstallStatus.h"

namespace WindowsHotfix {

class UninstallReporter {
public:
    using Callback = std::function<void(UninstallStatus)>;
    using ReasonCallback = std::function<void(const UninstallReason& reason)>;
    using ProgressCallback = std::function<void(int percent)>;

    void SetCallback(Callback callback);
    void SetReasonCallback(ReasonCallback callback);
    void SetProgressCallback(ProgressCallback callback);
    // Calls the reason callback, then the status callback, each if one is stored
    // and this is not closed: whoever takes both gets the reason first.
    void Deliver(UninstallStatus status, const UninstallReason& reason);
    void DeliverProgress(int percent);
    // After Close returns no callback is running or will run; later statuses
    // are dropped. The callback must not call back into this.
    void Close();

private:
    std::mutex m_mutex;  // held while the callback runs, so Close waits for it
    Callback m_callback;
    ReasonCallback m_reason;
    ProgressCallback m_progress;
    bool m_closed = false;
};

}  // namespace WindowsHotfix
