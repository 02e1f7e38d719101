// The zigzag command: runs session scripts against the plug-in module, lists a module's resources, draws with
// the tool, shows its presets and its options dialog, and serves the workbench.
#include <exception>
#include <iomanip>
#include <iostream>
#include <string>
#include <vector>

#include "host/base/Platform.h"
#include "apps/commandline/CommandLine.h"
#include "apps/script/RunCommand.h"
#ifdef ZZ_WORKBENCH
#include "apps/storage/DocumentStore.h"
#endif

#include "apps/cli/DrawCommand.h"
#include "apps/cli/DialogCommand.h"
#include "apps/cli/PresetsCommand.h"
#include "apps/cli/ResourcesCommand.h"
#include "apps/validate/ValidateCommand.h"
#if ZZ_WORKBENCH
#include "apps/workbench/ServeCommand.h"
#endif

namespace {

using Args = std::vector<std::string>;

constexpr const char* kModuleName = "KT07_Zigzag.aip";

int run(const Args& args, const std::string& module, std::ostream& out, std::ostream& err) {
#ifdef ZZ_WORKBENCH
    return zz::runRunCommand(args, module, out, err, zz::readDocumentScript);
#else
    return zz::runRunCommand(args, module, out, err);
#endif
}

int resources(const Args& args, const std::string&, std::ostream& out, std::ostream& err) {
    return runResourcesCommand(args, out, err);
}

// A command: its name, what it does, and the function that runs it on the words after its name, given the
// module beside the zigzag executable.
struct Command {
    const char* name;
    const char* summary;
    int (*run)(const Args& args, const std::string& defaultModule, std::ostream& out, std::ostream& err);
};

const Command kCommands[] = {
    {"run", "plays a session script against the module and writes its report", run},
    {"draw", "one drag with the zigzag tool, written as an SVG picture", runDrawCommand},
    {"presets", "the presets the options dialog offers and what each one changes", runPresetsCommand},
    {"dialog", "a picture of one page of the options dialog", runDialogCommand},
    {"resources", "lists the resources a module carries", resources},
    {"validate", "checks that a module keeps the host interface's promises", zz::runValidateCommand},
#if ZZ_WORKBENCH
    {"serve", "the workbench: the tool in a browser", zz::runServeCommand},
#endif
};

void printUsage(std::ostream& stream) {
    stream << "Usage: zigzag COMMAND [OPTIONS]\n\nCommands:\n";
    for (const Command& command : kCommands)
        stream << "  " << std::left << std::setw(11) << command.name << command.summary << "\n";
    stream << "\n\"zigzag COMMAND --help\" lists a command's options.\n";
}

int dispatch(const Args& words) {
    if (words.empty()) {
        std::cerr << "zigzag: no command given\n";
        printUsage(std::cerr);
        return zz::kCommandUsage;
    }
    const std::string& name = words[0];
    if (name == "--help" || name == "-h" || name == "help") {
        printUsage(std::cout);
        return zz::kCommandOk;
    }
    for (const Command& command : kCommands)
        if (name == command.name)
            return command.run(Args(words.begin() + 1, words.end()), zz::besideExecutable(kModuleName),
                               std::cout, std::cerr);
    std::cerr << "zigzag: unknown command \"" << name << "\"\n";
    printUsage(std::cerr);
    return zz::kCommandUsage;
}

} // namespace

int main(int argc, char** argv) {
    try {
        return dispatch(Args(argv + 1, argv + argc));
    } catch (const std::exception& problem) {
        std::cerr << "zigzag: " << problem.what() << "\n";
    } catch (...) {
        std::cerr << "zigzag: unexpected failure\n";
    }
    return zz::kCommandFailed;
}
