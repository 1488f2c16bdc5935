#include "hotfix/UninstallReporter.h"

namespace WindowsHotfix {

void UninstallReporter::SetCallback(Callback callback) {
    std::lock_guard<std::mutex> lock(m_mutex);
    if (!m_closed) m_callback = std::move(callback);
}

void UninstallReporter::SetReasonCallback(ReasonCallback callback) {
    std::lock_guard<std::mutex> lock(m_mutex);
    if (!m_closed) m_reason = std::move(callback);
}

void UninstallReporter::SetProgressCallback(ProgressCallback callback) {
    std::lock_guard<std::mutex> lock(m_mutex);
    if (!m_closed) m_progress = std::move(callback);
}

void UninstallReporter::DeliverProgress(int percent) {
    std::lock_guard<std::mutex> lock(m_mutex);
    if (m_closed || !m_progress) return;
    m_progress(percent);
}

void UninstallReporter::Deliver(UninstallStatus status, const UninstallReason& reason) {
    std::lock_guard<std::mutex> lock(m_mutex);
    if (m_closed) return;
    if (m_reason) m_reason(reason);
    if (m_callback) m_callback(status);
}

void UninstallReporter::Close() {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_closed = true;
    m_callback = nullptr;
    m_reason = nullptr;
    m_progress = nullptr;
}

}  // namespace WindowsHotfix
