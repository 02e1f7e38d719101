// The scripted user's part in dialogs, and what the report shows of them.
#ifndef ZZ_APPS_SCRIPT_SCRIPT_DIALOGS_H
#define ZZ_APPS_SCRIPT_SCRIPT_DIALOGS_H

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "ADMDialog.h"
#include "host/dialogs/DialogDriver.h"
#include "host/dialogs/DialogModel.h"

namespace zz {

// One thing a script's user does in a dialog.
struct DialogAction {
    enum class Kind { Value, Select, Click };
    Kind kind = Kind::Click;
    int32_t item = 0;
    double value = 0.0; // Value: the number typed, or 1 / 0 for a check box ticked or cleared
    int32_t entry = 0;  // Select: the id of the entry chosen
};

// Plays a script event's dialog actions. The first dialog an event opens gets the event's actions, played in
// order (an action after the dialog has ended is not played), and then, unless they ended it, the event's
// closing item is clicked. Any other dialog (an error dialog after it, say) ends with its default item, 1.
// What the actions did goes to the observer, when there is one.
class ScriptDialogDriver : public DialogDriver {
  public:
    // The actions and the closing item of the first dialog the next event opens.
    void beginEvent(int32_t close, std::vector<DialogAction> actions = {}) {
        close_ = close;
        actions_ = std::move(actions);
    }
    void setObserver(DialogObserver* observer) { observer_ = observer; }
    void run(DialogModel& model, AdmDialog& dialog) override;
    // The event's first dialog was not shown: its actions are reported as not played.
    void notShown() override;

  private:
    std::optional<int32_t> close_;
    std::vector<DialogAction> actions_;
    DialogObserver* observer_ = nullptr;
};

// One item's state as a snapshot keeps it.
struct ItemState {
    int32_t id = 0;
    std::string type;
    ADMRect rect{};
    std::string text;
    bool hasValue = false; // spin edits and check boxes
    ValueKind valueKind = ValueKind::None;
    double value = 0.0;
    std::optional<double> min, max;
    int32_t precision = -1;
    bool visible = true;
    bool enabled = true;
    int32_t font = 0;
    bool focus = false;
    bool isList = false;
    std::optional<int32_t> active; // the active entry's id
    std::string activeText;
    int32_t entries = 0;
};

// The dialog's items after the init procedure (`after` empty) or after an action.
struct DialogSnapshot {
    std::optional<std::size_t> after;
    std::vector<ItemState> items; // by id, items sharing an id in creation order
};

struct EntryRecord {
    int32_t id = 0;
    std::string text;
    int32_t picture = 0;
};

// A modal dialog as the report shows it.
struct DialogRecord {
    std::string name;
    int32_t resource = 0;
    int32_t result = -1;
    std::map<int32_t, std::string> items;              // item id -> text after the init procedure
    std::map<int32_t, std::vector<EntryRecord>> lists; // popups and list boxes after the init procedure
    std::vector<DialogSnapshot> snapshots;
    std::vector<std::pair<std::size_t, std::string>> refused; // action index, why it was not done
    nlohmann::json view; // the dialog as it last stood, in the one form for drawing it (DialogView.h)
};

// Records every modal dialog in the order they were opened: its items' texts as first shown (items sharing
// an id, such as unnamed labels, joined with a line break), the entries of its lists, a snapshot of every
// item after the init procedure and after each action, the actions refused, the item that ended it, and its
// view as it last stood.
class DialogRecorder : public DialogObserver {
  public:
    void opened(std::string_view name, int32_t resource) override;
    void shown(const AdmDialog& dialog) override;
    void acted(const AdmDialog& dialog, std::size_t action, std::string_view refusal) override;
    void skipped(std::size_t action, std::string_view reason) override;
    void ended(int32_t result) override;
    const std::vector<DialogRecord>& records() const { return records_; }

  private:
    std::vector<DialogRecord> records_;
    std::vector<std::size_t> open_; // indexes of the records of the dialogs open now, innermost last
};

} // namespace zz

#endif
