// What the front ends know of the tool's options dialog: the popup list in which it offers its presets, the
// buttons that show its pages with the labels under them, and its two design lists. The host's dialog manager
// and script runner know no item of any plug-in; only the front ends, which name these for the user, do.
#ifndef ZZ_APPS_SCRIPT_TOOL_DIALOG_H
#define ZZ_APPS_SCRIPT_TOOL_DIALOG_H

#include <cstdint>

namespace zz {

inline constexpr int32_t kPresetPopup = 3;
// Page P (1 to 7) is shown by button kFirstPageButton + P - 1; the page's name is the label kFirstPageLabel +
// P - 1 under it, which the dialog sets in bold while the page is shown.
inline constexpr int32_t kFirstPageButton = 300;
inline constexpr int32_t kFirstPageLabel = 307;
inline constexpr int32_t kPageCount = 7;
// The lists of the designs of the zigzag's first and second elements ("Link Zigzag 2 to 1" ties them).
inline constexpr int32_t kDesignList1 = 5;
inline constexpr int32_t kDesignList2 = 6;

// The swatch count of the document in which `zigzag presets`, `zigzag dialog` and the workbench's preset
// notes open the dialog: its swatch index fields range from 0 to the document's swatch count, and every index
// the presets choose lies within this many.
inline constexpr int32_t kDialogDocumentSwatches = 32;

} // namespace zz

#endif
