// Captures the records written through KtLogger while it lives (RAII), from
// any thread, so tests can check which lines were logged and in what order.
// Only one capture may be alive at a time.
#pragma once

#include <mutex>
#include <string>
#include <vector>

#include "support/KtLogger.h"

struct LogRecord {
    LOG_MESSAGE_LEVEL level;
    std::wstring text;
};

class LogCapture {
public:
    LogCapture();
    ~LogCapture();
    LogCapture(const LogCapture&) = delete;
    LogCapture& operator=(const LogCapture&) = delete;

    std::vector<LogRecord> Records() const;
    // The texts alone, in order.
    std::vector<std::wstring> Texts() const;
    // Records whose text contains `part`.
    std::vector<LogRecord> Matching(const std::wstring& part) const;
    bool Contains(const std::wstring& part) const;
    // Index of the first record whose text equals `text` exactly, or -1.
    int IndexOf(const std::wstring& text) const;
    void Clear();

private:
    mutable std::mutex m_mutex;
    std::vector<LogRecord> m_records;
};
