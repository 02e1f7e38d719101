#include "apps/validate/ChildProcess.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <thread>

#if defined(_WIN32)
#include <windows.h>
#else
#include <cerrno>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>
extern char** environ;
#endif

namespace zz {

std::string shellQuoted(const std::string& word) {
    if (!word.empty() &&
        word.find_first_not_of("abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789"
                               "-_./=:,+@%") == std::string::npos)
        return word;
    std::string quoted = "'";
    for (char c : word)
        quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return quoted + "'";
}

#if defined(_WIN32)

namespace {

// One argument quoted as the C runtime's command-line parser reads it back.
std::string windowsQuoted(const std::string& word) {
    if (!word.empty() && word.find_first_of(" \t\"") == std::string::npos) return word;
    std::string quoted = "\"";
    std::size_t backslashes = 0;
    for (char c : word) {
        if (c == '\\') {
            ++backslashes;
            continue;
        }
        if (c == '"')
            quoted.append(backslashes * 2 + 1, '\\');
        else
            quoted.append(backslashes, '\\');
        backslashes = 0;
        quoted += c;
    }
    quoted.append(backslashes * 2, '\\');
    return quoted + "\"";
}

LONG WINAPI endOnCrash(EXCEPTION_POINTERS* exception) {
    ExitProcess(exception->ExceptionRecord->ExceptionCode);
    return EXCEPTION_EXECUTE_HANDLER;
}

} // namespace

void prepareChildProcess() {
    SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX);
    SetUnhandledExceptionFilter(endOnCrash);
}

ChildExit runChild(const std::string& program, const std::vector<std::string>& arguments,
                   const std::string& logFile, double timeoutSeconds) {
    ChildExit result;
    std::string line = windowsQuoted(program);
    for (const std::string& argument : arguments)
        line += " " + windowsQuoted(argument);
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    HANDLE log = INVALID_HANDLE_VALUE;
    if (!logFile.empty()) {
        SECURITY_ATTRIBUTES inherit{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
        log = CreateFileA(logFile.c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherit, CREATE_ALWAYS,
                          FILE_ATTRIBUTE_NORMAL, nullptr);
        if (log != INVALID_HANDLE_VALUE) {
            startup.dwFlags = STARTF_USESTDHANDLES;
            startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
            startup.hStdOutput = log;
            startup.hStdError = log;
        }
    }
    PROCESS_INFORMATION process{};
    const BOOL made = CreateProcessA(program.c_str(), line.data(), nullptr, nullptr, TRUE, 0, nullptr,
                                     nullptr, &startup, &process);
    if (log != INVALID_HANDLE_VALUE) CloseHandle(log);
    if (!made) {
        result.how = "could not be started (error " + std::to_string(GetLastError()) + ")";
        return result;
    }
    result.started = true;
    const DWORD waited = WaitForSingleObject(process.hProcess, static_cast<DWORD>(timeoutSeconds * 1000.0));
    if (waited == WAIT_TIMEOUT) {
        TerminateProcess(process.hProcess, 1);
        WaitForSingleObject(process.hProcess, INFINITE);
        result.timedOut = true;
    }
    DWORD code = 0;
    GetExitCodeProcess(process.hProcess, &code);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    char text[96];
    if (result.timedOut) {
        std::snprintf(text, sizeof text, "did not end within %.0f s and was stopped", timeoutSeconds);
    } else if (code >= 0xC0000000u) {
        std::snprintf(text, sizeof text, "crashed (exception 0x%08lX)", static_cast<unsigned long>(code));
    } else {
        result.exited = true;
        result.status = static_cast<int>(code);
        std::snprintf(text, sizeof text, "exited with status %lu", static_cast<unsigned long>(code));
    }
    result.how = text;
    return result;
}

#else

void prepareChildProcess() {}

ChildExit runChild(const std::string& program, const std::vector<std::string>& arguments,
                   const std::string& logFile, double timeoutSeconds) {
    ChildExit result;
    std::vector<char*> argv;
    std::string zero = program;
    std::vector<std::string> words = arguments;
    argv.push_back(zero.data());
    for (std::string& word : words)
        argv.push_back(word.data());
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    if (!logFile.empty()) {
        posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, logFile.c_str(),
                                         O_WRONLY | O_CREAT | O_TRUNC, 0644);
        posix_spawn_file_actions_adddup2(&actions, STDOUT_FILENO, STDERR_FILENO);
    }
    pid_t child = 0;
    const int spawned = posix_spawnp(&child, program.c_str(), &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (spawned != 0) {
        result.how = std::string("could not be started: ") + std::strerror(spawned);
        return result;
    }
    result.started = true;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::duration<double>(timeoutSeconds);
    auto pause = std::chrono::microseconds(200);
    int status = 0;
    for (;;) {
        const pid_t done = waitpid(child, &status, WNOHANG);
        if (done == child) break;
        if (done < 0 && errno != EINTR) {
            result.how = std::string("could not be waited for: ") + std::strerror(errno);
            return result;
        }
        if (std::chrono::steady_clock::now() > deadline && !result.timedOut) {
            kill(child, SIGKILL);
            result.timedOut = true;
        }
        std::this_thread::sleep_for(pause);
        pause = std::min(pause * 2, std::chrono::microseconds(20000));
    }
    char text[128];
    if (result.timedOut) {
        std::snprintf(text, sizeof text, "did not end within %.0f s and was stopped", timeoutSeconds);
    } else if (WIFSIGNALED(status)) {
        std::snprintf(text, sizeof text, "crashed (signal %d, %s)", WTERMSIG(status),
                      strsignal(WTERMSIG(status)));
    } else {
        result.exited = true;
        result.status = WEXITSTATUS(status);
        std::snprintf(text, sizeof text, "exited with status %d", result.status);
    }
    result.how = text;
    return result;
}

#endif

} // namespace zz
