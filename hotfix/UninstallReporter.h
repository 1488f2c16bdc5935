// Where uninstall outcomes go: logs the raw code, maps it to an
// UninstallStatus and hands it to the stored callback. Shared by the service
// and every worker (see UninstallWorker.cpp for the lifetime design).
#pragma once

#include <functional>
#include <mutex>

#include "hotfix/UninstallCodes.h"
#include "hotfix/UninstallStatus.h"

namespace WindowsHotfix {

class UninstallReporter {
public:
    using Callback = std::function<void(UninstallStatus)>;

    void SetCallback(Callback callback);
    // Logs "update uninstall status:" with the code (UninstallCodeText), then
    // reports its mapping.
    void Report(int code);
    // The same line, but the status is given (failures that no code maps).
    void Report(int code, UninstallStatus status);
    // After Close returns no callback is running or will run; later reports
    // are logged and dropped. The callback must not call back into this.
    void Close();

private:
    std::mutex m_mutex;  // held while the callback runs, so Close waits for it
    Callback m_callback;
    bool m_closed = false;
};

}  // namespace WindowsHotfix
