// The logger end to end: real files in a scratch per-user folder, real threads.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <regex>
#include <set>
#include <thread>

#include "support/KtLogger.h"
#include "testkit/LogCapture.h"
#include "testkit/TestPaths.h"

namespace fs = std::filesystem;

namespace {

std::vector<std::string> ReadLines(const fs::path& path) {
    std::vector<std::string> lines;
    std::ifstream in(path, std::ios::binary);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

// Points the logger at a fresh per-user folder and restores the defaults after.
class LoggerFixture : public ::testing::Test {
protected:
    void StartLogger(const std::string& stateHome, const std::string& folder = "Orvelle") {
        setenv("XDG_STATE_HOME", stateHome.c_str(), 1);
        KtLogger::GetInstance()->SetProcessLoggerDir(folder);
        KtLogger::GetInstance()->InitProcessLogger();
    }
    void TearDown() override {
        KtLogger::GetInstance()->SetRotation(2 * 1024 * 1024, 3);
        unsetenv("XDG_STATE_HOME");
        KtLogger::GetInstance()->InitProcessLogger();
    }
};

TEST_F(LoggerFixture, ManyThreadsWriteWholeLinesAndLoseNone) {
    const std::string home = TestPaths::MakeScratchDir("logger-threads");
    StartLogger(home);
    const fs::path file = fs::path(home) / "Orvelle" / "Orvelle.log";
    ASSERT_EQ(KtLogger::GetInstance()->GetLogFilePath(), file.wstring());

    LogCapture capture;
    constexpr int kThreads = 8, kRecords = 400;
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t)
        threads.emplace_back([t] {
            for (int n = 0; n < kRecords; ++n)
                KT_LOG(LOG_INFO, L"worker " << t << L" record " << n, "Test::Run");
        });
    for (std::thread& thread : threads) thread.join();

    const std::regex form(
        R"(^\d{4}-\d\d-\d\d \d\d:\d\d:\d\d\.\d{3} INFO  \[\d+\] worker (\d+) record (\d+)\(Test::Run\)$)");
    std::set<std::pair<int, int>> seen;
    for (const std::string& line : ReadLines(file)) {
        std::smatch match;
        ASSERT_TRUE(std::regex_match(line, match, form)) << line;
        EXPECT_TRUE(seen.insert({std::stoi(match[1]), std::stoi(match[2])}).second)
            << "duplicate: " << line;
    }
    EXPECT_EQ(seen.size(), static_cast<size_t>(kThreads * kRecords));
    EXPECT_EQ(capture.Records().size(), static_cast<size_t>(kThreads * kRecords));
}

TEST_F(LoggerFixture, RecordKeepsLevelThreadAndOneLineEvenWithLineBreaks) {
    const std::string home = TestPaths::MakeScratchDir("logger-form");
    StartLogger(home);
    KT_LOG(LOG_ERROR, L"first\nsecond\u4e2d", "Form::Check");
    const std::vector<std::string> lines = ReadLines(fs::path(home) / "Orvelle" / "Orvelle.log");
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_NE(lines[0].find(" ERROR ["), std::string::npos);
    EXPECT_NE(lines[0].find("] first\\nsecond\xe4\xb8\xad(Form::Check)"), std::string::npos)
        << lines[0];
}

TEST_F(LoggerFixture, RotationCapsEachFileAndKeepsTheNewestRecords) {
    const std::string home = TestPaths::MakeScratchDir("logger-rotation");
    KtLogger::GetInstance()->SetRotation(1000, 2);
    StartLogger(home);
    for (int n = 0; n < 200; ++n) KT_LOG(LOG_INFO, L"rotation record " << n, "R");

    const fs::path folder = fs::path(home) / "Orvelle";
    std::vector<std::string> all;
    for (const char* name : {"Orvelle.2.log", "Orvelle.1.log", "Orvelle.log"}) {
        ASSERT_TRUE(fs::exists(folder / name)) << name;
        EXPECT_LE(fs::file_size(folder / name), 1000u) << name;
        for (const std::string& line : ReadLines(folder / name)) all.push_back(line);
    }
    EXPECT_FALSE(fs::exists(folder / "Orvelle.3.log"));
    // The kept files hold an unbroken run of the newest records, oldest first.
    ASSERT_FALSE(all.empty());
    const int first = 200 - static_cast<int>(all.size());
    for (size_t i = 0; i < all.size(); ++i)
        EXPECT_NE(all[i].find("rotation record " + std::to_string(first + i) + "(R)"),
                  std::string::npos)
            << all[i];
}

TEST_F(LoggerFixture, UnwritableFolderKeepsTheProgramAndTheCaptureRunning) {
    const std::string scratch = TestPaths::MakeScratchDir("logger-unwritable");
    const fs::path blocker = fs::path(scratch) / "not-a-folder";
    std::ofstream(blocker) << "a file where the state folder should be";
    StartLogger(blocker.string());
    EXPECT_TRUE(KtLogger::GetInstance()->GetLogFilePath().empty());

    LogCapture capture;
    KT_LOG(LOG_ERROR, L"still logged", "Unwritable::Test");
    EXPECT_EQ(capture.IndexOf(L"still logged(Unwritable::Test)"), 0);
}

TEST_F(LoggerFixture, WithoutXdgStateHomeUsesLocalStateUnderHome) {
    const std::string home = TestPaths::MakeScratchDir("logger-home");
    const char* oldHome = getenv("HOME");
    const std::string savedHome = oldHome ? oldHome : "";
    unsetenv("XDG_STATE_HOME");
    setenv("HOME", home.c_str(), 1);
    KtLogger::GetInstance()->SetProcessLoggerDir("Orvelle");
    KtLogger::GetInstance()->InitProcessLogger();
    setenv("HOME", savedHome.c_str(), 1);
    EXPECT_EQ(KtLogger::GetInstance()->GetLogFilePath(),
              (fs::path(home) / ".local" / "state" / "Orvelle" / "Orvelle.log").wstring());
}

}  // namespace
