#include "apps/script/RunCommand.h"

#include <filesystem>
#include <fstream>
#include <optional>
#include <ostream>
#include <sstream>

#include "host/base/AtomicFile.h"
#include "apps/script/Session.h"

namespace zz {

namespace {

constexpr const char* kUsage = "usage: zigzag run SCRIPT.json [--out REPORT.json] [--module PATH]";

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

// Whether two paths name one file (both must exist for the system to say so; else their spellings decide).
bool sameFile(const std::string& a, const std::string& b) {
    std::error_code code;
    if (std::filesystem::equivalent(a, b, code)) return true;
    return std::filesystem::weakly_canonical(a, code) == std::filesystem::weakly_canonical(b, code) && !code;
}

} // namespace

int runRunCommand(const std::vector<std::string>& args, const std::string& defaultModule, std::ostream& out,
                  std::ostream& err, DocumentScriptReader readDocument) {
    std::optional<std::string> scriptPath, outPath, modulePath;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg == "--out" || arg == "--module") {
            if (i + 1 >= args.size() || args[i + 1].empty()) {
                err << "zigzag run: " << arg << " needs a path\n" << kUsage << "\n";
                return kRunUsage;
            }
            std::optional<std::string>& target = arg == "--out" ? outPath : modulePath;
            if (target) {
                err << "zigzag run: " << arg << " given twice\n" << kUsage << "\n";
                return kRunUsage;
            }
            target = args[++i];
        } else if (arg.size() > 1 && arg[0] == '-') {
            err << "zigzag run: unknown option " << arg << "\n" << kUsage << "\n";
            return kRunUsage;
        } else if (scriptPath) {
            err << "zigzag run: more than one script (" << *scriptPath << ", " << arg << ")\n"
                << kUsage << "\n";
            return kRunUsage;
        } else {
            scriptPath = arg;
        }
    }
    if (!scriptPath) {
        err << "zigzag run: no script given\n" << kUsage << "\n";
        return kRunUsage;
    }
    const std::optional<std::string> text = readFile(*scriptPath);
    if (!text) {
        err << "zigzag run: cannot read the script " << *scriptPath << "\n";
        return kRunUsage;
    }

    if (outPath && sameFile(*outPath, *scriptPath)) {
        err << "zigzag run: --out " << *outPath
            << " names the script itself; the report would overwrite it\n";
        return kRunUsage;
    }

    SessionError error;
    std::optional<nlohmann::json> script;
    if (text->rfind(std::string("SQLite format 3\0", 16), 0) == 0) {
        std::string why = "a workbench document is played by the Linux build of zigzag only";
        if (readDocument != nullptr) script = readDocument(*scriptPath, &why);
        if (!script) {
            err << "zigzag run: " << why << "\n";
            return kRunUsage;
        }
    } else {
        script = parseScript(*text, &error);
    }
    bool played = false;
    if (script) {
        const std::string module = modulePath.value_or(defaultModule);
        if (!outPath) {
            played = runSessionTo(out, *script, module, &error);
            if (played) {
                out << "\n";
                out.flush();
                if (!out) {
                    err << "zigzag run: cannot write the report to standard output\n";
                    return kRunFailed;
                }
            }
        } else {
            std::string why;
            bool ran = false;
            const bool written = writeFileAtomically(
                *outPath,
                [&](std::ostream& file, std::string* reason) {
                    ran = true;
                    played = runSessionTo(file, *script, module, &error);
                    if (!played) *reason = error.message;
                    file << "\n";
                    return played;
                },
                &why);
            if ((played || !ran) && !written) {
                err << "zigzag run: cannot write the report " << *outPath << ": " << why << "\n";
                return kRunFailed;
            }
        }
    }
    if (!played) {
        err << "zigzag run: " << *scriptPath << ": " << error.message << "\n";
        return error.kind == SessionError::Kind::Script ? kRunUsage : kRunFailed;
    }
    return kRunOk;
}

} // namespace zz
