// What the command line knows of the tool's options dialog is what every front end knows of it.
#ifndef ZZ_APPS_CLI_TOOL_DIALOG_H
#define ZZ_APPS_CLI_TOOL_DIALOG_H

#include "apps/script/ToolDialog.h"

#endif
