// "zigzag resources MODULE": lists the resources a module carries.
#ifndef ZZ_APPS_CLI_RESOURCES_COMMAND_H
#define ZZ_APPS_CLI_RESOURCES_COMMAND_H

#include <ostream>
#include <string>
#include <vector>

// `args` are the words after "resources": the module's path (a .res file is read too), or --help. Writes
// one line per resource (type, number, language, size) to `out`. Returns 0; 2 with a message on `err` for a
// wrong argument count, a missing or unreadable file, or a file that is not a module or has malformed
// resources.
int runResourcesCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

#endif
