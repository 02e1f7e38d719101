#include "apps/cli/ResourcesCommand.h"

#include <sstream>

#include <CLI/CLI.hpp>

#include "apps/commandline/CommandLine.h"
#include "host/base/Utf8.h"
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
    // The whole table is made before any of it is shown: a module refused part-way shows no heading.
    std::ostringstream table;
    try {
        const zz::ModuleResources resources = zz::ModuleResources::openFile(module);
        zz::writeResourceListing(resources, table);
    } catch (const zz::ResourceError& error) {
        err << "zigzag resources: " << zz::safeQuote(error.what(), 1000) << "\n";
        return zz::kCommandUsage;
    }
    out << table.str();
    return zz::kCommandOk;
}
