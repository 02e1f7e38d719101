// `zigzag validate [MODULE] [--strictness 1-10] [--seed S] [--windows] [--junit FILE] [--json FILE]`: proves
// a module sound against the host interface, each check in a process of its own (see Checks.h).
#ifndef ZZ_APPS_VALIDATE_VALIDATE_COMMAND_H
#define ZZ_APPS_VALIDATE_VALIDATE_COMMAND_H

#include <ostream>
#include <string>
#include <vector>

namespace zz {

// `args` are the words after "validate"; without MODULE the module is `defaultModule`. Returns 0 when every
// check passed, 1 when one failed (or the checks could not be run), 2 for bad arguments.
int runValidateCommand(const std::vector<std::string>& args, const std::string& defaultModule,
                       std::ostream& out, std::ostream& err);

} // namespace zz

#endif
