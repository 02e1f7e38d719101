#include "apps/cli/ResourcesCommand.h"

#include "host/resources/ResourceListing.h"

int runResourcesCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    if (args.size() != 1 || args[0].empty()) {
        err << "usage: zigzag resources MODULE\n";
        return 2;
    }
    return zz::listModuleResources(args[0], out, err);
}
