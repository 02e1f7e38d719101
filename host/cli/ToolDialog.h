// What the command line knows of the tool's options dialog is what every front end knows of it.
#ifndef ZZ_HOST_CLI_TOOL_DIALOG_H
#define ZZ_HOST_CLI_TOOL_DIALOG_H

#include "host/script/ToolDialog.h"

#endif
