// What the command line knows of the tool's options dialog: the popup list in which it offers its presets,
// and the buttons that show its pages. The host's dialog manager and script runner know no item of any
// plug-in; only these front ends, which name a preset for the user, do.
#ifndef ZZ_HOST_CLI_TOOL_DIALOG_H
#define ZZ_HOST_CLI_TOOL_DIALOG_H

#include <cstdint>

namespace zz {

inline constexpr int32_t kPresetPopup = 3;
// Page P (1 to 7) is shown by button kFirstPageButton + P - 1.
inline constexpr int32_t kFirstPageButton = 300;
inline constexpr int32_t kPageCount = 7;

// The swatch count of the document in which `zigzag presets` and `zigzag dialog` open the dialog: its swatch
// index fields range from 0 to the document's swatch count, and every index the presets choose lies within
// this many.
inline constexpr int32_t kDialogDocumentSwatches = 32;

} // namespace zz

#endif
