#include "apps/script/RunCommand.h"

#if !defined(_WIN32)
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <optional>
#include <ostream>
#include <sstream>

#include <CLI/CLI.hpp>

#include "host/base/AtomicFile.h"
#include "host/base/Utf8.h"
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

#if defined(_WIN32)
// The script's text, or nothing with the reason. Windows has no pipes in its file system to wait on; a
// directory or a device is still no script.
std::optional<std::string> readFile(const std::string& path, std::string* why) {
    std::error_code code;
    const std::filesystem::file_status status = std::filesystem::status(path, code);
    if (code) {
        *why = code.message();
        return std::nullopt;
    }
    if (status.type() == std::filesystem::file_type::directory) {
        *why = "is a directory, not a script";
        return std::nullopt;
    }
    if (status.type() != std::filesystem::file_type::regular) {
        *why = "is not a regular file";
        return std::nullopt;
    }
    std::ifstream file(path, std::ios::binary);
    std::ostringstream text;
    text << file.rdbuf();
    if (!file || file.bad()) {
        *why = "cannot be read";
        return std::nullopt;
    }
    return text.str();
}
#else
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
#endif

// Why an export event of the script may not write its picture where it asks (over the script, the module or
// the report), or nothing.
std::optional<std::string> exportRefusal(const json& script, const RunOptions& options) {
    if (!script.is_object() || !script.contains("events") || !script["events"].is_array())
        return std::nullopt;
    const json& events = script["events"];
    for (std::size_t index = 0; index < events.size(); ++index) {
        const json& event = events[index];
        if (!event.is_object() || event.value("do", json()) != "export" || !event.contains("svg") ||
            !event["svg"].is_string())
            continue;
        const std::string& svg = event["svg"].get_ref<const std::string&>();
        if (const auto refusal =
                outputRefusal(svg, {options.script, options.module, options.report.value_or("")}))
            return "events[" + std::to_string(index) + "] (\"export\"): \"svg\" " + *refusal;
    }
    return std::nullopt;
}

// The script could not be played: `error` says why, and whether the script or the host is at fault.
int sessionFailed(const std::string& scriptPath, const SessionError& error, std::ostream& err) {
    // The message may quote the script's own words: no control byte reaches the terminal.
    err << "zigzag run: " << safeQuote(scriptPath) << ": " << safeQuote(error.message, 4000) << "\n";
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
        err << "zigzag run: cannot write the report " << safeQuote(*options.report) << ": " << why << "\n";
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
        err << "zigzag run: cannot read the script " << safeQuote(options.script) << ": " << unread << "\n";
        return kRunUsage;
    }
    if (options.report)
        if (const auto refusal = outputRefusal(*options.report, {options.script, options.module})) {
            err << "zigzag run: --out " << *refusal << "\n";
            return kRunUsage;
        }
    std::optional<json> script;
    if (text->rfind(std::string(kDocumentHeader, 16), 0) == 0) {
        std::string why = "a workbench document is played by the Linux build of zigzag only";
        if (readDocument != nullptr) script = readDocument(options.script, &why);
        if (!script) {
            err << "zigzag run: " << safeQuote(why, 4000) << "\n";
            return kRunUsage;
        }
    } else {
        SessionError error;
        script = parseScript(*text, &error);
        if (!script) return sessionFailed(options.script, error, err);
    }
    if (const auto refusal = exportRefusal(*script, options)) {
        err << "zigzag run: " << safeQuote(options.script) << ": " << *refusal << "\n";
        return kRunUsage;
    }
    return options.report ? playIntoFile(*script, options, err) : playToStream(*script, options, out, err);
}

} // namespace zz
