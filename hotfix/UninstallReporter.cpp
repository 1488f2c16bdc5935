#include "hotfix/UninstallReporter.h"

namespace WindowsHotfix {

void UninstallReporter::SetCallback(Callback callback) {
    std::lock_guard<std::mutex> lock(m_mutex);
    if (!m_closed) m_callback = std::move(callback);
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

void UninstallReporter::Deliver(UninstallStatus status) {
    std::lock_guard<std::mutex> lock(m_mutex);
    if (m_closed || !m_callback) return;
    m_callback(status);
}

void UninstallReporter::Close() {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_closed = true;
    m_callback = nullptr;
    m_progress = nullptr;
}

}  // namespace WindowsHotfix
