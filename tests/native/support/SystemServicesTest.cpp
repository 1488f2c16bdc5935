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

TEST(UrlsManager, MissingOpenerIsAFailure) {
    ScopedVariable path("PATH", TestPaths::MakeScratchDir("xdg-empty").c_str());
    LogCapture capture;
    EXPECT_FALSE(UrlsManager::Instance()->OpenUrl(L"https://example.invalid/"));
    EXPECT_EQ(capture.Matching(L"cannot start xdg-open").size(), 1u);
}

struct OpenCase {
    const char* name;
    UrlOpeners::DesktopShellResult shell;
    bool directResult;
    bool opened;
    bool directlyCalled;
    std::wstring line;  // the line that says which way was taken
    LOG_MESSAGE_LEVEL level;
};

// The desktop shell opens as the signed-in user; this process opens only when
// no shell runs, never after the shell refused. Both ways run with COM up.
TEST(UrlsManager, OpensThroughTheDesktopShellAndDirectlyOnlyWithoutOne) {
    using Shell = UrlOpeners::DesktopShellResult;
    const std::wstring url = L"C:\\OrvelleEx\\res\\Notice\\OpenSourceSoftwareNotice.htm";
    const OpenCase cases[] = {
        {"shell opens",
         {Shell::kOpened, L""},
         false,
         true,
         false,
         L"open url through the desktop shell:" + url,
         LOG_ERROR},
        {"no shell",
         {Shell::kNoShell, L"FindWindowSW hr:0x1"},
         true,
         true,
         true,
         L"no desktop shell (FindWindowSW hr:0x1), open url directly:" + url,
         LOG_ERROR},
        {"no shell, direct fails",
         {Shell::kNoShell, L"none"},
         false,
         false,
         true,
         L"no desktop shell (none), open url directly:" + url,
         LOG_ERROR},
        {"shell refuses",
         {Shell::kRefused, L"ShellExecute hr:0x80004005"},
         true,
         false,
         false,
         L"the desktop shell cannot open url:" + url + L" ShellExecute hr:0x80004005",
         LOG_ERROR},
    };
    for (const OpenCase& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<std::string> calls;
        UrlsManagerTesting::SetOpeners(
            [&](const std::wstring& given) {
                EXPECT_EQ(given, url);
                calls.push_back(WinApi::Testing::ComReadyOnThisThread() ? "shell+com" : "shell");
                return c.shell;
            },
            [&](const std::wstring& given) {
                EXPECT_EQ(given, url);
                calls.push_back(WinApi::Testing::ComReadyOnThisThread() ? "direct+com" : "direct");
                return c.directResult;
            });
        LogCapture capture;
        EXPECT_EQ(UrlsManager::Instance()->OpenUrl(url), c.opened);
        UrlsManagerTesting::SetOpeners(nullptr, nullptr);
        std::vector<std::string> expected{"shell+com"};
        if (c.directlyCalled) expected.push_back("direct+com");
        EXPECT_EQ(calls, expected);
        EXPECT_FALSE(WinApi::Testing::ComReadyOnThisThread());  // COM is down again
        const std::vector<LogRecord> records = capture.Records();
        ASSERT_EQ(records.size(), 1u);
        EXPECT_EQ(records[0].text, c.line + L"(UrlsManager::OpenUrl)");
        EXPECT_EQ(records[0].level, c.level);
    }
}

// A web page goes to the desktop shell or nowhere: this process never opens it.
TEST(UrlsManager, AsTheUserOpensOnlyThroughTheDesktopShell) {
    using Shell = UrlOpeners::DesktopShellResult;
    const std::wstring url = L"https://support.microsoft.com/help/5034441";
    const struct {
        Shell shell;
        bool opened;
        std::wstring line;
    } cases[] = {
        {{Shell::kOpened, L""}, true, L"open url through the desktop shell:" + url},
        {{Shell::kNoShell, L"FindWindowSW hr:0x1"},
         false,
         L"no desktop shell (FindWindowSW hr:0x1), url not opened:" + url},
        {{Shell::kRefused, L"ShellExecute hr:0x80004005"},
         false,
         L"the desktop shell cannot open url:" + url + L" ShellExecute hr:0x80004005"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.shell.outcome));
        int shellCalls = 0;
        bool directCalled = false;
        UrlsManagerTesting::SetOpeners(
            [&](const std::wstring& given) {
                EXPECT_EQ(given, url);
                EXPECT_TRUE(WinApi::Testing::ComReadyOnThisThread());
                ++shellCalls;
                return c.shell;
            },
            [&](const std::wstring&) { return directCalled = true; });
        LogCapture capture;
        EXPECT_EQ(UrlsManager::Instance()->OpenUrlAsUser(url), c.opened);
        UrlsManagerTesting::SetOpeners(nullptr, nullptr);
        EXPECT_EQ(shellCalls, 1);
        EXPECT_FALSE(directCalled);
        const std::vector<LogRecord> records = capture.Records();
        ASSERT_EQ(records.size(), 1u);
        EXPECT_EQ(records[0].text, c.line + L"(UrlsManager::OpenUrlAsUser)");
    }
}

TEST(WMIHelper, WithoutWmiAQueryFailsAndAddsNothing) {
    std::vector<HotfixInfo> list;
    EXPECT_FALSE(
        WMIHelper(L"ROOT\\CIMV2").SelectStrA(L"SELECT * FROM Win32_QuickFixEngineering", list));
    EXPECT_TRUE(list.empty());
}

}  // namespace
