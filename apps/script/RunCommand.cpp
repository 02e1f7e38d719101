#include "apps/script/RunCommand.h"

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

std::optional<std::string> readFile(const std::string& path) {
    // A directory opens as a stream on some systems and then reads as empty text: it is no script.
    std::error_code ignored;
    if (std::filesystem::is_directory(path, ignored)) return std::nullopt;
    std::ifstream file(path, std::ios::binary);
    if (!file) return std::nullopt;
    std::ostringstream text;
    text << file.rdbuf();
    if (file.bad()) return std::nullopt;
    return text.str();
}

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
    const std::optional<std::string> text = readFile(options.script);
    if (!text) {
        err << "zigzag run: cannot read the script " << safeQuote(options.script) << "\n";
        return kRunUsage;
    }
    if (options.report)
        if (const auto refusal = outputRefusal(*options.report, {options.script, options.module})) {
            err << "zigzag run: --out " << *refusal << "\n";
            return kRunUsage;
        }
    std::optional<json> script;
    if (text->rfind(std::string("SQLite format 3\0", 16), 0) == 0) {
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
