#include "host/workbench/Convert.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <vector>

#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace zz {

namespace {

// A folder of its own under the temporary folder, removed with its files when the object goes.
class TempFolder {
  public:
    TempFolder() {
        std::string pattern = (std::filesystem::temp_directory_path() / "zz-workbench-XXXXXX").string();
        if (mkdtemp(pattern.data()) != nullptr) path_ = pattern;
    }
    ~TempFolder() {
        std::error_code ignored;
        if (!path_.empty()) std::filesystem::remove_all(path_, ignored);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;
    const std::filesystem::path& path() const { return path_; }

  private:
    std::filesystem::path path_;
};

} // namespace

std::optional<std::string> convertSvg(const std::string& svg, const std::string& format, std::string* error,
                                      const std::string& program) {
    const auto fail = [&](std::string why) -> std::optional<std::string> {
        if (error != nullptr) *error = std::move(why);
        return std::nullopt;
    };
    if (format != "png" && format != "pdf") return fail("unknown format \"" + format + "\"");
    TempFolder folder;
    if (folder.path().empty()) return fail("no temporary folder could be made");
    const std::string input = (folder.path() / "document.svg").string();
    const std::string output = (folder.path() / ("document." + format)).string();
    {
        std::ofstream out(input, std::ios::binary);
        out << svg;
        if (!out) return fail("the SVG could not be written to " + input);
    }
    std::vector<std::string> words = {program, "-f", format, "-o", output, input};
    std::vector<char*> argv;
    for (std::string& word : words)
        argv.push_back(word.data());
    argv.push_back(nullptr);
    pid_t child = 0;
    const int spawned = posix_spawnp(&child, program.c_str(), nullptr, nullptr, argv.data(), environ);
    if (spawned != 0) return fail(program + " could not be started: " + std::strerror(spawned));
    int status = 0;
    while (waitpid(child, &status, 0) < 0)
        if (errno != EINTR) return fail(program + " could not be waited for");
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
        return fail(program + " failed (exit status " +
                    std::to_string(WIFEXITED(status) ? WEXITSTATUS(status) : -1) + ")");
    std::ifstream in(output, std::ios::binary);
    std::stringstream bytes;
    bytes << in.rdbuf();
    if (!in) return fail(program + " wrote no " + format);
    return std::move(bytes).str();
}

} // namespace zz
