// The zigzag command: runs session scripts against the plug-in module, lists a module's resources, and draws
// with the tool.
#include <exception>
#include <iostream>
#include <string>
#include <vector>

#include "host/base/Platform.h"
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

constexpr const char* kModuleName = "KT07_Zigzag.aip";

void printUsage(std::ostream& stream) {
    stream << "usage: zigzag run SCRIPT.json|DOCUMENT.zigzag [--out REPORT.json] [--module PATH]\n"
              "       zigzag resources MODULE\n"
              "       zigzag draw --to X,Y [options] -o OUT.svg   (zigzag draw --help for the options)\n"
              "       zigzag presets [--module PATH]\n"
              "       zigzag dialog --page P [--preset N] [--module PATH] -o OUT.svg\n"
#if ZZ_WORKBENCH
              "       zigzag serve [--port N] [--host ADDR] [--module PATH]\n"
#endif
        ;
}

int dispatch(const std::vector<std::string>& words) {
    if (words.empty()) {
        std::cerr << "zigzag: no command given\n";
        printUsage(std::cerr);
        return zz::kRunUsage;
    }
    const std::string& command = words[0];
    const std::vector<std::string> args(words.begin() + 1, words.end());
    if (command == "--help" || command == "-h" || command == "help") {
        printUsage(std::cout);
        return zz::kRunOk;
    }
    if (command == "run")
#ifdef ZZ_WORKBENCH
        return zz::runRunCommand(args, zz::besideExecutable(kModuleName), std::cout, std::cerr,
                                 zz::readDocumentScript);
#else
        return zz::runRunCommand(args, zz::besideExecutable(kModuleName), std::cout, std::cerr);
#endif
    if (command == "resources") {
        return runResourcesCommand(args, std::cout, std::cerr);
    }
    if (command == "draw") {
        return runDrawCommand(args, zz::besideExecutable(kModuleName), std::cout, std::cerr);
    }
    if (command == "dialog")
        return runDialogCommand(args, zz::besideExecutable(kModuleName), std::cout, std::cerr);
#if ZZ_WORKBENCH
    if (command == "serve")
        return zz::runServeCommand(args, zz::besideExecutable(kModuleName), std::cout, std::cerr);
#endif
    if (command == "validate")
        return zz::runValidateCommand(args, zz::besideExecutable(kModuleName), std::cout, std::cerr);
    if (command == "presets")
        return runPresetsCommand(args, zz::besideExecutable(kModuleName), std::cout, std::cerr);
    std::cerr << "zigzag: unknown command \"" << command << "\"\n";
    printUsage(std::cerr);
    return zz::kRunUsage;
}

} // namespace

int main(int argc, char** argv) {
    try {
        return dispatch(std::vector<std::string>(argv + 1, argv + argc));
    } catch (const std::exception& problem) {
        std::cerr << "zigzag: " << problem.what() << "\n";
    } catch (...) {
        std::cerr << "zigzag: unexpected failure\n";
    }
    return zz::kRunFailed;
}
