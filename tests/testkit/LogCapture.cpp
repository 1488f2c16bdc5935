#include "testkit/LogCapture.h"

#include <cassert>

namespace {
bool g_captureAlive = false;  // only touched on the test's own thread
}

LogCapture::LogCapture() {
    assert(!g_captureAlive && "LogCapture: only one capture may be alive at a time");
    g_captureAlive = true;
    KtLogger::GetInstance()->SetCaptureSink(
        [this](LOG_MESSAGE_LEVEL level, const std::wstring& text) {
            std::lock_guard<std::mutex> lock(m_mutex);
            m_records.push_back({level, text});
        });
}

LogCapture::~LogCapture() {
    // After this returns the logger no longer calls into this object.
    KtLogger::GetInstance()->SetCaptureSink(nullptr);
    g_captureAlive = false;
}

std::vector<LogRecord> LogCapture::Records() const {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_records;
}

std::vector<std::wstring> LogCapture::Texts() const {
    std::vector<std::wstring> texts;
    for (const LogRecord& record : Records()) texts.push_back(record.text);
    return texts;
}

std::vector<LogRecord> LogCapture::Matching(const std::wstring& part) const {
    std::vector<LogRecord> found;
    for (const LogRecord& record : Records())
        if (record.text.find(part) != std::wstring::npos) found.push_back(record);
    return found;
}

bool LogCapture::Contains(const std::wstring& part) const {
    return !Matching(part).empty();
}

int LogCapture::IndexOf(const std::wstring& text) const {
    const std::vector<LogRecord> records = Records();
    for (size_t i = 0; i < records.size(); ++i)
        if (records[i].text == text) return static_cast<int>(i);
    return -1;
}

void LogCapture::Clear() {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_records.clear();
}
