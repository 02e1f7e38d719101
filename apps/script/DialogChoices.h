// What each entry of a dialog's popup list does when a user chooses it and confirms with OK: the entries are
// read from the dialog as the module builds it, and each is played in a fresh session and its settings
// compared with those after start-up.
#ifndef ZZ_APPS_SCRIPT_DIALOG_CHOICES_H
#define ZZ_APPS_SCRIPT_DIALOG_CHOICES_H

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

namespace zz {

// The "editOptions" event of a user who chooses the entry with id `entry` of popup `popup` and clicks OK.
nlohmann::json chooseAndConfirmEvent(int32_t popup, int32_t entry);

struct SettingChange {
    std::string field;
    nlohmann::ordered_json before, after;
};

struct ChoiceEffect {
    int32_t id = 0;
    std::string text;
    std::vector<SettingChange> changes; // fields in record order
    std::string refused;                // why the dialog refused an action, when it did
};

// Plays a script and returns its report (null with the reason in *error). runSession by default.
using SessionPlayer = std::function<nlohmann::ordered_json(const nlohmann::json& script, std::string* error)>;
// Plays each script against the module at `modulePath` in `document` (a script's "document" object).
SessionPlayer moduleSessions(const std::string& modulePath,
                             const nlohmann::json& document = nlohmann::json::object());

// The settings fields that differ between two settings reports, in record order.
std::vector<SettingChange> settingsDiff(const nlohmann::ordered_json& before,
                                        const nlohmann::ordered_json& after);

// The entries of popup `popup` of the dialog that "AI Edit Options" opens after start-up and, for each, the
// settings that choosing it and clicking OK change against those after start-up alone. False with the reason
// (the module cannot run, the dialog has no such popup).
bool listChoices(const SessionPlayer& play, int32_t popup, std::vector<ChoiceEffect>* choices,
                 std::string* error);

// A choice's changes as one line, as `zigzag presets` prints them: "field before -> after, ..." in record
// order, or "no change".
std::string describeChanges(const std::vector<SettingChange>& changes);

} // namespace zz

#endif
