// Session scripts: a JSON list of events that the host plays against a plug-in module, and the JSON report of
// what the plug-in did. The contract is documented for users in the notes on `zigzag run`.
#ifndef ZZ_APPS_SCRIPT_SESSION_H
#define ZZ_APPS_SCRIPT_SESSION_H

#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "host/core/ToolSession.h"
#include "host/document/DocumentFixtures.h"
#include "apps/script/ScriptDialogs.h"

namespace zz {

struct SessionError {
    enum class Kind {
        None,
        Script, // the script is malformed or asks for something impossible at that point
        Module, // the module cannot be loaded
        Runtime // the host failed to do what the script asked (for example writing an export)
    };
    Kind kind = Kind::None;
    std::string message;
};

// Checks a script without running it. The message names the event by index and "do", and the field.
std::optional<std::string> checkScript(const nlohmann::json& script);

// The document a script's "document" object describes (one that checkScript accepted): colour model, page,
// swatches, named styles and the paint new art takes.
DocumentFacts documentFacts(const nlohmann::json& document);
// A colour model by its name in a script: "gray", "cmyk", or "rgb" (also for any other name).
int16_t colorModelNamed(const std::string& name);

// Plays the events of a checked script, one at a time, on a tool session whose document and module are set
// up, as `zigzag run` does: its dialog driver plays each event's dialog actions while it lives.
class EventPlayer {
  public:
    explicit EventPlayer(ToolSession& session);
    ~EventPlayer();
    EventPlayer(const EventPlayer&) = delete;
    EventPlayer& operator=(const EventPlayer&) = delete;

    ScriptDialogDriver& dialogs() { return dialogs_; }
    // Plays one event; its message's status (when it sends one) in *result. False with the reason (naming
    // the event by `index`) in *error.
    bool play(std::size_t index, const nlohmann::json& event, std::optional<int64_t>* result,
              SessionError* error);
    // Where the pointer was last: the point of the last event that gave one.
    AIRealPoint cursor() const { return cursor_; }

  private:
    ToolInput toolInput(const nlohmann::json& event);
    // Plays an event that is not one plain message of the module's; false with the reason in *failure.
    bool playOther(const std::string& name, const nlohmann::json& event, std::optional<int64_t>* result,
                   SessionError* failure);

    ToolSession& session_;
    ScriptDialogDriver dialogs_;
    AIRealPoint cursor_{0.0f, 0.0f};
};

// Plays `script` against the module at `modulePath` in a fresh host. Returns the report; on an error returns
// null and says why in *error (when given).
nlohmann::ordered_json runSession(const nlohmann::json& script, const std::string& modulePath,
                                  SessionError* error);

// What a played script leaves besides its report: each event's result (none for host-side events), the
// actions the dialogs refused with the reasons, in order, and the art on the layer: how many objects, and how
// many of them are paths. It holds nothing of the art itself. Each dialog opened is there as it last stood,
// in the order opened (DialogView.h).
struct SessionOutcome {
    std::vector<std::optional<int64_t>> results;
    std::vector<std::string> refusals;
    std::vector<nlohmann::json> dialogs;
    std::size_t artObjects = 0;
    std::size_t paths = 0;
};

// Plays `script` as runSession does, for a caller that needs no report. Nothing, with the reason in *error
// (when given), on an error.
std::optional<SessionOutcome> playSession(const nlohmann::json& script, const std::string& modulePath,
                                          SessionError* error);

// Plays `script` and streams the report into `out` as it is produced (no final newline). False, with nothing
// written, on an error.
bool runSessionTo(std::ostream& out, const nlohmann::json& script, const std::string& modulePath,
                  SessionError* error);

// A script's text as JSON; on a syntax error, or a number beyond the range of a double, null with a Script
// error that names the place (the event by index and "do", and the field).
std::optional<nlohmann::json> parseScript(const std::string& text, SessionError* error);

// As runSession, from the script's text (which must be a JSON object).
nlohmann::ordered_json runSessionText(const std::string& text, const std::string& modulePath,
                                      SessionError* error);

} // namespace zz

#endif
