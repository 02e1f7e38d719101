// "zigzag draw": one drag with the zigzag tool, as a user would make it, written as an SVG picture.
#ifndef ZZ_APPS_CLI_DRAW_COMMAND_H
#define ZZ_APPS_CLI_DRAW_COMMAND_H

#include <ostream>
#include <string>
#include <vector>

// `args` are the words after "draw": the options `zigzag draw --help` lists (declareOptions in
// DrawCommand.cpp), among them --to X,Y where the drag ends and -o OUT.svg, both required, and --preset N,
// the entry of the options dialog's preset popup chosen and confirmed with OK before the drag. The module at
// `modulePath` is started, the preset chosen, the settings applied, the drag played (mouse down, the drag
// events, mouse up), the document written to OUT.svg and the module shut down. Returns 0 (also after printing
// the help for --help); 2 with a message naming the argument on `err` for a bad argument; 1 when the module
// cannot run or the picture cannot be written. A tool message that fails, or a preset the dialog refuses, is
// reported on `err` (the picture is still written) and gives 1.
int runDrawCommand(const std::vector<std::string>& args, const std::string& modulePath, std::ostream& out,
                   std::ostream& err);

#endif
