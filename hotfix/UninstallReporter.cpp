#include "hotfix/UninstallReporter.h"

namespace WindowsHotfix {

UninstallStatus MapUninstallCode(int code) {
    if (code == static_cast<int>(0x80242004u))
        return UNINSTALL_CANNOT;  // Windows Update: cannot be removed
    if (code == 0) return UNINSTALL_SUCCESS;
    if (code == 1223) return UNINSTALL_CANCEL;  // ERROR_CANCELLED: elevation declined
    if (code == 1641 || code == 3010)
        return UNINSTALL_NEED_RESTART;  // restart initiated / required
    return UNINSTALL_FAIL;
}

void UninstallReporter::SetCallback(Callback callback) {
    std::lock_guard<std::mutex> lock(m_mutex);
    if (!m_closed) m_callback = std::move(callback);
}

void UninstallReporter::Deliver(UninstallStatus status) {
    std::lock_guard<std::mutex> lock(m_mutex);
    if (m_closed || !m_callback) return;
    m_callback(status);
}

void UninstallReporter::Close() {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_closed = true;
    m_callback = nullptr;
}

}  // namespace WindowsHotfix
