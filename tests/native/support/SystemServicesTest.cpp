// The user's language from the locale variables, URL opening (the choice of
// way through a seam, then a fake xdg-open), and WMI's honest absence.
#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/stat.h>

#include <chrono>
#include <fstream>
#include <thread>

#include "support/SystemEnvironment.h"
#include "support/UrlsManager.h"
#include "support/UrlsManagerTesting.h"
#include "support/WMIHelper.h"
#include "testkit/LogCapture.h"
#include "testkit/TestPaths.h"
#include "winapi/ComApartmentTesting.h"

namespace {

// Sets (or, for nullptr, unsets) an environment variable for one scope.
class ScopedVariable {
public:
    ScopedVariable(const char* name, const char* value) : m_name(name) {
        if (const char* old = getenv(name)) m_old = old, m_had = true;
        value ? setenv(name, value, 1) : unsetenv(name);
    }
    ~ScopedVariable() { m_had ? setenv(m_name, m_old.c_str(), 1) : unsetenv(m_name); }

private:
    const char* m_name;
    std::string m_old;
    bool m_had = false;
};

struct LocaleCase {
    const char *lcAll, *lcMessages, *lang;
    const wchar_t* expected;
};

TEST(SystemEnvironment, LanguageFromTheFirstLocaleVariableSet) {
    const LocaleCase cases[] = {
        {nullptr, nullptr, "zh_CN.UTF-8", L"zh-CN"},
        {nullptr, nullptr, "en_US", L"en-US"},
        {nullptr, nullptr, "de_DE.ISO-8859-1@euro", L"de-DE"},
        {nullptr, nullptr, "fr", L"fr"},
        {nullptr, "ja_JP.UTF-8", "zh_CN.UTF-8", L"ja-JP"},
        {"zh_TW.UTF-8", "ja_JP.UTF-8", "en_US.UTF-8", L"zh-TW"},
        {"", "", "zh_CN.UTF-8", L"zh-CN"},
        {nullptr, nullptr, "C.UTF-8", L"en-US"},
        {nullptr, nullptr, "POSIX", L"en-US"},
        {nullptr, nullptr, "../../etc", L"en-US"},
        {nullptr, nullptr, nullptr, L"en-US"},
    };
    for (const LocaleCase& c : cases) {
        ScopedVariable all("LC_ALL", c.lcAll), messages("LC_MESSAGES", c.lcMessages),
            lang("LANG", c.lang);
        EXPECT_EQ(SystemEnvironment::GetCurrentUserLanguage(), c.expected)
            << (c.lang ? c.lang : "(unset)");
    }
}

TEST(UrlsManager, OpensThroughXdgOpenWithTheAddressAsOneArgument) {
    const std::string bin = TestPaths::MakeScratchDir("xdg-bin");
    const std::string record = bin + "/opened.txt";
    {
        std::ofstream script(bin + "/xdg-open");
        script << "#!/bin/sh\nprintf '%s|%s' \"$#\" \"$1\" > '" << record << ".tmp'; /bin/mv '"
               << record << ".tmp' '" << record << "'\n";
    }
    chmod((bin + "/xdg-open").c_str(), 0755);
    ScopedVariable path("PATH", bin.c_str());
    EXPECT_TRUE(
        UrlsManager::Instance()->OpenUrl(L"/opt/orvelle/res/Notice/Open Source; $(rm -rf x).htm"));
    std::string opened;
    for (int i = 0; i < 500 && opened.empty(); ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
        std::getline(std::ifstream(record), opened);
    }
    EXPECT_EQ(opened, "1|/opt/orvelle/res/Notice/Open Source; $(rm -rf x).htm");
}

TEST(UrlsManager, WithoutAnOpenerNothingIsOpened) {
    ScopedVariable path("PATH", TestPaths::MakeScratchDir("xdg-empty").c_str());
    LogCapture capture;
    EXPECT_EQ(UrlsManager::Instance()->Open(L"https://example.invalid/"),
              UrlsManager::Outcome::kNoShell);
    EXPECT_EQ(capture.Matching(L"cannot start xdg-open").size(), 1u);
}

struct OpenCase {
    const char* name;
    UrlOpeners::DesktopShellResult shell;
    UrlsManager::Outcome outcome;
    std::wstring line;  // the line that says what became of the url
    LOG_MESSAGE_LEVEL level;
};

// Only the desktop shell opens, as the signed-in user; without one nothing is
// started from this process (which runs elevated). The shell is asked with COM up.
TEST(UrlsManager, OpensOnlyThroughTheDesktopShell) {
    using Shell = UrlOpeners::DesktopShellResult;
    const std::wstring url = L"C:\\OrvelleEx\\res\\Notice\\OpenSourceSoftwareNotice.htm";
    const OpenCase cases[] = {
        {"shell opens",
         {Shell::kOpened, L""},
         UrlsManager::Outcome::kOpened,
         L"open url through the desktop shell:" + url,
         LOG_ERROR},
        {"no shell",
         {Shell::kNoShell, L"FindWindowSW hr:0x1"},
         UrlsManager::Outcome::kNoShell,
         L"no desktop shell (FindWindowSW hr:0x1), url not opened:" + url,
         LOG_ERROR},
        {"shell refuses",
         {Shell::kRefused, L"ShellExecute hr:0x80004005"},
         UrlsManager::Outcome::kRefused,
         L"the desktop shell cannot open url:" + url + L" ShellExecute hr:0x80004005",
         LOG_ERROR},
    };
    for (const OpenCase& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<std::string> calls;
        UrlsManagerTesting::SetOpener([&](const std::wstring& given) {
            EXPECT_EQ(given, url);
            calls.push_back(WinApi::Testing::ComReadyOnThisThread() ? "shell+com" : "shell");
            return c.shell;
        });
        LogCapture capture;
        EXPECT_EQ(UrlsManager::Instance()->Open(url), c.outcome);
        EXPECT_EQ(UrlsManager::Instance()->OpenUrl(url),
                  c.outcome == UrlsManager::Outcome::kOpened);
        UrlsManagerTesting::SetOpener(nullptr);
        EXPECT_EQ(calls, (std::vector<std::string>{"shell+com", "shell+com"}));
        EXPECT_FALSE(WinApi::Testing::ComReadyOnThisThread());  // COM is down again
        const std::vector<LogRecord> records = capture.Records();
        ASSERT_EQ(records.size(), 2u);
        EXPECT_EQ(records[0].text, c.line + L"(UrlsManager::OpenUrl)");
        EXPECT_EQ(records[0].level, c.level);
    }
}

TEST(WMIHelper, WithoutWmiAQueryFailsAndAddsNothing) {
    std::vector<HotfixInfo> list;
    EXPECT_FALSE(
        WMIHelper(L"ROOT\\CIMV2").SelectStrA(L"SELECT * FROM Win32_QuickFixEngineering", list));
    EXPECT_TRUE(list.empty());
}

}  // namespace
