// The logger end to end: real files in a scratch state folder, real threads,
// and the links an attacker would put in the logger's way.
#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <regex>
#include <set>
#include <thread>

#include "support/KtLogger.h"
#include "testkit/LogCapture.h"
#include "testkit/TestPaths.h"

namespace fs = std::filesystem;

namespace {

std::string ReadAll(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void WriteAll(const fs::path& path, const std::string& text) {
    std::ofstream(path, std::ios::binary) << text;
}

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
    const fs::path file = fs::path(home) / "Orvelle" / "Logs" / "Orvelle.log";
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
    const std::vector<std::string> lines =
        ReadLines(fs::path(home) / "Orvelle" / "Logs" / "Orvelle.log");
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

    const fs::path folder = fs::path(home) / "Orvelle" / "Logs";
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
              (fs::path(home) / ".local" / "state" / "Orvelle" / "Logs" / "Orvelle.log").wstring());
}

TEST_F(LoggerFixture, CreatesItsFoldersForThisUserOnly) {
    const std::string home = TestPaths::MakeScratchDir("logger-modes");
    StartLogger(home);
    for (const fs::path& folder :
         {fs::path(home) / "Orvelle", fs::path(home) / "Orvelle" / "Logs"}) {
        struct stat st;
        ASSERT_EQ(lstat(folder.c_str(), &st), 0) << folder;
        EXPECT_EQ(st.st_mode & 0777, 0700u) << folder;
    }
}

// A folder someone else could redirect or write, or a log file that is a link,
// is not the log's: the logger writes nowhere, touches nothing beyond, and the
// program's records still reach the capture.
TEST_F(LoggerFixture, RefusesFoldersAndFilesThatAreLinksOrOpenToOthers) {
    struct Case {
        const char* name;
        std::function<void(const fs::path& program, const fs::path& outside)> prepare;
    };
    const Case cases[] = {
        {"program folder is a symbolic link",
         [](const fs::path& program, const fs::path& outside) {
             fs::create_directory_symlink(outside, program);
         }},
        {"log folder is a symbolic link",
         [](const fs::path& program, const fs::path& outside) {
             fs::create_directory(program);
             fs::create_directory_symlink(outside, program / "Logs");
         }},
        {"log folder others may write",
         [](const fs::path& program, const fs::path&) {
             fs::create_directories(program / "Logs");
             chmod((program / "Logs").c_str(), 0777);
         }},
        {"program folder others may write",
         [](const fs::path& program, const fs::path&) {
             fs::create_directory(program);
             chmod(program.c_str(), 0770);
         }},
        {"log file is a symbolic link",
         [](const fs::path& program, const fs::path& outside) {
             fs::create_directories(program / "Logs");
             fs::create_symlink(outside / "victim.txt", program / "Logs" / "Orvelle.log");
         }},
        {"log file is a hard link",
         [](const fs::path& program, const fs::path& outside) {
             fs::create_directories(program / "Logs");
             fs::create_hard_link(outside / "victim.txt", program / "Logs" / "Orvelle.log");
         }},
    };
    int index = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const fs::path home =
            TestPaths::MakeScratchDir("logger-refuses-" + std::to_string(index++));
        const fs::path outside = home / "outside";
        fs::create_directory(outside);
        WriteAll(outside / "victim.txt", "not the log's\n");
        c.prepare(home / "Orvelle", outside);

        StartLogger(home.string());
        LogCapture capture;
        KT_LOG(LOG_ERROR, L"a record", "Refuses::Test");

        EXPECT_TRUE(KtLogger::GetInstance()->GetLogFilePath().empty());
        EXPECT_EQ(capture.IndexOf(L"a record(Refuses::Test)"), 0);
        EXPECT_EQ(ReadAll(outside / "victim.txt"), "not the log's\n");
        std::vector<std::string> outsideNames;
        for (const fs::directory_entry& entry : fs::directory_iterator(outside))
            outsideNames.push_back(entry.path().filename().string());
        EXPECT_EQ(outsideNames, std::vector<std::string>{"victim.txt"});
    }
}

// The attack on a logger that renames and deletes by path: with the log folder
// replaced by a link to another folder and the log padded to the cap, one
// record would delete that folder's "Orvelle.3.log" and move its "Orvelle.2.log"
// onto that name. Here the rotation stays in the folder the logger checked,
// and a log file swapped for a link stops the log rather than being followed.
TEST_F(LoggerFixture, RotationNeverTouchesAFileOutsideItsFolder) {
    struct Case {
        const char* name;
        // Run once the log is open and padded; `logs` is the log folder.
        std::function<void(const fs::path& logs, const fs::path& outside)> attack;
        bool logsOn;  // the record after the attack lands in a log file
    };
    const Case cases[] = {
        {"log folder replaced by a link",
         [](const fs::path& logs, const fs::path& outside) {
             fs::rename(logs, logs.string() + ".moved");
             fs::create_directory_symlink(outside, logs);
         },
         true},
        {"kept log replaced by a symbolic link",
         [](const fs::path& logs, const fs::path& outside) {
             fs::create_symlink(outside / "Orvelle.3.log", logs / "Orvelle.1.log");
         },
         false},
        {"kept log replaced by a hard link",
         [](const fs::path& logs, const fs::path& outside) {
             fs::create_hard_link(outside / "Orvelle.3.log", logs / "Orvelle.2.log");
         },
         false},
    };
    int index = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const fs::path home = TestPaths::MakeScratchDir("logger-attack-" + std::to_string(index++));
        const fs::path outside = home / "outside";
        fs::create_directory(outside);
        WriteAll(outside / "Orvelle.3.log", "the file the link names\n");
        WriteAll(outside / "Orvelle.2.log", "the attacker's file\n");
        WriteAll(outside / "Orvelle.log", "the attacker's log\n");

        KtLogger::GetInstance()->SetRotation(4096, 3);
        StartLogger(home.string());
        const fs::path logs = home / "Orvelle" / "Logs";
        KT_LOG(LOG_INFO, L"first record", "Attack::Test");
        {
            std::ofstream pad(logs / "Orvelle.log", std::ios::binary | std::ios::app);
            pad << std::string(4096, 'x') << '\n';
        }
        StartLogger(home.string());  // opens the padded log, as the next start does
        c.attack(logs, outside);
        KT_LOG(LOG_INFO, L"the record that rotates", "Attack::Test");

        EXPECT_EQ(ReadAll(outside / "Orvelle.3.log"), "the file the link names\n");
        EXPECT_EQ(ReadAll(outside / "Orvelle.2.log"), "the attacker's file\n");
        EXPECT_EQ(ReadAll(outside / "Orvelle.log"), "the attacker's log\n");
        EXPECT_FALSE(fs::exists(outside / "Orvelle.1.log"));
        EXPECT_EQ(!KtLogger::GetInstance()->GetLogFilePath().empty(), c.logsOn);
        if (c.logsOn) {
            // The rotation happened where the logger checked: in the moved folder.
            const fs::path checked = logs.string() + ".moved";
            EXPECT_NE(ReadAll(checked / "Orvelle.1.log").find("first record"), std::string::npos);
            EXPECT_NE(ReadAll(checked / "Orvelle.log").find("the record that rotates"),
                      std::string::npos);
        }
    }
}

}  // namespace
