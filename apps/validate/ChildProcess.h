// Running a program as a child process and waiting for it, with a time limit: how each check of the validator
// runs apart from the others, so that a crash or a hang ends that check only.
#ifndef ZZ_APPS_VALIDATE_CHILD_PROCESS_H
#define ZZ_APPS_VALIDATE_CHILD_PROCESS_H

#include <string>
#include <vector>

namespace zz {

struct ChildExit {
    bool started = false;
    bool exited = false; // ended by itself with `status`
    int status = 0;
    bool timedOut = false; // killed after the time limit
    std::string how;       // in words: "exited with status 1", "crashed (signal 11, Segmentation fault)", ...
};

// Runs `program` with `arguments` (argument 0 excluded), its output and errors into `logFile` (empty: kept
// as this process's), and waits at most `timeoutSeconds` for it.
ChildExit runChild(const std::string& program, const std::vector<std::string>& arguments,
                   const std::string& logFile, double timeoutSeconds);

// Sets up the process to be a check's child: on Windows a crash ends it at once with the exception's code,
// without the system's crash dialog or debugger.
void prepareChildProcess();

// A word quoted for a POSIX shell, when it needs quoting.
std::string shellQuoted(const std::string& word);

} // namespace zz

#endif
