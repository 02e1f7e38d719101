// The options dialog of the zigzag tool.
#ifndef ZZ_DIALOG_OPTIONS_DIALOG_H
#define ZZ_DIALOG_OPTIONS_DIALOG_H

#include "ADMDialog.h"

// The dialog's init procedure: builds the items from the settings record.
SPErr SPAPI initOptionsDialog(ADMDialogRef dialog);

#endif
