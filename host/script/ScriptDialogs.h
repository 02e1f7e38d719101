// The scripted user's part in dialogs, and what the report shows of them.
#ifndef ZZ_HOST_SCRIPT_SCRIPT_DIALOGS_H
#define ZZ_HOST_SCRIPT_SCRIPT_DIALOGS_H

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "host/dialogs/DialogDriver.h"

namespace zz {

// Plays a script event's dialog actions. For now a script says one thing of a dialog: the item that ends it.
// The first dialog an event opens ends with the item the event names; any other dialog (an error dialog
// after it, say) ends with its default item, 1.
class ScriptDialogDriver : public DialogDriver {
  public:
    // The item that ends the first dialog the next event opens.
    void beginEvent(int32_t close) { close_ = close; }
    void run(DialogModel& model, AdmDialog& dialog) override;

  private:
    std::optional<int32_t> close_;
};

// A modal dialog as the report shows it.
struct DialogRecord {
    std::string name;
    int32_t resource = 0;
    int32_t result = -1;
    std::map<int32_t, std::string> items; // item id -> text after the init procedure
};

// Records every modal dialog in the order they were opened: its items' texts as first shown (items sharing
// an id, such as unnamed labels, joined with a line break) and the item that ended it.
class DialogRecorder : public DialogObserver {
  public:
    void opened(std::string_view name, int32_t resource) override;
    void shown(const AdmDialog& dialog) override;
    void ended(int32_t result) override;
    const std::vector<DialogRecord>& records() const { return records_; }

  private:
    std::vector<DialogRecord> records_;
    std::vector<std::size_t> open_; // indexes of the records of the dialogs open now, innermost last
};

} // namespace zz

#endif
