#include "apps/validate/ValidateCommand.h"

#include "apps/commandline/CommandLine.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <iostream>
#include <random>
#include <sstream>

#include <CLI/CLI.hpp>
#include <nlohmann/json.hpp>

#if defined(_WIN32)
#include <io.h>
#include <process.h>
#define ZZ_ISATTY(fd) _isatty(fd)
#define ZZ_PID() _getpid()
#else
#include <unistd.h>
#define ZZ_ISATTY(fd) isatty(fd)
#define ZZ_PID() getpid()
#endif

#include "host/base/AtomicFile.h"
#include "host/base/Platform.h"
#include "host/base/Utf8.h"
#include "host/base/XmlText.h"
#include "apps/validate/Checks.h"
#include "apps/validate/ChildProcess.h"

namespace zz {

namespace {

using nlohmann::json;
namespace fs = std::filesystem;

struct Options {
    std::string module;
    int strictness = 5;
    uint64_t seed = 1;
    bool windows = false;
    std::string junit;
    std::string json;
    std::vector<std::string> checks;
    std::string windowsProgram;
    double timeout = 300.0;
    std::string child;  // hidden: run this one check here
    std::string result; // hidden: where the child writes its result
};

#if defined(_WIN32)
constexpr const char* kProgramName = "zigzag.exe";
#else
constexpr const char* kProgramName = "zigzag";
#endif

// The folder of the run's scratch files, removed with everything in it at the end.
class ScratchFolder {
  public:
    ScratchFolder() {
        std::random_device device;
        for (int attempt = 0; attempt < 100; ++attempt) {
            std::error_code code;
            path_ = fs::temp_directory_path(code) /
                    ("zz-validate-" + std::to_string(ZZ_PID()) + "-" + std::to_string(device() % 1000000));
            if (!code && fs::create_directory(path_, code)) return;
        }
        path_.clear();
    }
    ~ScratchFolder() {
        std::error_code ignored;
        if (!path_.empty()) fs::remove_all(path_, ignored);
    }
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;
    bool ok() const { return !path_.empty(); }
    std::string file(const std::string& name) const { return (path_ / name).string(); }

  private:
    fs::path path_;
};

std::string readText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

// The last lines of a child's output, for a check whose process went wrong.
std::string tailOf(const std::string& text, std::size_t lines) {
    std::size_t at = text.size();
    while (lines-- > 0 && at > 0) {
        const std::size_t previous = text.rfind('\n', at - 1);
        at = previous == std::string::npos ? 0 : previous;
    }
    std::string tail = text.substr(at);
    while (!tail.empty() && (tail.front() == '\n'))
        tail.erase(0, 1);
    return tail;
}

std::vector<std::string> commonArguments(const Options& options) {
    return {"validate",     options.module,
            "--strictness", std::to_string(options.strictness),
            "--seed",       std::to_string(options.seed)};
}

std::string repeatCommand(const Options& options, const std::string& id) {
    std::string command = shellQuoted(besideExecutable(kProgramName));
    for (const std::string& word : commonArguments(options))
        command += " " + shellQuoted(word);
    // The comparison with the Windows build is repeated by the whole run with --windows.
    if (id.rfind("windows/", 0) == 0) return command + " --windows";
    return command + " --check " + shellQuoted(id);
}

class Runner {
  public:
    Runner(const Options& options, const ScratchFolder& scratch) : options_(options), scratch_(scratch) {}

    CheckResult run(const std::string& id) {
        const std::string serial = std::to_string(++serial_);
        const std::string resultFile = scratch_.file(serial + ".json");
        const std::string logFile = scratch_.file(serial + ".log");
        std::vector<std::string> arguments = commonArguments(options_);
        arguments.insert(arguments.end(), {"--child", id, "--result", resultFile});
        const auto begin = std::chrono::steady_clock::now();
        const ChildExit exit = runChild(besideExecutable(kProgramName), arguments, logFile, options_.timeout);
        const double seconds =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - begin).count();
        CheckResult result;
        result.id = id;
        const std::string text = readText(resultFile);
        bool read = false;
        if (exit.exited && !text.empty()) {
            try {
                result = checkResultFromJson(json::parse(text));
                read = result.id == id;
            } catch (const std::exception&) {
                read = false;
            }
        }
        if (!read) {
            result = CheckResult{};
            result.id = id;
            std::string failure = "the check's process " + exit.how + " before it gave its result";
            const std::string output = tailOf(readText(logFile), 6);
            if (!output.empty()) failure += "; its last output:\n" + output;
            result.failures.push_back(failure);
            result.passed = false;
        }
        result.seconds = seconds;
        return result;
    }

  private:
    const Options& options_;
    const ScratchFolder& scratch_;
    int serial_ = 0;
};

// The progress line, on a terminal only.
class Progress {
  public:
    Progress() : shown_(ZZ_ISATTY(2) != 0) {}
    void show(std::size_t done, std::size_t planned, std::size_t failed, const std::string& id) {
        if (!shown_) return;
        std::string line = "[" + std::to_string(done) + "/" + std::to_string(planned) + "] " +
                           std::to_string(failed) + " failed  " + id;
        if (line.size() > 100) line = line.substr(0, 100);
        std::cerr << "\r" << line << std::string(width_ > line.size() ? width_ - line.size() : 0, ' ')
                  << std::flush;
        width_ = line.size();
    }
    void clear() {
        if (shown_ && width_ > 0) std::cerr << "\r" << std::string(width_, ' ') << "\r" << std::flush;
        width_ = 0;
    }

  private:
    bool shown_;
    std::size_t width_ = 0;
};

// ---- the reports
// ----------------------------------------------------------------------------------------------

json reportJson(const Options& options, const std::vector<CheckResult>& results, double seconds) {
    json checks = json::array();
    bool passed = true;
    for (const CheckResult& result : results) {
        passed = passed && result.passed;
        json check = {{"id", result.id},
                      {"passed", result.passed},
                      {"seconds", result.seconds},
                      {"failures", result.failures},
                      {"digest", result.digest}};
        if (!result.passed) check["repeat"] = repeatCommand(options, result.id);
        checks.push_back(std::move(check));
    }
    return json{{"module", options.module}, {"strictness", options.strictness},
                {"seed", options.seed},     {"passed", passed},
                {"seconds", seconds},       {"checks", std::move(checks)}};
}

std::string junitXml(const Options& options, const std::vector<CheckResult>& results, double seconds) {
    std::size_t failures = 0;
    for (const CheckResult& result : results)
        failures += result.passed ? 0 : 1;
    std::ostringstream xml;
    xml << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";
    xml << "<testsuites name=\"zigzag validate\" tests=\"" << results.size() << "\" failures=\"" << failures
        << "\" time=\"" << seconds << "\">\n";
    xml << "  <testsuite name=\"" << xmlEscaped(validUtf8(options.module)) << "\" tests=\"" << results.size()
        << "\" failures=\"" << failures << "\" time=\"" << seconds << "\">\n";
    xml << "    <properties>\n      <property name=\"strictness\" value=\"" << options.strictness
        << "\"/>\n      <property name=\"seed\" value=\"" << options.seed << "\"/>\n    </properties>\n";
    for (const CheckResult& result : results) {
        const std::string group = result.id.substr(0, result.id.find('/'));
        xml << "    <testcase classname=\"validate." << xmlEscaped(group) << "\" name=\""
            << xmlEscaped(result.id) << "\" time=\"" << result.seconds << "\"";
        if (result.passed) {
            xml << "/>\n";
            continue;
        }
        std::string text;
        for (const std::string& failure : result.failures)
            text += failure + "\n";
        text += "repeat: " + repeatCommand(options, result.id) + "\n";
        xml << ">\n      <failure message=\""
            << xmlEscaped(validUtf8(result.failures.empty() ? "failed" : result.failures[0])) << "\">"
            << xmlEscaped(validUtf8(text)) << "</failure>\n    </testcase>\n";
    }
    xml << "  </testsuite>\n</testsuites>\n";
    return xml.str();
}

void printSummary(std::ostream& out, const Options& options, const std::vector<CheckResult>& results,
                  double seconds) {
    std::size_t failed = 0;
    for (const CheckResult& result : results)
        if (!result.passed) {
            ++failed;
            out << "FAIL " << safeQuote(result.id) << "\n";
            std::size_t shown = 0;
            for (const std::string& failure : result.failures) {
                if (++shown > 8) {
                    out << "    ... and " << (result.failures.size() - 8) << " more\n";
                    break;
                }
                std::istringstream lines(failure);
                std::string line;
                bool first = true;
                while (std::getline(lines, line)) {
                    out << (first ? "    " : "      ") << safeQuote(line, 4000) << "\n";
                    first = false;
                }
            }
            out << "    repeat: " << repeatCommand(options, result.id) << "\n";
        }
    std::vector<const CheckResult*> slowest;
    for (const CheckResult& result : results)
        slowest.push_back(&result);
    std::sort(slowest.begin(), slowest.end(),
              [](const CheckResult* a, const CheckResult* b) { return a->seconds > b->seconds; });
    if (slowest.size() > 5) slowest.resize(5);
    if (!slowest.empty()) out << "Slowest checks:\n";
    for (const CheckResult* result : slowest) {
        char line[64];
        std::snprintf(line, sizeof line, "  %8.2f s  ", result->seconds);
        out << line << result->id << "\n";
    }
    char totals[160];
    std::snprintf(totals, sizeof totals,
                  "%zu checks: %zu passed, %zu failed in %.1f s (strictness %d, seed %llu)\n", results.size(),
                  results.size() - failed, failed, seconds, options.strictness,
                  static_cast<unsigned long long>(options.seed));
    out << totals;
}

// ---- the run under wine
// ---------------------------------------------------------------------------------------

// The command line of the same validation run by the Windows program, its report written to `reportFile`.
std::vector<std::string> windowsArguments(const Options& options, const std::string& program,
                                          const std::string& module, const std::string& reportFile) {
    std::vector<std::string> arguments = {program,
                                          "validate",
                                          module,
                                          "--strictness",
                                          std::to_string(options.strictness),
                                          "--seed",
                                          std::to_string(options.seed),
                                          "--json",
                                          reportFile};
    for (const std::string& id : options.checks)
        arguments.insert(arguments.end(), {"--check", id});
    return arguments;
}

// Notes in `comparison` every check whose outcome differs between this run and the Windows `report`.
void compareReports(const json& report, const std::vector<CheckResult>& results, CheckResult& comparison) {
    std::map<std::string, json> windows;
    for (const json& check : report["checks"])
        windows[check["id"].get<std::string>()] = check;
    std::vector<std::string> differences;
    for (const CheckResult& result : results) {
        const auto found = windows.find(result.id);
        if (found == windows.end()) {
            differences.push_back(result.id + ": not run on Windows");
            continue;
        }
        const json& other = found->second;
        if (other["passed"].get<bool>() != result.passed)
            differences.push_back(result.id + ": " + (result.passed ? "passed" : "failed") + " on Linux, " +
                                  (other["passed"].get<bool>() ? "passed" : "failed") + " on Windows");
        else if (other["digest"].get<std::string>() != result.digest)
            differences.push_back(result.id + ": what the module did differs between Linux and Windows");
        windows.erase(found);
    }
    for (const auto& [id, check] : windows)
        differences.push_back(id + ": run on Windows only");
    for (std::size_t i = 0; i < differences.size() && i < 20; ++i)
        comparison.failures.push_back(differences[i]);
    if (differences.size() > 20)
        comparison.failures.push_back("... and " + std::to_string(differences.size() - 20) +
                                      " more differences");
    for (const json& check : report["checks"])
        if (!check["passed"].get<bool>())
            comparison.failures.push_back(
                "on Windows " + check["id"].get<std::string>() + " failed: " +
                (check["failures"].empty() ? std::string("?") : check["failures"][0].get<std::string>()));
    comparison.digest = report.value("passed", false) ? "passed" : "failed";
}

// Runs the Windows program under wine and compares its report, or notes why there is none.
void runOnWindows(const Options& options, const std::string& program, const std::string& module,
                  const std::vector<CheckResult>& results, const ScratchFolder& scratch,
                  CheckResult& comparison) {
    const std::string reportFile = scratch.file("windows.json");
    const std::string logFile = scratch.file("windows.log");
    const ChildExit exit = runChild("wine", windowsArguments(options, program, module, reportFile), logFile,
                                    options.timeout * 20);
    json report;
    try {
        report = json::parse(readText(reportFile));
    } catch (const std::exception&) {
        report = nullptr;
    }
    if (!report.is_object() || !report.contains("checks")) {
        comparison.failures.push_back("the Windows run " + exit.how +
                                      " without a report; its last output:\n" + tailOf(readText(logFile), 8));
    } else {
        compareReports(report, results, comparison);
    }
}

// Runs the same validation with the Windows build under wine and compares its report with this one.
CheckResult compareWithWindows(const Options& options, const std::vector<CheckResult>& results,
                               const ScratchFolder& scratch) {
    CheckResult comparison;
    comparison.id = "windows/same-report";
    const auto begin = std::chrono::steady_clock::now();
    std::string program = options.windowsProgram;
    if (program.empty())
        program =
            (fs::path(executableDirectory()) / ".." / "windows" / "zigzag.exe").lexically_normal().string();
    const std::string module =
        (fs::path(program).parent_path() / fs::path(options.module).filename()).string();
    std::error_code code;
    if (!fs::is_regular_file(program, code)) {
        comparison.failures.push_back("no Windows program at " + program +
                                      " (build build/windows, or give --windows-program)");
    } else if (!fs::is_regular_file(module, code)) {
        comparison.failures.push_back("no Windows module at " + module);
    } else {
        runOnWindows(options, program, module, results, scratch, comparison);
    }
    comparison.passed = comparison.failures.empty();
    comparison.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - begin).count();
    return comparison;
}

int runChildCheck(const Options& options) {
    prepareChildProcess();
    const CheckContext context{options.module, options.strictness, static_cast<uint32_t>(options.seed)};
    const auto begin = std::chrono::steady_clock::now();
    CheckResult result = runCheck(context, options.child);
    result.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - begin).count();
    std::string error;
    if (!writeFileAtomically(options.result,
                             checkResultToJson(result).dump(-1, ' ', false, json::error_handler_t::replace),
                             &error)) {
        std::cerr << "zigzag validate: " << error << "\n";
        return 1;
    }
    return result.passed ? 0 : 1;
}

// Declares the command's options, read into `options`.
void addOptions(CLI::App& app, Options& options) {
    app.add_option("MODULE", options.module, "the module file (default: KT07_Zigzag.aip beside zigzag)")
        ->type_name("");
    app.add_option("--strictness", options.strictness,
                   "1 (quick) to 10 (every call of every operation failed)")
        ->check(CLI::Range(1, 10).description(""))
        ->type_name("N");
    app.add_option("--seed", options.seed, "seed of the random sessions, 0 to 4294967295 (1)")
        ->check(CLI::Range(uint64_t{0}, uint64_t{0xFFFFFFFFu}).description(""))
        ->type_name("S");
    app.add_flag("--windows", options.windows,
                 "also run the Windows build under wine with the Windows module and compare the reports");
    app.add_option("--windows-program", options.windowsProgram,
                   "the Windows zigzag.exe (default: build/windows beside this build)")
        ->type_name("EXE");
    app.add_option("--junit", options.junit, "write the results as JUnit XML")->type_name("FILE");
    app.add_option("--json", options.json, "write the results as JSON")->type_name("FILE");
    app.add_option("--check", options.checks,
                   "run only this check (repeatable), as a failure's repeat line names it")
        ->multi_option_policy(CLI::MultiOptionPolicy::TakeAll)
        ->type_name("ID");
    app.add_option("--timeout", options.timeout, "seconds a check may take before it is stopped (300)")
        ->check(CLI::Range(1.0, 86400.0).description(""))
        ->type_name("SECONDS");
    app.add_option("--child", options.child)->group("");
    app.add_option("--result", options.result)->group("");
    // A module path such as /work/m.aip is a path, not an option, on Windows too.
    app.allow_windows_style_options(false);
}

// The exit status when the module or a report file cannot be used, after saying why.
std::optional<int> refuseBadFiles(const Options& options, std::ostream& err) {
    std::error_code code;
    if (!fs::is_regular_file(options.module, code)) {
        err << "zigzag validate: no module file " << safeQuote(options.module, 4000) << "\n";
        return 2;
    }
#if defined(_WIN32)
    if (options.windows) {
        err << "zigzag validate: --windows runs the Windows build from the Linux one\n";
        return 2;
    }
#endif
    // A report never replaces the module or the program it runs, nor anything that is not a regular file.
    for (const auto& [name, file] :
         {std::pair{"--junit", &options.junit}, std::pair{"--json", &options.json}})
        if (!file->empty())
            if (const auto refusal = outputRefusal(*file, {options.module, options.windowsProgram})) {
                err << "zigzag validate: " << name << " " << *refusal << "\n";
                return 2;
            }
    return std::nullopt;
}

// Runs the checks asked for, or every check, each in a process of its own, showing the progress.
std::vector<CheckResult> runChecks(const Options& options, const ScratchFolder& scratch) {
    const CheckContext context{options.module, options.strictness, static_cast<uint32_t>(options.seed)};
    Runner runner(options, scratch);
    Progress progress;
    std::vector<CheckResult> results;
    std::size_t failed = 0;
    const auto runAll = [&](const std::vector<std::string>& ids, std::size_t planned) {
        for (const std::string& id : ids) {
            progress.show(results.size(), planned, failed, id);
            results.push_back(runner.run(id));
            failed += results.back().passed ? 0 : 1;
        }
    };
    if (!options.checks.empty()) {
        runAll(options.checks, options.checks.size());
    } else {
        const std::vector<std::string> first = firstChecks(context);
        runAll(first, first.size());
        const std::vector<std::string> later = laterChecks(context, results);
        runAll(later, first.size() + later.size());
    }
    progress.clear();
    return results;
}

// Writes the JSON and JUnit reports asked for; the exit status for the results and the writing.
int writeReports(const Options& options, const std::vector<CheckResult>& results, double seconds,
                 std::ostream& err) {
    bool passed = true;
    for (const CheckResult& result : results)
        passed = passed && result.passed;
    int status = passed ? 0 : 1;
    std::string error;
    if (!options.json.empty() &&
        !writeFileAtomically(
            options.json,
            reportJson(options, results, seconds).dump(2, ' ', false, json::error_handler_t::replace) + "\n",
            &error)) {
        err << "zigzag validate: " << error << "\n";
        status = 1;
    }
    if (!options.junit.empty() &&
        !writeFileAtomically(options.junit, junitXml(options, results, seconds), &error)) {
        err << "zigzag validate: " << error << "\n";
        status = 1;
    }
    return status;
}

} // namespace

int runValidateCommand(const std::vector<std::string>& args, const std::string& defaultModule,
                       std::ostream& out, std::ostream& err) {
    Options options;
    CommandLine line(
        "zigzag validate",
        "Checks a plug-in module against the host interface, each check in a process of its own.");
    addOptions(line.app(), options);
    if (std::optional<int> status = line.read(args, out, err)) return *status;
    if (options.module.empty()) options.module = defaultModule;
    std::error_code code;
    const fs::path absolute = fs::absolute(options.module, code);
    if (!code) options.module = absolute.lexically_normal().string();
    if (!options.child.empty()) {
        if (options.result.empty()) {
            err << "zigzag validate: --child needs --result\n";
            return 2;
        }
        return runChildCheck(options);
    }
    if (std::optional<int> status = refuseBadFiles(options, err)) return *status;

    ScratchFolder scratch;
    if (!scratch.ok()) {
        err << "zigzag validate: no scratch folder could be made in "
            << fs::temp_directory_path(code).string() << "\n";
        return 1;
    }
    out << "Validating " << safeQuote(options.module, 4000) << " at strictness " << options.strictness
        << ", seed " << options.seed << "\n"
        << std::flush;
    const auto begin = std::chrono::steady_clock::now();
    std::vector<CheckResult> results = runChecks(options, scratch);
    if (options.windows) {
        out << "Running the same checks with the Windows build under wine...\n" << std::flush;
        results.push_back(compareWithWindows(options, results, scratch));
    }
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - begin).count();
    printSummary(out, options, results, seconds);
    return writeReports(options, results, seconds, err);
}

} // namespace zz
