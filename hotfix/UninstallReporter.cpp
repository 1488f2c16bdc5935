#include "hotfix/UninstallReporter.h"

#include "support/KtLogger.h"

namespace WindowsHotfix {

void UninstallReporter::SetCallback(Callback callback) {
    std::lock_guard<std::mutex> lock(m_mutex);
    if (!m_closed) m_callback = std::move(callback);
}

void UninstallReporter::Report(int code) {
    Report(code, MapUninstallCode(code));
}

void UninstallReporter::Report(int code, UninstallStatus status) {
    KT_LOG(LOG_ERROR, L"update uninstall status:" << UninstallCodeText(code),
           "WindowsHotfix::WindowsHotfixHelper::SetUninstallStatus");
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
