#include "dialog/OptionsDialog.h"

// The options pages are not built yet: the dialog opens as its template leaves it, with no items.
SPErr SPAPI initOptionsDialog(ADMDialogRef) {
    return kSPNoError;
}
