// Helpers shared by the host tests: the built module and command, a scratch folder of the test's own, files,
// and the outside tools some tests hand pictures to.
#ifndef ZZ_TESTS_TEST_SUPPORT_H
#define ZZ_TESTS_TEST_SUPPORT_H

#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <string>

#if !defined(_WIN32)
#include <sys/wait.h>
#endif

#include "ZZTypes.h"
#include "host/base/Platform.h"

namespace zz::test {

// The module built beside the test executable.
inline std::string modulePath() {
    return besideExecutable("KT07_Zigzag.aip");
}

// A segment whose handles lie on its anchor.
inline AIPathSegment corner(AIReal h, AIReal v) {
    AIPathSegment segment{};
    segment.p = segment.in = segment.out = AIRealPoint{h, v};
    return segment;
}

// The whole content of a file, or "" when it cannot be read.
inline std::string readFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

// A new, empty folder under the system's temporary folder that no other test or test process shares; removed
// with everything in it when the object goes.
class ScratchDir {
  public:
    ScratchDir() {
        namespace fs = std::filesystem;
        static std::atomic<unsigned> serial{0};
        std::random_device device;
        for (;;) {
            const auto salt =
                static_cast<unsigned long long>(std::chrono::steady_clock::now().time_since_epoch().count());
            path_ = fs::temp_directory_path() /
                    ("zz-test-" + std::to_string(device()) + "-" + std::to_string(salt % 1000000007ull) +
                     "-" + std::to_string(serial++));
            // create_directory answers false when the folder was already there: take another name.
            if (fs::create_directory(path_)) break;
        }
    }
    ~ScratchDir() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    ScratchDir(const ScratchDir&) = delete;
    ScratchDir& operator=(const ScratchDir&) = delete;

    const std::filesystem::path& path() const { return path_; }
    // `name` inside the folder, as a string.
    std::string file(const std::string& name) const { return (path_ / name).string(); }

  private:
    std::filesystem::path path_;
};

// Whether rsvg-convert can be run. The Windows test executable runs under wine, where it cannot.
inline bool haveRsvgConvert() {
#if defined(_WIN32)
    return false;
#else
    return std::system("command -v rsvg-convert >/dev/null 2>&1") == 0;
#endif
}

#if !defined(_WIN32)
// Runs the zigzag command built beside the tests with `arguments` (quoted by the caller), output discarded;
// its exit status, or -1 when it did not exit normally.
inline int runZigzag(const std::string& arguments) {
    const std::string command = "'" + besideExecutable("zigzag") + "' " + arguments + " >/dev/null 2>&1";
    const int status = std::system(command.c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// What a shell command wrote on its standard output; its exit status goes to *status.
inline std::string commandOutput(const std::string& command, int* status) {
    std::FILE* pipe = popen(command.c_str(), "r");
    std::string output;
    if (pipe == nullptr) {
        *status = -1;
        return output;
    }
    char buffer[4096];
    for (size_t read; (read = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;)
        output.append(buffer, read);
    const int result = pclose(pipe);
    *status = WIFEXITED(result) ? WEXITSTATUS(result) : -1;
    return output;
}

// The zigzag command run as runZigzag does, giving what it wrote on standard output; its exit status goes to
// *status.
inline std::string zigzagOutput(const std::string& arguments, int* status) {
    return commandOutput("'" + besideExecutable("zigzag") + "' " + arguments + " 2>/dev/null", status);
}

// The same, giving what it wrote on standard error instead.
inline std::string zigzagErrors(const std::string& arguments, int* status) {
    return commandOutput("'" + besideExecutable("zigzag") + "' " + arguments + " 2>&1 >/dev/null", status);
}
#endif

} // namespace zz::test

#endif
