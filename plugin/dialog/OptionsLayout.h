// The options dialog's items and lists as data, shared by the init procedure, the notifiers, the OK step and
// the preset popup.
#ifndef ZZ_PLUGIN_DIALOG_OPTIONS_LAYOUT_H
#define ZZ_PLUGIN_DIALOG_OPTIONS_LAYOUT_H

#include <cstdint>

#include "ADMDialog.h"
#include "ADMItem.h"
#include "plugin/settings/ToolSettings.h"

enum class ItemKind : int8_t { IntSpin, FloatSpin, Label, CheckBox, Popup, ListBox, Button, PageButton };

// The entry lists of the popups and list boxes.
enum class EntryList : int8_t {
    None,
    Preset,
    Design,
    FillColor,
    StrokeColor,
    Pattern,
    RepeatColor,
    WeavePlace
};

constexpr int32_t kPageCount = 7;
constexpr int32_t kFirstPageButton = 300;
constexpr int32_t kFirstPageLabel = 307;
constexpr int32_t kPresetPopupItem = 3;
constexpr int32_t kElementsItem = 4;
constexpr int32_t kDesignList1Item = 5;
constexpr int32_t kDesignList2Item = 6;
constexpr int32_t kReflectionsItem = 30;
constexpr int32_t kLinkItem = 80;
constexpr int32_t kFillColorItem = 240;
constexpr int32_t kStrokeColorItem = 243;
constexpr int32_t kDesignEntryHeight = 40;

// One item of the dialog. Spin edits, check boxes and lists are bound to one field of the record: an integer
// field (flags and list indexes too) or, for float spin edits, a float field.
struct ItemLayout {
    int32_t id = 0;
    ItemKind kind = ItemKind::Label;
    int8_t page = 0; // 1 to 7, or 0 for the items shown on every page
    ADMRect rect{};
    const char* text = nullptr; // labels, check boxes and push buttons
    int32_t ToolSettings::*intField = nullptr;
    float ToolSettings::*floatField = nullptr;
    float minimum = 0.0f, maximum = 0.0f; // spin edits
    bool maximumIsSwatchCount = false;
    int8_t decimals = 0; // 0: the host's own
    EntryList entries = EntryList::None;
    bool entriesAtCreation = false; // popups filled while they are made; the others once all items exist
    ADMItemNotifyProc notifier = nullptr; // installed while the item is made
};

// Every item in the order the init procedure makes them.
extern const ItemLayout kOptionsItems[];
extern const int32_t kOptionsItemCount;

// The row of item `id`, or null.
const ItemLayout* itemLayout(int32_t id);

// The host's type name of an item kind.
const char* itemTypeName(ItemKind kind);

// The items of page `page` (1 to 7) in the order they are shown or hidden.
struct PageMembers {
    const int32_t* ids;
    int32_t count;
};
PageMembers pageMembers(int32_t page);

// The entry texts of a list (the design lists take theirs from the design table instead).
struct EntryTexts {
    const char* const* texts;
    int32_t count;
};
EntryTexts entryTexts(EntryList list);

// Inserts the entries of `list` into the item's list, each with the id of its position (and for the design
// lists its picture).
void fillEntries(ADMItemRef item, EntryList list);
// Selects the entry at `position` of the item's list; nothing when there is none.
void selectEntryAt(ADMItemRef item, int32_t position);
// The number of entries of a list; their ids run from 0 to one less.
int32_t entryCount(EntryList list);
// How reading the active entry of a list went: an entry of the list is active, none is, or the host gave an
// id that is none of the list's (a read that failed).
enum class EntryRead : int8_t { Found, NoneActive, Failed };
// Reads the id of the active entry of the item's list into `id`, which keeps its value unless one is found.
EntryRead readActiveEntry(ADMItemRef item, EntryList list, int32_t& id);
// The id of the active entry of the item's list, or `fallback` when none is found.
int32_t activeEntryID(ADMItemRef item, EntryList list, int32_t fallback);

// The number of swatches the open dialog gives its swatch index fields as their largest value, set by the
// init procedure.
extern int32_t optionsSwatchCount;
// The largest value the dialog lets the row's spin edit take.
double itemMaximum(const ItemLayout& row);

// Shows the row's field in its item: the value of a spin edit or check box, the entry of a list.
void showField(ADMItemRef item, const ItemLayout& row, const ToolSettings& settings);
// Reads the row's item back into its field. The field keeps its value when there is no item or the value read
// lies outside what the item can hold (a spin edit's range, a check box's 0 and 1, the ids of a list): the
// host clamps every value into the item's range, so such a value is a read that failed, not the user's.
void readField(ADMItemRef item, const ItemLayout& row, ToolSettings& settings);

#endif
