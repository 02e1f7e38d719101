// A table of everything a module file carries: type, number (or name), language and size of each resource.
#ifndef ZZ_HOST_RESOURCES_RESOURCE_LISTING_H
#define ZZ_HOST_RESOURCES_RESOURCE_LISTING_H

#include <ostream>
#include <string>

#include "host/resources/ModuleResources.h"

namespace zz {

// Writes one line per resource under a heading line: "TYPE NUMBER LANGUAGE SIZE", columns separated by
// blanks.
void writeResourceListing(const ModuleResources& resources, std::ostream& out);

// Opens the module or .res file at `path` and lists it on `out`. Returns 0, or 2 after saying on `err` why
// the file could not be read (missing, unreadable, not a module, malformed resources).
int listModuleResources(const std::string& path, std::ostream& out, std::ostream& err);

} // namespace zz

#endif
