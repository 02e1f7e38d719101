#include "host/resources/ResourceListing.h"

#include <iomanip>

namespace zz {

void writeResourceListing(const ModuleResources& resources, std::ostream& out) {
    out << std::left << std::setw(14) << "TYPE" << std::setw(10) << "NUMBER" << std::setw(10) << "LANGUAGE"
        << "SIZE\n";
    for (const ResourceEntry& entry : resources.list())
        out << std::setw(14) << resourceTypeName(entry.type) << std::setw(10) << entry.name.toString()
            << std::setw(10) << entry.language << entry.data.size() << "\n";
}

int listModuleResources(const std::string& path, std::ostream& out, std::ostream& err) {
    try {
        const ModuleResources resources = ModuleResources::openFile(path);
        writeResourceListing(resources, out);
        return 0;
    } catch (const ResourceError& error) {
        err << "zigzag resources: " << error.what() << "\n";
        return 2;
    }
}

} // namespace zz
