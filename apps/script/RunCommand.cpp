#include "apps/script/RunCommand.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <optional>
#include <ostream>
#include <sstream>

#include <CLI/CLI.hpp>

#include "host/base/AtomicFile.h"
#include "apps/commandline/CommandLine.h"
#include "apps/script/Session.h"

namespace zz {

namespace {

using nlohmann::json;

// How a workbench document (an SQLite database) begins.
constexpr char kDocumentHeader[] = "SQLite format 3";

struct RunOptions {
    std::string script;
    std::optional<std::string> report; // the file --out names; standard output without it
    std::string module;
};

// The options `args` give; a status to end with instead when they are no run's words (or ask for help).
std::optional<int> readOptions(const std::vector<std::string>& args, const std::string& defaultModule,
                               RunOptions& options, std::ostream& out, std::ostream& err) {
    CommandLine line("zigzag run",
                     "Plays a session script against the plug-in module in a fresh host and writes "
                     "its report.");
    std::string report, module;
    CLI::App& app = line.app();
    app.add_option("SCRIPT", options.script, "the session script, or a workbench document (.zigzag) to play")
        ->type_name("")
        ->required();
    CLI::Option* reportOption =
        app.add_option("--out", report,
                       "writes the report into this file (through a temporary file beside it),\n"
                       "not to standard output; not the script itself")
            ->type_name("REPORT.json");
    CLI::Option* moduleOption =
        app.add_option("--module", module, "the plug-in module (KT07_Zigzag.aip beside zigzag)")
            ->type_name("PATH");
    if (const std::optional<int> status = line.read(args, out, err)) return status;
    for (const CLI::Option* option : {reportOption, moduleOption})
        if (option->count() > 1) return line.mistake(option->get_name() + " given twice", err);
    if (reportOption->count() > 0) options.report = report;
    options.module = module.empty() ? defaultModule : module;
    return std::nullopt;
}

// What is wrong with `path` as a script or document to read: it must be a regular file (a link to one is
// followed). A pipe or a device would block the reader or never end, a directory reads as nothing.
std::optional<std::string> notAFile(const struct stat& info) {
    if (S_ISREG(info.st_mode)) return std::nullopt;
    if (S_ISDIR(info.st_mode)) return "is a directory, not a script";
    if (S_ISFIFO(info.st_mode)) return "is a named pipe (FIFO), not a script";
    if (S_ISCHR(info.st_mode) || S_ISBLK(info.st_mode)) return "is a device, not a script";
    return "is not a regular file";
}

// The script's text, or nothing with the reason. A workbench document (an SQLite file) is read no further
// than its header: the document reader reads the rest, with its own checks.
std::optional<std::string> readFile(const std::string& path, std::string* why) {
    // Opened without blocking, so that a pipe put in place of the file is refused rather than waited on.
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) {
        *why = std::strerror(errno);
        return std::nullopt;
    }
    struct stat info {};
    std::optional<std::string> problem =
        fstat(fd, &info) != 0 ? std::optional<std::string>(std::strerror(errno)) : notAFile(info);
    std::string text;
    char buffer[65536];
    while (!problem) {
        const ssize_t got = ::read(fd, buffer, sizeof buffer);
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) problem = std::strerror(errno);
        if (got <= 0) break;
        text.append(buffer, static_cast<std::size_t>(got));
        if (text.rfind(std::string(kDocumentHeader, 16), 0) == 0) break;
    }
    ::close(fd);
    if (problem) {
        *why = *problem;
        return std::nullopt;
    }
    return text;
}

// Whether two paths name one file (both must exist for the system to say so; else their spellings decide).
bool sameFile(const std::string& a, const std::string& b) {
    std::error_code code;
    if (std::filesystem::equivalent(a, b, code)) return true;
    return std::filesystem::weakly_canonical(a, code) == std::filesystem::weakly_canonical(b, code) && !code;
}

// The script could not be played: `error` says why, and whether the script or the host is at fault.
int sessionFailed(const std::string& scriptPath, const SessionError& error, std::ostream& err) {
    err << "zigzag run: " << scriptPath << ": " << error.message << "\n";
    return error.kind == SessionError::Kind::Script ? kRunUsage : kRunFailed;
}

int playToStream(const json& script, const RunOptions& options, std::ostream& out, std::ostream& err) {
    SessionError error;
    if (!runSessionTo(out, script, options.module, &error)) return sessionFailed(options.script, error, err);
    out << "\n";
    out.flush();
    if (!out) {
        err << "zigzag run: cannot write the report to standard output\n";
        return kRunFailed;
    }
    return kRunOk;
}

// The report goes to a temporary file renamed over --out's only once the session has played.
int playIntoFile(const json& script, const RunOptions& options, std::ostream& err) {
    SessionError error;
    bool ran = false, played = false;
    std::string why;
    const bool written = writeFileAtomically(
        *options.report,
        [&](std::ostream& file, std::string* reason) {
            ran = true;
            played = runSessionTo(file, script, options.module, &error);
            if (!played) *reason = error.message;
            file << "\n";
            return played;
        },
        &why);
    if ((played || !ran) && !written) {
        err << "zigzag run: cannot write the report " << *options.report << ": " << why << "\n";
        return kRunFailed;
    }
    return played ? kRunOk : sessionFailed(options.script, error, err);
}

} // namespace

int runRunCommand(const std::vector<std::string>& args, const std::string& defaultModule, std::ostream& out,
                  std::ostream& err, DocumentScriptReader readDocument) {
    RunOptions options;
    if (const std::optional<int> status = readOptions(args, defaultModule, options, out, err)) return *status;
    std::string unread;
    const std::optional<std::string> text = readFile(options.script, &unread);
    if (!text) {
        err << "zigzag run: cannot read the script " << options.script << ": " << unread << "\n";
        return kRunUsage;
    }
    if (options.report && sameFile(*options.report, options.script)) {
        err << "zigzag run: --out " << *options.report
            << " names the script itself; the report would overwrite it\n";
        return kRunUsage;
    }
    std::optional<json> script;
    if (text->rfind(std::string(kDocumentHeader, 16), 0) == 0) {
        std::string why = "a workbench document is played by the Linux build of zigzag only";
        if (readDocument != nullptr) script = readDocument(options.script, &why);
        if (!script) {
            err << "zigzag run: " << why << "\n";
            return kRunUsage;
        }
    } else {
        SessionError error;
        script = parseScript(*text, &error);
        if (!script) return sessionFailed(options.script, error, err);
    }
    return options.report ? playIntoFile(*script, options, err) : playToStream(*script, options, out, err);
}

} // namespace zz
