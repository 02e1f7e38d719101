// "zigzag dialog": a picture of one page of the tool's options dialog, drawn from the host's dialog model.
#ifndef ZZ_APPS_CLI_DIALOG_COMMAND_H
#define ZZ_APPS_CLI_DIALOG_COMMAND_H

#include <ostream>
#include <string>
#include <vector>

// `args` are the words after "dialog": --page P (1 to 7), optionally --preset N, --module PATH and the
// document options, and -o OUT.svg (`zigzag dialog --help` lists them). Starts the module, opens the options
// dialog, chooses preset N (when given) and shows page P as a user would, and writes the dialog as it then
// looks. Returns 0; 1 when the module cannot run, the dialog refuses the choice or the picture cannot be
// written; 2 for bad arguments; 0 after the help for --help.
int runDialogCommand(const std::vector<std::string>& args, const std::string& modulePath, std::ostream& out,
                     std::ostream& err);

#endif
