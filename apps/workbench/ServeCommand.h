// zigzag serve: the workbench, where a person draws with the tool in a browser.
#ifndef ZZ_APPS_WORKBENCH_SERVE_COMMAND_H
#define ZZ_APPS_WORKBENCH_SERVE_COMMAND_H

#include <ostream>
#include <string>
#include <vector>

namespace zz {

// zigzag serve [--port N] [--host ADDR] [--module PATH] [--drag-timeout MS] [--dialog-timeout MS]
// [--token-file FILE] [--documents DIR] (`zigzag serve --help` says what each does): serves until
// interrupted. 0 when it stopped on an interrupt (or printed the help), 1 when the module or the port failed,
// 2 for bad arguments or a bad token file.
int runServeCommand(const std::vector<std::string>& args, const std::string& defaultModule, std::ostream& out,
                    std::ostream& err);

} // namespace zz

#endif
