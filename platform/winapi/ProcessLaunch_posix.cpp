// Process launch on other systems: a real child process (fork/exec, no
// shell) for the program mapped to the Windows file name, waited for with
// waitpid. See ProcessLaunchTesting.h for the mapping and the exit codes.
#include <errno.h>
#include <fcntl.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <fstream>
#include <map>
#include <mutex>
#include <sstream>
#include <thread>

#include "winapi/PosixStandIn.h"
#include "winapi/ProcessLaunch.h"
#include "winapi/ProcessLaunchTesting.h"
#include "winapi/TextConversion.h"

extern char** environ;

namespace WinApi {
namespace {

// Test controls; leaked on purpose so detached workers may launch at exit.
struct LaunchState {
    std::map<std::wstring, std::string> programs;  // lower-cased Windows path -> real program
    uint32_t launchFailure = 0;
    bool failWithoutError = false;
    uint32_t exitCodeReadFailure = 0;
    std::vector<Testing::LaunchRecord> records;
    int openHandles = 0;
};

PosixStandIn::Guarded<LaunchState>& State() {
    return PosixStandIn::Guarded<LaunchState>::Leaked();
}

// A started child. Waiting reaps it once; the exit code is then fixed.
class ChildProcess : public PosixStandIn::HandleObject {
public:
    ChildProcess(pid_t pid, std::string exitCodeFile)
        : m_pid(pid), m_exitCodeFile(std::move(exitCodeFile)) {}

    // Blocks until the child ended or the time is up; true when it ended.
    bool Wait(uint32_t milliseconds) {
        std::lock_guard<std::mutex> lock(m_waitMutex);
        if (m_ended) return true;
        const auto deadline =
            std::chrono::steady_clock::now() + std::chrono::milliseconds(milliseconds);
        for (;;) {
            int status = 0;
            const pid_t done = waitpid(m_pid, &status, milliseconds == kInfinite ? 0 : WNOHANG);
            if (done == m_pid) return Finish(status);
            if (done < 0 && errno != EINTR) return Finish(-1);
            if (done == 0 && std::chrono::steady_clock::now() >= deadline) return false;
            if (done == 0) std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
    }

    uint32_t ExitCode() {
        if (!Wait(0)) return kStillActive;
        return m_exitCode;
    }

    void Close() override {
        {
            auto state = State().Locked();
            --state->openHandles;
        }
        Wait(0);  // reaps a child that already ended; a running one carries on
        if (!m_exitCodeFile.empty()) unlink(m_exitCodeFile.c_str());
    }

private:
    bool Finish(int status) {
        m_ended = true;
        if (status == -1)
            m_exitCode = kErrorGenFailure;
        else if (WIFEXITED(status))
            m_exitCode = static_cast<uint32_t>(WEXITSTATUS(status));
        else if (WIFSIGNALED(status))
            m_exitCode = 128u + static_cast<uint32_t>(WTERMSIG(status));
        ReadReportedCode();
        return true;
    }

    void ReadReportedCode() {
        std::ifstream in(m_exitCodeFile);
        std::string text;
        if (!(in >> text)) return;
        char* end = nullptr;
        errno = 0;
        const long long value = std::strtoll(text.c_str(), &end, 0);
        if (errno == 0 && end != text.c_str() && *end == '\0' && value >= INT32_MIN &&
            value <= UINT32_MAX)
            m_exitCode = static_cast<uint32_t>(value);
    }

    std::mutex m_waitMutex;
    const pid_t m_pid;
    const std::string m_exitCodeFile;
    bool m_ended = false;
    uint32_t m_exitCode = 0;
};

// The arguments after the command line's first word, the program (quoted or not),
// split at blanks.
std::vector<std::string> ArgumentsAfterProgram(const std::wstring& commandLine) {
    size_t at = 0;
    if (!commandLine.empty() && commandLine[0] == L'"') {
        const size_t closing = commandLine.find(L'"', 1);
        at = closing == std::wstring::npos ? commandLine.size() : closing + 1;
    } else {
        at = std::min(commandLine.find(L' '), commandLine.size());
    }
    std::vector<std::string> arguments;
    std::wistringstream in(commandLine.substr(at));
    for (std::wstring word; in >> word;) arguments.push_back(Strconv::WideToUtf8(word));
    return arguments;
}

std::string MakeExitCodeFile() {
    const char* tmp = getenv("TMPDIR");
    std::string pattern =
        std::string(tmp != nullptr && tmp[0] == '/' ? tmp : "/tmp") + "/winapi-exit-XXXXXX";
    const int fd = mkstemp(pattern.data());
    if (fd < 0) return {};
    close(fd);
    return pattern;
}

uint32_t ErrorFromErrno(int error) {
    if (error == ENOENT || error == ENOTDIR) return kErrorFileNotFound;
    if (error == EACCES || error == EPERM) return kErrorAccessDenied;
    return kErrorGenFailure;
}

// Forks and execs; the child reports a failed exec through a close-on-exec
// pipe, so the parent learns whether the program really started.
pid_t Spawn(const std::string& program, const std::vector<std::string>& arguments,
            const std::string& exitCodeFile, uint32_t& error) {
    std::vector<std::string> environment;
    for (char** entry = environ; *entry != nullptr; ++entry)
        if (std::string(*entry).rfind("WINAPI_EXIT_CODE_FILE=", 0) != 0)
            environment.push_back(*entry);
    environment.push_back("WINAPI_EXIT_CODE_FILE=" + exitCodeFile);
    std::vector<char*> argv{const_cast<char*>(program.c_str())}, envp;
    for (const std::string& argument : arguments)
        argv.push_back(const_cast<char*>(argument.c_str()));
    for (const std::string& entry : environment) envp.push_back(const_cast<char*>(entry.c_str()));
    argv.push_back(nullptr);
    envp.push_back(nullptr);

    int pipeFds[2];
    if (pipe2(pipeFds, O_CLOEXEC) != 0) {
        error = ErrorFromErrno(errno);
        return -1;
    }
    const int highestDescriptor = PosixStandIn::HighestDescriptor();
    const pid_t pid = fork();
    if (pid == 0) {
        PosixStandIn::CloseInheritedDescriptorsOnExec(highestDescriptor);
        execve(argv[0], argv.data(), envp.data());
        const int execError = errno;
        (void)!write(pipeFds[1], &execError, sizeof(execError));
        _exit(127);
    }
    const int forkError = pid < 0 ? errno : 0;
    close(pipeFds[1]);
    const int execError = PosixStandIn::AwaitExecOutcome(pipeFds[0]);
    if (pid < 0 || execError != 0) {
        error = ErrorFromErrno(pid < 0 ? forkError : execError);
        if (pid > 0) waitpid(pid, nullptr, 0);
        return -1;
    }
    return pid;
}

std::string ProgramFor(const std::wstring& file) {
    auto state = State().Locked();
    auto it = state->programs.find(Strconv::LowerCase(file));
    return it == state->programs.end() ? std::string() : it->second;
}

}  // namespace

BOOL CreateProcessW(const ProcessStart& start, HANDLE* process) {
    *process = nullptr;
    uint32_t failure = 0;
    bool failWithoutError = false;
    {
        auto state = State().Locked();
        state->records.push_back({start.application, start.commandLine, start.currentDirectory});
        failure = state->launchFailure;
        failWithoutError = state->failWithoutError;
    }
    if (failure != 0 || failWithoutError) {
        PosixStandIn::SetLastError(failure);
        return FALSE;
    }
    const std::string program = ProgramFor(start.application);
    if (program.empty()) {
        PosixStandIn::SetLastError(kErrorFileNotFound);
        return FALSE;
    }
    const std::string exitCodeFile = MakeExitCodeFile();
    uint32_t error = 0;
    const pid_t pid = Spawn(program, ArgumentsAfterProgram(start.commandLine), exitCodeFile, error);
    if (pid < 0) {
        if (!exitCodeFile.empty()) unlink(exitCodeFile.c_str());
        PosixStandIn::SetLastError(error);
        return FALSE;
    }
    {
        auto state = State().Locked();
        ++state->openHandles;
    }
    *process = PosixStandIn::RegisterHandle(std::make_shared<ChildProcess>(pid, exitCodeFile));
    return TRUE;
}

uint32_t WaitForSingleObject(HANDLE handle, uint32_t milliseconds) {
    auto child = std::dynamic_pointer_cast<ChildProcess>(PosixStandIn::FindHandle(handle));
    if (!child) {
        PosixStandIn::SetLastError(kErrorInvalidHandle);
        return kWaitFailed;
    }
    return child->Wait(milliseconds) ? kWaitObject0 : kWaitTimeout;
}

BOOL GetExitCodeProcess(HANDLE process, uint32_t* exitCode) {
    uint32_t failure = 0;
    {
        auto state = State().Locked();
        failure = state->exitCodeReadFailure;
    }
    auto child = std::dynamic_pointer_cast<ChildProcess>(PosixStandIn::FindHandle(process));
    if (!child || failure != 0 || exitCode == nullptr) {
        PosixStandIn::SetLastError(failure != 0 ? failure : kErrorInvalidHandle);
        return FALSE;
    }
    *exitCode = child->ExitCode();
    return TRUE;
}

namespace Testing {

void MapProgram(const std::wstring& windowsPath, const std::string& realProgram) {
    auto state = State().Locked();
    state->programs[Strconv::LowerCase(windowsPath)] = realProgram;
}

void SetLaunchFailure(uint32_t error) {
    auto state = State().Locked();
    state->launchFailure = error;
}

void SetLaunchFailureWithoutError(bool enabled) {
    auto state = State().Locked();
    state->failWithoutError = enabled;
}

void SetExitCodeReadFailure(uint32_t error) {
    auto state = State().Locked();
    state->exitCodeReadFailure = error;
}

std::vector<LaunchRecord> LaunchRecords() {
    return State().Locked()->records;
}

int OpenProcessHandles() {
    return State().Locked()->openHandles;
}

void ResetProcessLaunch() {
    auto state = State().Locked();
    state->programs.clear();
    state->launchFailure = 0;
    state->failWithoutError = false;
    state->exitCodeReadFailure = 0;
    state->records.clear();
}

}  // namespace Testing
}  // namespace WinApi
