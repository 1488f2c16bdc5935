#include "support/KtLogger.h"

#include <cassert>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <mutex>
#include <system_error>

#include "support/LogPlatform.h"
#include "support/TextConversion.h"

namespace fs = std::filesystem;

struct KtLogger::State {
    mutable std::mutex mutex;  // guards every member below
    std::string folderName;
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
    for (char c : Utf8::FromWide(text)) {
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

fs::path RotatedPath(const fs::path& path, int index) {
    fs::path rotated = path;
    rotated.replace_extension(std::to_string(index) + path.extension().string());
    return rotated;
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

    const fs::path base = LogPlatform::PerUserStateFolder();
    const std::string name = s.folderName.empty() ? std::string("KtLogger") : s.folderName;
    if (base.empty()) {
        std::fprintf(stderr,
                     "KtLogger::InitProcessLogger: no per-user folder; logging to file is off\n");
        return;
    }
    const fs::path folder = base / fs::u8path(name);
    std::error_code ec;
    fs::create_directories(folder, ec);
    const fs::path path = folder / fs::u8path(fs::u8path(name).filename().u8string() + ".log");
    s.file = LogPlatform::OpenForAppend(path);
    if (s.file == nullptr) {
        std::fprintf(stderr,
                     "KtLogger::InitProcessLogger: cannot open %s (%s); logging to file is off\n",
                     path.u8string().c_str(), ec ? ec.message().c_str() : "open failed");
        return;
    }
    s.filePath = path;
    std::fseek(s.file, 0, SEEK_END);
    const long size = std::ftell(s.file);
    s.fileSize = size > 0 ? static_cast<std::uintmax_t>(size) : 0;
}

// Caller holds the mutex. Shifts "<name>.log" to "<name>.1.log" and so on.
static void RotateLocked(std::FILE*& file, std::uintmax_t& fileSize, const fs::path& path,
                         int keptFiles) {
    std::fclose(file);
    file = nullptr;
    std::error_code ec;
    if (keptFiles > 0) {
        fs::remove(RotatedPath(path, keptFiles), ec);
        for (int index = keptFiles - 1; index >= 1; --index)
            fs::rename(RotatedPath(path, index), RotatedPath(path, index + 1), ec);
        fs::rename(path, RotatedPath(path, 1), ec);
    }
    fs::remove(path, ec);
    file = LogPlatform::OpenForAppend(path);
    fileSize = 0;
}

void KtLogger::Log(LOG_MESSAGE_LEVEL level, std::wostringstream& stream) {
    const std::wstring text = stream.str();
    const std::string line = FormatLine(level, text);
    std::lock_guard<std::mutex> lock(m_state->mutex);
    State& s = *m_state;
    if (s.sink) s.sink(level, text);
    if (s.file == nullptr) return;
    if (s.fileSize > 0 && s.fileSize + line.size() > s.maxFileBytes) {
        RotateLocked(s.file, s.fileSize, s.filePath, s.keptFiles);
        if (s.file == nullptr) return;
    }
    if (std::fwrite(line.data(), 1, line.size(), s.file) == line.size()) s.fileSize += line.size();
    std::fflush(s.file);
}

std::wstring KtLogger::GetLogFilePath() const {
    std::lock_guard<std::mutex> lock(m_state->mutex);
    return PathText::ToWide(m_state->filePath);
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
