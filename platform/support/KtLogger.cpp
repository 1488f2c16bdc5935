#include "support/KtLogger.h"

#include <cassert>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <mutex>
#include <system_error>

#include "support/LogPlatform.h"
#include "winapi/TextConversion.h"

namespace fs = std::filesystem;

struct KtLogger::State {
    mutable std::mutex mutex;  // guards every member below
    std::string folderName;
    // The program's folder and its "Logs" folder beneath it, held open while
    // the log is written there.
    std::unique_ptr<LogPlatform::LogFolder> programFolder;
    std::unique_ptr<LogPlatform::LogFolder> logFolder;
    std::wstring fileName;
    fs::path filePath;
    std::FILE* file = nullptr;
    std::uintmax_t fileSize = 0;
    std::uintmax_t maxFileBytes = 2 * 1024 * 1024;
    int keptFiles = 3;
    Sink sink;
};

namespace {

const char* LevelName(LOG_MESSAGE_LEVEL level) {
    switch (level) {
        case LOG_TRACE:
            return "TRACE";
        case LOG_DEBUG:
            return "DEBUG";
        case LOG_INFO:
            return "INFO ";
        case LOG_ERROR:
            return "ERROR";
    }
    return "LEVEL";
}

// "2024-05-01 13:45:12.345 INFO  [4242] text\n"; line breaks inside the text
// are escaped so that one record stays one line.
std::string FormatLine(LOG_MESSAGE_LEVEL level, const std::wstring& text) {
    const auto now = std::chrono::system_clock::now();
    const std::time_t seconds = std::chrono::system_clock::to_time_t(now);
    const auto millis =
        std::chrono::duration_cast<std::chrono::milliseconds>(now.time_since_epoch()).count() %
        1000;
    const std::tm parts = LogPlatform::LocalTime(seconds);
    char head[96];
    std::snprintf(head, sizeof(head), "%04d-%02d-%02d %02d:%02d:%02d.%03d %s [%llu] ",
                  parts.tm_year + 1900, parts.tm_mon + 1, parts.tm_mday, parts.tm_hour,
                  parts.tm_min, parts.tm_sec, static_cast<int>(millis), LevelName(level),
                  static_cast<unsigned long long>(LogPlatform::CurrentThreadNumber()));
    std::string line = head;
    for (char c : Strconv::WideToUtf8(text)) {
        if (c == '\n')
            line += "\\n";
        else if (c == '\r')
            line += "\\r";
        else
            line += c;
    }
    line += '\n';
    return line;
}

// "<name>.log" is kept as "<name>.<index>.log".
std::wstring RotatedName(const std::wstring& name, int index) {
    const fs::path path(name);
    return path.stem().wstring() + L"." + std::to_wstring(index) + path.extension().wstring();
}

void LoggingOff(const fs::path& where, const std::wstring& cause) {
    std::fprintf(stderr, "KtLogger: %s: %s; logging to file is off\n", where.u8string().c_str(),
                 Strconv::WideToUtf8(cause).c_str());
}

}  // namespace

KtLogger::KtLogger() : m_state(new State) {}

KtLogger::~KtLogger() {
    if (m_state->file != nullptr) std::fclose(m_state->file);
    delete m_state;
}

KtLogger* KtLogger::GetInstance() {
    static KtLogger* const instance = new KtLogger();
    return instance;
}

void KtLogger::SetProcessLoggerDir(std::string folderName) {
    std::lock_guard<std::mutex> lock(m_state->mutex);
    m_state->folderName = std::move(folderName);
}

void KtLogger::InitProcessLogger() {
    std::lock_guard<std::mutex> lock(m_state->mutex);
    State& s = *m_state;
    if (s.file != nullptr) std::fclose(s.file);
    s.file = nullptr;
    s.filePath.clear();
    s.fileSize = 0;
    s.logFolder.reset();
    s.programFolder.reset();

    const fs::path base = LogPlatform::StateBaseFolder();
    if (base.empty()) {
        LoggingOff("KtLogger::InitProcessLogger", L"no folder for the program's state");
        return;
    }
    const std::string name = s.folderName.empty() ? std::string("KtLogger") : s.folderName;
    const fs::path program = base / fs::u8path(name).filename();
    std::error_code ec;
    fs::create_directories(base, ec);  // on Windows %ProgramData% is always there
    // A folder someone else made or links elsewhere is not the log's: log nowhere.
    std::wstring cause;
    s.programFolder = LogPlatform::LogFolder::Open(program, cause);
    if (!s.programFolder) {
        LoggingOff(program, cause);
        return;
    }
    s.logFolder = LogPlatform::LogFolder::Open(program / "Logs", cause);
    if (!s.logFolder) {
        s.programFolder.reset();
        LoggingOff(program / "Logs", cause);
        return;
    }
    s.fileName = fs::u8path(name).filename().wstring() + L".log";
    s.file = s.logFolder->OpenForAppend(s.fileName, s.fileSize, cause);
    if (s.file == nullptr) {
        LoggingOff(s.logFolder->Path() / s.fileName, cause);
        s.logFolder.reset();
        s.programFolder.reset();
        return;
    }
    s.filePath = s.logFolder->Path() / s.fileName;
}

// Caller holds the mutex. Shifts "<name>.log" to "<name>.1.log" and so on,
// inside the log folder only; a link met on the way stops the log.
static std::FILE* RotateLocked(std::FILE* file, LogPlatform::LogFolder& folder,
                               const std::wstring& name, int keptFiles, std::uintmax_t& size) {
    std::fclose(file);
    size = 0;
    std::wstring cause;
    bool moved = true;
    if (keptFiles > 0) {
        moved = folder.Remove(RotatedName(name, keptFiles), cause);
        for (int index = keptFiles - 1; moved && index >= 1; --index)
            moved = folder.Rename(RotatedName(name, index), RotatedName(name, index + 1), cause);
        if (moved) moved = folder.Rename(name, RotatedName(name, 1), cause);
    } else {
        moved = folder.Remove(name, cause);
    }
    std::FILE* fresh = moved ? folder.OpenForAppend(name, size, cause) : nullptr;
    if (fresh == nullptr) LoggingOff(folder.Path() / name, cause);
    return fresh;
}

void KtLogger::Log(LOG_MESSAGE_LEVEL level, std::wostringstream& stream) {
    const std::wstring text = stream.str();
    const std::string line = FormatLine(level, text);
    std::lock_guard<std::mutex> lock(m_state->mutex);
    State& s = *m_state;
    if (s.sink) s.sink(level, text);
    if (s.file == nullptr) return;
    if (s.fileSize > 0 && s.fileSize + line.size() > s.maxFileBytes) {
        s.file = RotateLocked(s.file, *s.logFolder, s.fileName, s.keptFiles, s.fileSize);
        if (s.file == nullptr) {
            s.filePath.clear();
            return;
        }
    }
    if (std::fwrite(line.data(), 1, line.size(), s.file) == line.size()) s.fileSize += line.size();
    std::fflush(s.file);
}

std::wstring KtLogger::GetLogFilePath() const {
    std::lock_guard<std::mutex> lock(m_state->mutex);
    return Strconv::PathToWide(m_state->filePath);
}

void KtLogger::SetCaptureSink(Sink sink) {
    std::lock_guard<std::mutex> lock(m_state->mutex);
    m_state->sink = std::move(sink);
}

void KtLogger::SetRotation(std::uintmax_t maxFileBytes, int keptFiles) {
    assert(maxFileBytes > 0 && keptFiles >= 0 &&
           "KtLogger::SetRotation: cap and count must be positive");
    std::lock_guard<std::mutex> lock(m_state->mutex);
    m_state->maxFileBytes = maxFileBytes;
    m_state->keptFiles = keptFiles;
}
