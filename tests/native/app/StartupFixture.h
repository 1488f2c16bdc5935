// Shared by the start-up suites: wWinMain run against a scratch executable folder
// with its own state folder for the log and a system folder of its own (which
// holds none of the program's files); afterwards the single-instance mutex, the
// current directory, LC_ALL and the process-wide stand-ins are as before.
#pragma once

#include <stdlib.h>
#include <unistd.h>

#include <string>

#include "app/Startup.h"
#include "native/ui/UiFixtures.h"
#include "winapi/SingleInstance.h"
#include "winapi/SingleInstanceTesting.h"
#include "winapi/UserAccessTesting.h"

namespace UiFixtures {

// TestBase is ::testing::Test or a TestWithParam.
template <typename TestBase = ::testing::Test>
class StartupFixture : public TestBase {
protected:
    // Stages the folder `name` and makes it the executable's folder.
    void StageProgram(const std::string& name, StageOptions options = {}) {
        char cwd[4096];
        m_savedCwd = getcwd(cwd, sizeof(cwd)) ? cwd : ".";
        m_folder = StageExecutableFolder(name, options);
        WinApi::Testing::SetModuleFileName(ExecutablePathIn(m_folder));
        setenv("XDG_STATE_HOME", (m_folder + "/state").c_str(), 1);
        m_systemFolder = m_folder + "/System32";
        fs::create_directories(m_systemFolder);
        WinApi::Testing::SetSystemDirectory(Strconv::Utf8ToWide(m_systemFolder));
    }
    // Stages "<prefix>.<the running test's name>", in `locale` (LC_ALL) when one is given.
    void StageThisTest(const std::string& prefix, const char* locale = nullptr,
                       StageOptions options = {}) {
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        StageProgram(prefix + "." + info->name(), options);
        if (locale != nullptr) setenv("LC_ALL", locale, 1);
    }
    void TearDown() override {
        DuiLib::Headless::SetIdleHook(nullptr);
        if (g_instanceMutex != nullptr) WinApi::CloseHandle(g_instanceMutex);
        g_instanceMutex = nullptr;
        ResetProcessState();
        WinApi::Testing::SetSystemDirectory(L"");
        WinApi::Testing::ResetSingleInstance();
        WinApi::Testing::ResetUserAccess();
        unsetenv("LC_ALL");
        (void)!chdir(m_savedCwd.c_str());
    }

    std::string m_folder;
    std::string m_savedCwd;
    std::string m_systemFolder;
    FakeEnumeration m_enumeration;
};

}  // namespace UiFixtures
