#include "apps/script/DialogChoices.h"

#include "ADMDialog.h"
#include "apps/script/Session.h"

namespace zz {

using nlohmann::json;
using nlohmann::ordered_json;

json chooseAndConfirmEvent(int32_t popup, int32_t entry) {
    return json{{"do", "editOptions"},
                {"actions", json::array({json{{"item", popup}, {"select", entry}},
                                         json{{"item", kADMDefaultItemID}, {"click", true}}})}};
}

SessionPlayer moduleSessions(const std::string& modulePath, const json& document) {
    return [modulePath, document](const json& script, std::string* error) {
        SessionError problem;
        json inDocument = script;
        inDocument["document"] = document;
        ordered_json report = runSession(inDocument, modulePath, &problem);
        if (report.is_null() && error != nullptr) *error = problem.message;
        return report;
    };
}

std::vector<SettingChange> settingsDiff(const ordered_json& before, const ordered_json& after) {
    std::vector<SettingChange> changes;
    if (!after.is_object()) return changes;
    for (const auto& [field, value] : after.items()) {
        const ordered_json old =
            before.is_object() && before.contains(field) ? before[field] : ordered_json();
        if (old != value) changes.push_back(SettingChange{field, old, value});
    }
    return changes;
}

bool listChoices(const SessionPlayer& play, int32_t popup, std::vector<ChoiceEffect>* choices,
                 std::string* error) {
    const json startup = json{{"do", "startup"}};
    const ordered_json base = play(json{{"events", json::array({startup})}}, error);
    if (base.is_null()) return false;
    const ordered_json opened =
        play(json{{"events", json::array({startup, json{{"do", "editOptions"}}})}}, error);
    if (opened.is_null()) return false;

    const std::string key = std::to_string(popup);
    const ordered_json& dialogs = opened["dialogs"];
    if (dialogs.empty() || !dialogs[0]["lists"].contains(key)) {
        if (error != nullptr)
            *error = dialogs.empty() ? "the module opened no dialog"
                                     : "the dialog \"" + dialogs[0]["name"].get<std::string>() +
                                           "\" has no popup list " + key;
        return false;
    }
    choices->clear();
    for (const ordered_json& entry : dialogs[0]["lists"][key]) {
        ChoiceEffect choice;
        choice.id = entry["id"].get<int32_t>();
        choice.text = entry["text"].get<std::string>();
        const ordered_json chosen =
            play(json{{"events", json::array({startup, chooseAndConfirmEvent(popup, choice.id)})}}, error);
        if (chosen.is_null()) return false;
        const ordered_json& refused = chosen["dialogs"][0]["refused"];
        if (!refused.empty()) choice.refused = refused[0]["reason"].get<std::string>();
        choice.changes = settingsDiff(base["settings"], chosen["settings"]);
        choices->push_back(std::move(choice));
    }
    return true;
}

std::string describeChanges(const std::vector<SettingChange>& changes) {
    if (changes.empty()) return "no change";
    std::string text;
    for (const SettingChange& change : changes) {
        if (!text.empty()) text += ", ";
        text += change.field + " " + change.before.dump() + " -> " + change.after.dump();
    }
    return text;
}

} // namespace zz
