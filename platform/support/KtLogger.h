// The process logger: one line per record (local time, level, thread id, text)
// in a folder only administrators can change, with a size cap and rotation.
// Thread-safe.
#pragma once

#include <cstdint>
#include <functional>
#include <sstream>
#include <string>

enum LOG_MESSAGE_LEVEL {
    LOG_TRACE = 1,
    LOG_DEBUG = 2,
    LOG_INFO = 3,
    LOG_ERROR = 4,
};

class KtLogger {
public:
    static KtLogger* GetInstance();

    // Names this process's log folder: %ProgramData%\<folder>\Logs on Windows,
    // $XDG_STATE_HOME/<folder>/Logs (or ~/.local/state/<folder>/Logs) elsewhere.
    void SetProcessLoggerDir(std::string folderName);
    // Opens the log file, creating its folders for the administrators only. A
    // folder that someone else owns or may write, or that is a link, and a log
    // file that is a link, are refused (see LogPlatform.h): the logger then
    // writes no file, and the program runs on.
    void InitProcessLogger();
    void Log(LOG_MESSAGE_LEVEL level, std::wostringstream& stream);

    // The file records go to (empty before InitProcessLogger or when it failed).
    std::wstring GetLogFilePath() const;

    // Tests: every record also reaches the sink (any thread) until it is cleared.
    using Sink = std::function<void(LOG_MESSAGE_LEVEL, const std::wstring&)>;
    void SetCaptureSink(Sink sink);

    // The size cap: when a record would grow the file past maxFileBytes, the
    // file is renamed to "<name>.1.log" (older ones shift up, at most
    // keptFiles are kept) and a fresh file is started. Defaults: 2 MiB, 3.
    void SetRotation(std::uintmax_t maxFileBytes, int keptFiles);

private:
    // The logger is never destroyed: detached threads may still log while the
    // process exits, and every line is flushed as it is written.
    KtLogger();
    ~KtLogger();
    struct State;
    State* m_state;
};

// Writes one record: the message, any value streamed after it, then
// "(" function ")", in a fresh stream. `function` is the qualified name.
#define KT_LOG(level, message, function)                  \
    do {                                                  \
        std::wostringstream ktLogStream;                  \
        ktLogStream << message << "(" << function << ")"; \
        KtLogger::GetInstance()->Log(level, ktLogStream); \
    } while (0)
