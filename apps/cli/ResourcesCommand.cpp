#include "apps/cli/ResourcesCommand.h"

#include <CLI/CLI.hpp>

#include "apps/commandline/CommandLine.h"
#include "host/resources/ResourceListing.h"

int runResourcesCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    zz::CommandLine line("zigzag resources", "Lists the resources a module carries: one line each with its "
                                             "type, number, language and size.");
    std::string module;
    line.app()
        .add_option("MODULE", module, "the module (a .res file is read too)")
        ->type_name("")
        ->required();
    if (const std::optional<int> status = line.read(args, out, err)) return *status;
    return zz::listModuleResources(module, out, err);
}
